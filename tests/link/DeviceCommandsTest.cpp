#include "link/DeviceCommands.h"

#include "support/EmulatedModule.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

using namespace std::chrono_literals;
using emulator::EmulatorSettings;
using emulator::Fault;
using emulator::ReplyKind;
using test::EmulatedModule;
using Bytes = std::vector<std::uint8_t>;

EmulatorSettings withFault(Fault fault)
{
    EmulatorSettings settings;
    settings.faults.push_back(fault);
    return settings;
}

TEST(ReadConfigurationTest, ReceivesAllPairsInOrderAndLeavesTheTrailingBytes)
{
    EmulatorSettings settings;
    settings.configuration[1] = 99;
    settings.configuration[50] = 1;
    EmulatedModule m(settings);

    std::array<std::int16_t, kLocationCount> values{};
    std::vector<int> progress;
    const ReadPassResult result =
        readConfigurationPass(m.link, values, [&](int location) { progress.push_back(location); });

    EXPECT_TRUE(result.complete());
    EXPECT_EQ(m.port.written(), (Bytes{253, 252}));
    for (int location = 0; location < kLocationCount; ++location) {
        EXPECT_EQ(values[location], m.module.configuration()[location]) << location;
    }
    EXPECT_EQ(progress.size(), 51U);
    EXPECT_EQ(progress.back(), 50);
    m.settle();
    EXPECT_EQ(m.port.bytesPending(), 3);
}

TEST(ReadConfigurationTest, WrongLocationNumberAbandonsThePassThere)
{
    // Location 7's number is at position 14 of the reply.
    EmulatedModule m(withFault({Fault::Kind::Replace, ReplyKind::ReadConfiguration, 14, 8}));
    std::array<std::int16_t, kLocationCount> values{};
    values.fill(-1);

    EXPECT_EQ(readConfigurationPass(m.link, values).failedLocation, 7);
    EXPECT_EQ(values[6], m.module.configuration()[6]);
    EXPECT_EQ(values[7], -1);

    // The fault hit one reply only: after draining, the next pass is clean.
    m.settle();
    m.link.dropPending();
    EXPECT_TRUE(readConfigurationPass(m.link, values).complete());
}

TEST(ReadConfigurationTest, ReplyShiftedByOneByteFailsAtTheStart)
{
    EmulatedModule m(withFault({Fault::Kind::Insert, ReplyKind::ReadConfiguration, 0, 0}));
    std::array<std::int16_t, kLocationCount> values{};
    const auto failed = readConfigurationPass(m.link, values).failedLocation;
    ASSERT_TRUE(failed.has_value());
    EXPECT_LE(*failed, 1);
}

// A location number that does not come is none: the pass fails at once,
// with nothing taken for location 0.
TEST(ReadConfigurationTest, SilentModuleFailsAtLocationZeroAfterOneTimeout)
{
    EmulatorSettings settings;
    settings.silent = true;
    EmulatedModule m(settings);
    std::array<std::int16_t, kLocationCount> values{};
    values.fill(-1);
    const auto start = m.clock.now();

    EXPECT_EQ(readConfigurationPass(m.link, values).failedLocation, 0);
    EXPECT_EQ(values[0], -1);
    EXPECT_EQ(m.clock.now() - start, kReceiveTimeout);
}

TEST(StoreConfigurationTest, EveryLocationIsAcknowledgedWithItsNumber)
{
    EmulatedModule m;
    beginStore(m.link);
    for (int location = 0; location < kLocationCount; ++location) {
        const auto value = static_cast<std::uint8_t>(200 - location);
        EXPECT_EQ(storeLocation(m.link, value), Received(static_cast<std::uint8_t>(location)));
    }
    Bytes expected{253, 254};
    for (int location = 0; location < kLocationCount; ++location) {
        expected.push_back(static_cast<std::uint8_t>(200 - location));
        EXPECT_EQ(m.module.configuration()[location], 200 - location);
    }
    EXPECT_EQ(m.port.written(), expected);
    // One byte follows the last acknowledgement.
    EXPECT_TRUE(m.link.receiveByte().hasValue());
    EXPECT_FALSE(m.link.receiveByte().hasValue());
}

