#include "core/ModuleEmulator.h"

#include "link/DeviceCommands.h"
#include "support/EmulatedModule.h"

#include <algorithm>
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
    m.link.sendByte(253);
    m.link.sendByte(252);
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
        m.link.sendByte(byte);
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
    m.link.dropPending();
    // A read after the pause is taken as a command, not as values.
    m.link.sendByte(253);
    m.link.sendByte(252);
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
        m.link.sendByte(253);
        m.link.sendByte(85);
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
    m.link.sendByte(253);
    m.link.sendByte(100);
    EXPECT_EQ(m.port.bytesPending(), 0);
    m.clock.advance(5ms);
    EXPECT_EQ(m.port.bytesPending(), 1);
    m.settle();
    EXPECT_EQ(m.clock.now() - start, 8 * 5ms);
    EXPECT_EQ(m.port.bytesPending(), 8);
}

TEST(ModuleEmulatorTest, ALatencyTimerHoldsTheReplyUntilItsNextTick)
{
    EmulatorSettings settings;
    settings.latencyTimer = 16ms;
    EmulatedModule m(settings);
    m.clock.advance(5ms);
    m.link.sendByte(253);
    m.link.sendByte(85);
    const auto tick = m.module.nextDue();
    ASSERT_TRUE(tick.has_value());
    EXPECT_EQ(tick->time_since_epoch() % 16ms, 0ms);
    EXPECT_LE(*tick - m.clock.now(), 16ms);
    m.clock.set(*tick - 1us);
    EXPECT_EQ(m.port.bytesPending(), 0);
    m.clock.set(*tick);
    EXPECT_EQ(m.port.bytesPending(), 6);
}

TEST(ModuleEmulatorTest, DisconnectSilencesTheModuleForGood)
{
    EmulatorSettings settings;
    settings.disconnectAfterBytes = 3;
    settings.bitRate = 10000;
    EmulatedModule m(settings);
    m.link.sendByte(253);
    m.link.sendByte(85);
    EXPECT_TRUE(m.module.disconnected());
    // The module dies in the middle of its reply: what it sent before still
    // arrives at its time on the line, nothing after it.
    EXPECT_EQ(m.port.bytesPending(), 0);
    EXPECT_EQ(takeAll(m), (Bytes{17, 4, 26}));
    m.link.sendByte(253);
    m.link.sendByte(100);
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
    m.link.dropPending();
    m.link.sendByte(253);
    m.link.sendByte(252);
    m.clock.advance(1ms);
    EXPECT_EQ(m.port.bytesPending(), 0);
}

TEST(ModuleEmulatorTest, ARunningModuleFailsEveryReadAndShowsItsTraffic)
{
    const std::size_t banks = 2;
    const struct
    {
        RunningTraffic traffic;
        Bytes head; // what every packet starts with, before one data byte per bank
    } cases[] = {{RunningTraffic::HeaderAndKeys, {254, 11, 12, 13}},
                 {RunningTraffic::Header, {254}},
                 {RunningTraffic::Plain, {}}};
    for (const auto& [traffic, head] : cases) {
        SCOPED_TRACE(static_cast<int>(traffic));
        EmulatorSettings settings;
        settings.startRunning = true;
        settings.runningTraffic = traffic;
        settings.runningPacketsPerSecond = 10;
        settings.configuration[0] = banks;
        settings.configuration[6] = 11;
        settings.configuration[7] = 12;
        settings.configuration[8] = 13;
        EmulatedModule m(settings);
        EXPECT_FALSE(m.module.inConfigurationMode());

        std::array<std::int16_t, kLocationCount> values{};
        for (int pass = 0; pass < 6; ++pass) {
            EXPECT_FALSE(readConfigurationPass(m.link, values).complete());
        }
        startTestConfiguration(m.link);
        m.link.dropPending();

        // What the data monitor receives from now on: whole packets.
        const std::size_t size = head.size() + banks;
        Bytes seen;
        while (seen.size() < 2 * size) {
            seen.push_back(static_cast<std::uint8_t>(m.link.awaitByte().toNumber()));
        }
        for (std::size_t packet = 0; packet < 2; ++packet) {
            const auto start = seen.begin() + static_cast<std::ptrdiff_t>(packet * size);
            EXPECT_TRUE(std::equal(head.begin(), head.end(), start));
            EXPECT_EQ(start[head.size()], start[head.size() + 1]); // every bank alike
        }
        EXPECT_NE(seen[head.size()], seen[size + head.size()]); // the inputs change
    }
}

TEST(ModuleEmulatorTest, RunningTrafficNeverOutrunsTheLineNorPilesUp)
{
    EmulatorSettings settings;
    settings.startRunning = true;
    settings.runningPacketsPerSecond = 1000;
    settings.bitRate = 9600; // 960 bytes a second: 192 packets of five bytes
    EmulatedModule m(settings);
    m.port.bytesPending(); // the module's traffic starts when it is first looked at

    m.clock.advance(100ms);
    const int inATenth = m.port.bytesPending();
    EXPECT_GE(inATenth, 85);
    EXPECT_LE(inATenth, 96);

    // Nobody reads for a long time: the packets that do not fit are lost, at once.
    m.clock.advance(std::chrono::hours(1000));
    const int afterHours = m.port.bytesPending();
    EXPECT_LE(afterHours, static_cast<int>(ModuleEmulator::kMaxQueuedRunningBytes));
    EXPECT_EQ(afterHours % 5, 0);
    m.link.dropPending();
    m.clock.advance(100ms);
    EXPECT_LE(m.port.bytesPending(), 96);
    EXPECT_EQ(m.port.takeByte(), 254); // still whole packets
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
