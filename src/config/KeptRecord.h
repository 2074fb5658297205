#pragma once

#include "config/ConfigurationRecord.h"
#include "config/Identity.h"

#include <optional>
#include <utility>
#include <vector>

namespace vindle {

// What a configuration keeps of a record put into it, worked out on the
// record alone: each location's value as its field takes it, the option
// rules, the ordering of each analog channel's limits and the module's
// capability flags. The windows hold the same after a read of that record.

// An analog channel's limits once ordered, the lower never above the upper:
// an upper limit below the lower one is raised to just above it, and a lower
// limit at the top of the range makes room for the upper one.
std::pair<int, int> orderedLimits(int lower, int upper);

struct KeptRecord
{
    // The bytes a store would send.
    ConfigurationRecord record;
    // The locations whose value no field takes (a slider position outside
    // its range), in order; each keeps the value it started with.
    std::vector<int> rejected;
};

// `record` put into a configuration that holds the values a configuration
// starts with, as a read puts it: every location but the frequency twice over
// (the rules the first pass sets off still see some choices that were there
// before, and may take a value away that the second puts back), the rules,
// the frequency, then the module's `capabilities` when known.
KeptRecord keepRecord(const ConfigurationRecord& record,
                      const std::optional<CapabilityFlags>& capabilities);

// The values a configuration starts with, before any record is put in.
ConfigurationRecord startingRecord();

// True when `record` sends output somewhere: serial-to-parallel mode, or a
// device chosen for RS-232 or one of the two transmitters.
bool sendsSomeOutput(const ConfigurationRecord& record);

} // namespace vindle
