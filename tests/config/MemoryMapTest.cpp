#include "config/MemoryMap.h"

#include "config/ConfigurationRecord.h"
#include "config/Identity.h"
#include "core/EmulatorSettings.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace vindle {
namespace {

TEST(MemoryMapTest, ReadLimitsAreExactlyTheOptionAndSquelchLocations)
{
    const std::map<int, int> expected{{9, 2},  {10, 4}, {11, 1}, {12, 2}, {14, 12},
                                      {15, 9}, {16, 3}, {17, 3}, {18, 1}, {20, 2},
                                      {21, 6}, {22, 1}, {24, 20}};
    std::map<int, int> actual;
    for (const LocationInfo& info : memoryMap()) {
        if (info.readLimit) {
            actual[info.location] = *info.readLimit;
        }
    }
    EXPECT_EQ(actual, expected);
}

TEST(MemoryMapTest, WindowRejectsOnlyValuesOutsideTheSliderRanges)
{
    // For each location, the received bytes (after the read limit) that its
    // control cannot take.
    std::map<int, std::set<int>> expected;
    for (int byte = 33; byte <= 255; ++byte) {
        expected[0].insert(byte);
    }
    for (int location : {2, 3, 4}) {
        expected[location].insert(255);
    }
    for (int location : {13, 19, 23}) {
        expected[location].insert(0);
    }

    std::map<int, std::set<int>> actual;
    for (const LocationInfo& info : memoryMap()) {
        for (int byte = 0; byte <= 255; ++byte) {
            ConfigurationRecord record;
            record.values[info.location] = static_cast<std::int16_t>(byte);
            record.applyReadLimits();
            if (windowRejects(info, record[info.location])) {
                actual[info.location].insert(byte);
            }
        }
    }
    EXPECT_EQ(actual, expected);
}

TEST(MemoryMapTest, ReadLimitsReplaceOnlyValuesAboveThem)
{
    ConfigurationRecord record;
    record.values.fill(255);
    record.values[15] = 200;
    record.values[10] = 3;
    record.applyReadLimits();
    EXPECT_EQ(record[15], 9);
    EXPECT_EQ(record[24], 20);
    EXPECT_EQ(record[10], 3);
    EXPECT_EQ(record[11], 1);
    EXPECT_EQ(record[13], 255); // not limited: the slider rejects it instead
    EXPECT_EQ(record[39], 255);
}

TEST(MemoryMapTest, BankSlidersSitOneAboveTheStoredByte)
{
    const LocationInfo& rsBank = locationInfo(2);
    EXPECT_EQ(rsBank.control, "RSBank");
    EXPECT_EQ(sliderPositionFor(rsBank, 0), 1);
    EXPECT_EQ(sliderPositionFor(rsBank, 254), 255);
    EXPECT_EQ(sliderPositionFor(locationInfo(1), 25), 25);
}

TEST(MemoryMapTest, ArraysCoverTheirLocationsByIndex)
{
    for (int channel = 0; channel < 7; ++channel) {
        EXPECT_EQ(locationInfo(25 + 2 * channel).control, "SetLowerLimit");
        EXPECT_EQ(locationInfo(25 + 2 * channel).index, channel);
        EXPECT_EQ(locationInfo(26 + 2 * channel).control, "SetUpperLimit");
        EXPECT_EQ(locationInfo(26 + 2 * channel).index, channel);
    }
    for (int input = 0; input < 8; ++input) {
        EXPECT_EQ(locationInfo(41 + input).control, "MotionMin");
        EXPECT_EQ(locationInfo(41 + input).index, input);
    }
    EXPECT_EQ(locationInfo(6).index, 0);
    EXPECT_EQ(locationInfo(8).index, 2);
}

TEST(MemoryMapTest, EmulatorFactoryDefaultsDecodeWithoutRecovery)
{
    const auto defaults = emulator::factoryDefaults();
    for (const LocationInfo& info : memoryMap()) {
        const int byte = defaults[info.location];
        if (info.readLimit) {
            EXPECT_LE(byte, *info.readLimit) << info.location;
        }
        EXPECT_FALSE(windowRejects(info, byte)) << info.location;
        if (info.encoding == Encoding::DecimalText) {
            EXPECT_GE(byte, info.minimum) << info.location;
        }
    }
}

TEST(IdentityTest, FiveReplyBytesInOrder)
{
    const Identity identity =
        Identity::fromReply({Received(7), Received(3), Received(9), Received(12), Received(6)});
    EXPECT_EQ(identity.deviceId1.toText(), "7");
    EXPECT_EQ(identity.deviceId2.toText(), "3");
    EXPECT_EQ(identity.yearOfRelease.toText(), "9");
    EXPECT_EQ(identity.firmwareVersion.toText(), "12");
    EXPECT_EQ(identity.capabilities().reportedSenders(), (std::vector<int>{1, 2}));
}

TEST(IdentityTest, CapabilityFlags)
{
    EXPECT_TRUE(CapabilityFlags(0).reportedSenders().empty());
    EXPECT_FALSE(CapabilityFlags(0).hasInputBankAlways());
    EXPECT_EQ(CapabilityFlags(1).reportedSenders(), std::vector<int>{0});
    EXPECT_TRUE(CapabilityFlags(16).hasInputBankAlways());
    EXPECT_TRUE(CapabilityFlags(16).reportedSenders().empty());
    // Bit 3 and bits 5 to 7 mean nothing.
    EXPECT_TRUE(CapabilityFlags(0xE8).reportedSenders().empty());
    EXPECT_FALSE(CapabilityFlags(0xE8).hasInputBankAlways());

    // A capability byte that never came counts as no capability at all.
    const Identity silent = Identity::fromReply({});
    EXPECT_EQ(silent.capabilities().bits(), 0);
    EXPECT_EQ(silent.deviceId1.toText(), "");
}

} // namespace
} // namespace vindle
