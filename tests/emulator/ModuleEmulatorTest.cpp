#include "core/ModuleEmulator.h"

#include "link/DeviceCommands.h"
#include "support/EmulatedModule.h"

#include <gtest/gtest.h>

namespace vindle::emulator {
namespace {

using namespace std::chrono_literals;
using test::EmulatedModule;
using Bytes = std::vector<std::uint8_t>;

Bytes takeAll(EmulatedModule& m)
{
    m.settle();
    Bytes bytes;
    while (m.port.bytesPending() > 0) {
        bytes.push_back(m.port.takeByte());
    }
    return bytes;
}

TEST(ModuleEmulatorTest, ReadReplyIsPairsThenThreeTrailingBytes)
{
    EmulatedModule m;
    m.link.PutI(253);
    m.link.PutI(252);
    const Bytes reply = takeAll(m);
    ASSERT_EQ(reply.size(), 105U);
    for (int location = 0; location < kLocationCount; ++location) {
        EXPECT_EQ(reply[2 * location], location);
        EXPECT_EQ(reply[2 * location + 1], factoryDefaults()[location]);
    }
}

TEST(ModuleEmulatorTest, IgnoresNoiseAndUnknownCommands)
{
    EmulatedModule m;
    for (std::uint8_t byte : {1, 252, 253, 7, 85, 253, 253, 100}) {
        m.link.PutI(byte);
    }
    // Only the final 253, 253, 100 forms a command: the A/D reply.
    EXPECT_EQ(takeAll(m).size(), 8U);
}

TEST(ModuleEmulatorTest, AbandonedStoreTimesOutBackToCommands)
{
    EmulatedModule m;
    beginStore(m.link);
    storeLocation(m.link, 9);
    m.clock.advance(2s);
    m.link.DumpBuffer();
    // A read after the pause is taken as a command, not as values.
    m.link.PutI(253);
    m.link.PutI(252);
    EXPECT_EQ(takeAll(m).size(), 105U);
    EXPECT_EQ(m.module.configuration()[0], 9);
    EXPECT_EQ(m.module.configuration()[1], factoryDefaults()[1]);
}

TEST(ModuleEmulatorTest, FaultsHitAsManyRepliesAsAsked)
{
    EmulatorSettings settings;
    settings.faults.push_back({Fault::Kind::Drop, ReplyKind::Identify, 0, 0, 2});
    EmulatedModule m(settings);
    for (int i = 0; i < 3; ++i) {
        m.link.PutI(253);
        m.link.PutI(85);
    }
    EXPECT_EQ(takeAll(m).size(), 5U + 5U + 6U);
}

TEST(ModuleEmulatorTest, BytesArePacedByBitRateAndDelay)
{
    EmulatorSettings settings;
    settings.bitRate = 10000; // one millisecond per byte
    settings.byteDelay = 4ms;
    EmulatedModule m(settings);
    const auto start = m.clock.now();
    m.link.PutI(253);
    m.link.PutI(100);
    EXPECT_EQ(m.port.bytesPending(), 0);
    m.clock.advance(5ms);
    EXPECT_EQ(m.port.bytesPending(), 1);
    m.settle();
    EXPECT_EQ(m.clock.now() - start, 8 * 5ms);
    EXPECT_EQ(m.port.bytesPending(), 8);
}

TEST(ModuleEmulatorTest, DisconnectSilencesTheModuleForGood)
{
    EmulatorSettings settings;
    settings.disconnectAfterBytes = 3;
    settings.bitRate = 10000;
    EmulatedModule m(settings);
    m.link.PutI(253);
    m.link.PutI(85);
    EXPECT_TRUE(m.module.disconnected());
    // The module dies in the middle of its reply: what it sent before still
    // arrives at its time on the line, nothing after it.
    EXPECT_EQ(m.port.bytesPending(), 0);
    EXPECT_EQ(takeAll(m), (Bytes{17, 4, 26}));
    m.link.PutI(253);
    m.link.PutI(100);
    EXPECT_EQ(takeAll(m).size(), 0U);
    EXPECT_FALSE(m.module.nextDue());
}

TEST(ModuleEmulatorTest, RunningModeSendsPacketsAtTheConfiguredRate)
{
    EmulatorSettings settings;
    settings.runningPacketsPerSecond = 10;
    settings.configuration[0] = 2; // two input banks: two data bytes a packet
    EmulatedModule m(settings);
    startTestConfiguration(m.link);
    m.clock.advance(250ms);
    // Two packets of 254, three keys and two data bytes.
    EXPECT_EQ(m.port.bytesPending(), 12);
    // The module no longer answers commands.
    m.link.DumpBuffer();
    m.link.PutI(253);
    m.link.PutI(252);
    m.clock.advance(1ms);
    EXPECT_EQ(m.port.bytesPending(), 0);
}

TEST(ModuleEmulatorTest, VaryingReadingsChangeBetweenRequests)
{
    EmulatorSettings settings;
    settings.varyAnalogReadings = true;
    EmulatedModule m(settings);
    const auto first = readAnalogInputs(m.link);
    const auto second = readAnalogInputs(m.link);
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
}

} // namespace
} // namespace vindle::emulator
