#pragma once

#include "config/ConfigurationRecord.h"
#include "config/Identity.h"

#include <optional>
#include <string>
#include <vector>

namespace vindle {

class ConfigWindows;

// How a read puts a record into the windows, in its steps, so that opening a
// file takes the same path.

// Writes every location but the frequency into its control, twice over (the
// option rules the first writes set off may take a value away that the
// second puts back). The location the windows cannot take, if any.
std::optional<int> decodeRecord(ConfigWindows& windows, const ConfigurationRecord& record);

// Writes the frequency, which must follow the option rules' run on the rest.
void decodeFrequency(ConfigWindows& windows, const ConfigurationRecord& record);

// Lets the transmitter options and the least input bank count follow what
// the module is fitted with, then runs the option rules.
void applyCapabilities(ConfigWindows& windows, const CapabilityFlags& capabilities);

// A location whose value the windows did not keep, and what they hold now.
struct UnkeptValue
{
    int location;
    int wanted;
    int held;
};

// Puts `record` into the windows as a read does, for a module fitted with
// `capabilities`; sends nothing. Returns the locations whose values the
// windows hold differently now (a transmitter this module lacks, a choice
// the option rules do not allow), or throws ConfigurationFileError when a
// value cannot be shown at all.
std::vector<UnkeptValue> putRecord(ConfigWindows& windows, const ConfigurationRecord& record,
                                   const CapabilityFlags& capabilities);

// The message that names the values putRecord could not keep.
std::string unkeptValuesMessage(const std::vector<UnkeptValue>& unkept);

} // namespace vindle
