#pragma once

#include "config/ConfigurationRecord.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vindle {

struct Identity;

// The identity of the module a configuration was read from; a byte that did
// not arrive is unknown.
struct ModuleIdentityRecord
{
    std::optional<int> deviceId1, deviceId2, year, firmware, capabilities;

    friend bool operator==(const ModuleIdentityRecord&, const ModuleIdentityRecord&) = default;
};

// A configuration file: the module's identity and its 51 values.
struct ConfigurationFileContents
{
    ModuleIdentityRecord module;
    ConfigurationRecord record;
    // A note for people; written only when there is one.
    std::string comment;
};

// A configuration file that cannot be used. The message is for the user: it
// names the key or location and what is wrong with it.
class ConfigurationFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

ModuleIdentityRecord moduleIdentityRecord(const Identity& identity);

// A configuration is about 3 KB: a file larger than this is no configuration.
inline constexpr long long kLargestConfigurationFile = 1024 * 1024;
// Why a file larger than that is not read; `file` names it.
std::string tooLargeFileMessage(std::string_view file);

// The keys of the module's identity in a file, in the order they are written,
// and the field each one is kept in.
struct ModuleIdentityKey
{
    std::string_view key;
    std::optional<int> ModuleIdentityRecord::*field;
};
inline constexpr std::array<ModuleIdentityKey, 5> kModuleIdentityKeys{{
    {"device_id_1", &ModuleIdentityRecord::deviceId1},
    {"device_id_2", &ModuleIdentityRecord::deviceId2},
    {"year", &ModuleIdentityRecord::year},
    {"firmware", &ModuleIdentityRecord::firmware},
    {"capabilities", &ModuleIdentityRecord::capabilities},
}};

// A file saved from another kind of module than the one connected: the
// modules' device identifier 1 (their kind) differs.
struct OtherModule
{
    int fileDeviceId1;
    int connectedDeviceId1;

    friend bool operator==(const OtherModule&, const OtherModule&) = default;
};
// None when either identifier is unknown or they agree.
std::optional<OtherModule> otherModule(const ModuleIdentityRecord& file,
                                       const ModuleIdentityRecord& connected);
// "This file was saved from another kind of Vindle Module (...) than the one
// connected (...)."
std::string otherModuleText(const OtherModule& other);
// The windows' message: the text and what to do.
std::string otherModuleMessage(const OtherModule& other);

// The message for a location whose value the windows cannot show.
std::string cannotShowMessage(int location, int value);

// Checks every part of the text before any of it is used; throws
// ConfigurationFileError at the first thing wrong.
ConfigurationFileContents parseConfigurationFile(std::string_view text);

// The file's text: indented JSON, the locations in numeric order, each with
// its item text from the memory map.
std::string formatConfigurationFile(const ConfigurationFileContents& contents);

// A configuration file's text as its contents, or why it is none (the
// message names the key or location that is wrong).
struct ParsedFile
{
    std::optional<ConfigurationFileContents> contents;
    std::string error;
};
ParsedFile parseConfigurationText(std::string_view text);

} // namespace vindle
