#include "config/KeptRecord.h"

#include "config/Configuration.h"
#include "config/MemoryMap.h"
#include "program/LocationControls.h"
#include "program/RecordDecoding.h"
#include "program/StoreValues.h"
#include "ui/main/ConfigWindows.h"
#include "ui/main/RulesSweep.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace vindle {
namespace {

// A value a read can hand over for `info`: within its read limit, often at
// an edge of its field's range.
int someValue(const LocationInfo& info, std::mt19937& random)
{
    const int top = info.readLimit.value_or(255);
    const int edges[] = {0, 1, info.minimum, info.maximum, top - 1, top};
    if (std::uniform_int_distribution<int>(0, 2)(random) == 0)
        return std::clamp(edges[std::uniform_int_distribution<int>(0, 5)(random)], 0, top);
    return std::uniform_int_distribution<int>(0, top)(random);
}

// Records put into fresh windows as a read puts them, before and after a
// module's flags, against what the record alone keeps: the same bytes and
// the same values turned away.
TEST(KeptRecordTest, TheRecordAloneKeepsWhatTheWindowsHold)
{
    std::mt19937 random(20261210);
    int disagreements = 0;
    for (int round = 0; round < 1500 && disagreements < 5; ++round) {
        ConfigurationRecord record;
        for (const LocationInfo& info : memoryMap())
            atIndex(record.values, info.location) =
                static_cast<std::int16_t>(someValue(info, random));
        std::optional<CapabilityFlags> capabilities;
        if (round % 3 != 0)
            capabilities = CapabilityFlags(
                static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 31)(random)));

        ConfigWindows windows;
        const std::vector<int> rejected = decodeRecord(windows, record);
        ConfigWindows again;
        putRecord(again, record, capabilities);
        const KeptRecord kept = keepRecord(record, capabilities);
        const ConfigurationRecord held = storeValues(again).record;

        std::string differences;
        for (int location = 0; location < kLocationCount; ++location) {
            if (held[location] != kept.record[location])
                differences += " " + std::to_string(location) + ": " +
                               std::to_string(held[location]) + " not " +
                               std::to_string(kept.record[location]) + ";";
        }
        if (rejected != kept.rejected)
            differences += " the values turned away differ;";
        if (!differences.empty()) {
            ++disagreements;
            std::string values;
            for (int location = 0; location < kLocationCount; ++location)
                values += std::to_string(record[location]) + " ";
            ADD_FAILURE() << "record " << values << "flags "
                          << (capabilities ? std::to_string(static_cast<int>(capabilities->bits()))
                                           : "none")
                          << ":" << differences;
        }
    }
}

// Every choice of the sweep, then records put in and fields typed into, with
// texts that are no byte among them: the copy the controls write through is
// what a store would take from the controls themselves.
TEST(KeptRecordTest, TheWrittenThroughCopyIsWhatTheControlsHold)
{
    std::mt19937 random(7);
    int steps = 0;
    std::string first;
    const auto check = [&](ConfigWindows& windows, Configuration& configuration,
                           const std::string& after) {
        const StoreValues held = storeValues(windows);
        const StoreValues copy = configuration.toStore();
        ++steps;
        if (first.empty() &&
            (held.record.values != copy.record.values ||
             held.refusedLocation != copy.refusedLocation || held.refusal != copy.refusal))
            first = after;
    };
    forEachChoice([&](const Choice& choice) {
        ConfigWindows windows;
        Configuration configuration;
        LocationBinding binding(windows, configuration);
        binding.bind(windows.mainWindow());
        windows.onWindowCreated([&binding](Window& window) { binding.bind(window); });
        windows.Rules();
        for (const auto& [location, value] : choiceSteps(choice)) {
            choose(windows.mainWindow(), location, value);
            check(windows, configuration, describe(choice));
        }
        if (random() % 8 != 0)
            return;
        ConfigurationRecord record;
        for (const LocationInfo& info : memoryMap())
            atIndex(record.values, info.location) =
                static_cast<std::int16_t>(someValue(info, random));
        putRecord(windows, record, CapabilityFlags(static_cast<std::uint8_t>(random() % 32)));
        check(windows, configuration, "a record put in");
        const std::string texts[] = {"7", "x", "300", "", "0"};
        windows.mainWindow().Keys(1).setText(texts[random() % 5]);
        windows.motionTimes().MotionMin(3).setText(texts[random() % 5]);
        windows.limiter().LimitMode(5).select();
        windows.mainWindow().ADBITS().click();
        check(windows, configuration, "fields typed into");
    });
    EXPECT_GT(steps, 0);
    EXPECT_TRUE(first.empty()) << "the copy differs after " << first;
}

} // namespace
} // namespace vindle
