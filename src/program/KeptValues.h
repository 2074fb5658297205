#pragma once

#include "config/ConfigurationHolder.h"
#include "config/ConfigurationRecord.h"
#include "program/ConfigurationFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vindle {

// What a configuration does not keep of a record, and how that is said.

// What the windows would make of `record` before any module's flags apply,
// worked out on the record alone: the values they would not keep, and
// whether a store would send output anywhere. A store of `record` as it is
// needs neither.
struct RecordCheck
{
    std::vector<UnkeptValue> unkept;
    bool sendsOutput = true;
};
RecordCheck checkRecord(const ConfigurationRecord& record);

// Why the file `name` with `record` cannot be stored into any module as it
// is (a value the windows would store otherwise, no output configured), or
// empty: what a store of a file decides before any port is opened.
std::optional<std::string> storeRefusal(const std::string& name, const ConfigurationRecord& record);

// What a list of values not kept says the windows hold instead of the file's.
enum class UnkeptWording
{
    Now,        // "\nLocation 9 (...): 2 in the file, 0 now."
    WouldStore, // "\n    location 9 (...): the file holds 2, which the windows would store as 0"
    ThisModule, // "\n    location 9 (...): the file holds 2, this module 0"
};
// The values not kept, a line each, every line begun with its line break.
std::string unkeptValuesLines(const std::vector<UnkeptValue>& unkept, UnkeptWording wording);
// The message that names the values a configuration could not keep.
std::string unkeptValuesMessage(const std::vector<UnkeptValue>& unkept);

// A value the module sent that the windows changed on the way in (`wanted`
// the module's, `held` the windows'): "location 10 (mode of operation): the
// module holds 9, which the windows make 4".
std::string changedValueText(const UnkeptValue& changed);
// The read's message that lists them.
std::string changedValuesMessage(const std::vector<UnkeptValue>& changed);

// A file to store into modules as it is, or why it cannot be (then no
// contents): its text is no configuration, or the windows would store
// something else (storeRefusal). The refusal begins with `name`.
struct FileToStore
{
    std::optional<ConfigurationFileContents> contents;
    std::string refusal;
};
FileToStore fileToStore(const std::string& name, std::string_view text);

} // namespace vindle
