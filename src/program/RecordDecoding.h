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

} // namespace vindle
