#pragma once

#include "config/ConfigurationRecord.h"
#include "config/Identity.h"
#include "program/ProcedureResults.h"

#include <optional>
#include <string>
#include <vector>

namespace vindle {

class ConfigWindows;

// How a read puts a record into the windows, in its steps, so that opening a
// file takes the same path.

// Writes every location but the frequency into its control, twice over (the
// option rules the first writes set off may take a value away that the
// second puts back). A location whose value the windows cannot take is
// skipped, its control keeping what it held; the locations skipped, in order.
std::vector<int> decodeRecord(ConfigWindows& windows, const ConfigurationRecord& record);

// Writes the frequency, which must follow the option rules' run on the rest.
void decodeFrequency(ConfigWindows& windows, const ConfigurationRecord& record);

// Lets the transmitter options and the least input bank count follow what
// the module is fitted with, then runs the option rules.
void applyCapabilities(ConfigWindows& windows, const CapabilityFlags& capabilities);

// Puts `record` into the windows as a read does, for a module fitted with
// `capabilities` (none: before any module's flags apply); sends nothing.
// Returns the locations whose values the windows hold differently now (a
// value they cannot show, a transmitter this module lacks, a choice the
// option rules do not allow).
std::vector<UnkeptValue> putRecord(ConfigWindows& windows, const ConfigurationRecord& record,
                                   const std::optional<CapabilityFlags>& capabilities);

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
// The message that names the values putRecord could not keep.
std::string unkeptValuesMessage(const std::vector<UnkeptValue>& unkept);

// A value the module sent that the windows changed on the way in (`wanted`
// the module's, `held` the windows'): "location 10 (mode of operation): the
// module holds 9, which the windows make 4".
std::string changedValueText(const UnkeptValue& changed);
// The read's message that lists them.
std::string changedValuesMessage(const std::vector<UnkeptValue>& changed);

} // namespace vindle
