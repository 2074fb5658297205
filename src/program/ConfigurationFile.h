#pragma once

#include "config/ConfigurationRecord.h"

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
};

// A configuration file that cannot be used. The message is for the user: it
// names the key or location and what is wrong with it.
class ConfigurationFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

ModuleIdentityRecord moduleIdentityRecord(const Identity& identity);

// The message for a location whose value the windows cannot show.
std::string cannotShowMessage(int location, int value);

// Checks every part of the text before any of it is used; throws
// ConfigurationFileError at the first thing wrong.
ConfigurationFileContents parseConfigurationFile(std::string_view text);

// The file's text: indented JSON, the locations in numeric order, each with
// its item text from the memory map.
std::string formatConfigurationFile(const ConfigurationFileContents& contents);

} // namespace vindle