TEST(StoreConfigurationTest, WrongAndMissingAcknowledgementsComeBackAsReceived)
{
    EmulatedModule wrong(withFault({Fault::Kind::Replace, ReplyKind::StoreConfiguration, 6, 5}));
    beginStore(wrong.link);
    for (int location = 0; location < 6; ++location) {
        EXPECT_EQ(storeLocation(wrong.link, 1), location);
    }
    EXPECT_EQ(storeLocation(wrong.link, 1), Received(5));

    EmulatorSettings silent;
    silent.silent = true;
    EmulatedModule quiet(silent);
    beginStore(quiet.link);
    EXPECT_FALSE(storeLocation(quiet.link, 1).hasValue());
}

TEST(IdentifyTest, ReturnsTheFiveIdentityBytesAndLeavesTheReadyMarker)
{
    EmulatorSettings settings;
    settings.deviceId1 = 7;
    settings.deviceId2 = 3;
    settings.yearOfRelease = 9;
    settings.firmwareVersion = 12;
    settings.capabilities = 1;
    EmulatedModule m(settings);

    const auto reply = identify(m.link);
    EXPECT_EQ(m.port.written(), (Bytes{253, 85}));
    EXPECT_EQ(reply, (std::array<Received, 5>{Received(7), Received(3), Received(9), Received(12),
                                              Received(1)}));
    EXPECT_EQ(m.link.receiveByte(), Received(kReadyMarker));
}

TEST(FactoryResetTest, ReceivesUntilTheReadyMarkerAndResetsTheModule)
{
    EmulatorSettings settings;
    settings.resetOnIdentify = true;
    settings.configuration[1] = 200;
    EmulatedModule m(settings);

    EXPECT_TRUE(factoryReset(m.link));
    EXPECT_EQ(m.port.written(), (Bytes{253, 85}));
    EXPECT_EQ(m.module.configuration(), emulator::factoryDefaults());
    EXPECT_EQ(m.port.bytesPending(), 0);
}

TEST(FactoryResetTest, GivesUpAfterTheBoundWhenNoReadyMarkerComes)
{
    // Position 5 of the identify reply is the ready marker.
    EmulatedModule m(withFault({Fault::Kind::Drop, ReplyKind::Identify, 5}));
    const auto start = m.clock.now();
    EXPECT_FALSE(factoryReset(m.link));
    // Five identity bytes, then 95 receives that time out.
    EXPECT_EQ(m.clock.now() - start, 95 * kReceiveTimeout);
}

TEST(TestConfigurationTest, ModuleLeavesConfigurationModeAndStartsSending)
{
    EmulatorSettings settings;
    settings.configuration[6] = 11;
    settings.configuration[7] = 22;
    settings.configuration[8] = 33;
    EmulatedModule m(settings);

    startTestConfiguration(m.link);
    EXPECT_EQ(m.port.written(), (Bytes{253, 250}));
    EXPECT_FALSE(m.module.inConfigurationMode());
    Bytes packet;
    for (int i = 0; i < 5; ++i) {
        packet.push_back(static_cast<std::uint8_t>(m.link.awaitByte().toNumber()));
    }
    EXPECT_EQ(packet, (Bytes{254, 11, 22, 33, 0}));
}

TEST(ReadAnalogInputsTest, DropsStaleInputAndReceivesSevenReadings)
{
    EmulatorSettings settings;
    settings.analogReadings = {0, 51, 128, 255, 1, 25, 75};
    EmulatedModule m(settings);
    // A leftover identify reply is pending before the request.
    identify(m.link);
    m.settle();

    const auto readings = readAnalogInputs(m.link);
    ASSERT_TRUE(readings.has_value());
    EXPECT_EQ(m.port.written(), (Bytes{253, 85, 253, 100}));
    for (int channel = 0; channel < kAnalogChannelCount; ++channel) {
        EXPECT_EQ((*readings)[channel], Received(settings.analogReadings[channel]));
    }
}

TEST(ReadAnalogInputsTest, ReplyWithoutReadyMarkerGivesNothing)
{
    EmulatedModule m(withFault({Fault::Kind::Replace, ReplyKind::ReadAnalog, 0, 253}));
    EXPECT_FALSE(readAnalogInputs(m.link).has_value());

    EmulatorSettings silent;
    silent.silent = true;
    EmulatedModule quiet(silent);
    EXPECT_FALSE(readAnalogInputs(quiet.link).has_value());
}

} // namespace
} // namespace vindle
