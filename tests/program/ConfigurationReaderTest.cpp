#include "program/ConfigurationReader.h"

#include "program/LocationControls.h"
#include "support/ProgramOnEmulator.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

using emulator::EmulatorSettings;
using emulator::Fault;
using emulator::ReplyKind;
using test::ProgramOnEmulator;
using Bytes = std::vector<std::uint8_t>;

const Bytes kRead{253, 252};
const Bytes kIdentify{253, 85};
const Bytes kTestConfiguration{253, 250};

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

EmulatorSettings with(std::initializer_list<std::pair<int, std::uint8_t>> values)
{
    EmulatorSettings settings;
    for (const auto& [location, value] : values)
        settings.configuration[location] = value;
    return settings;
}

// What the windows would store for every location.
std::array<int, kLocationCount> shown(ConfigWindows& windows)
{
    std::array<int, kLocationCount> values{};
    for (const LocationInfo& info : memoryMap())
        values[info.location] = readLocation(windows, info).value_or(-1);
    return values;
}

std::array<int, kLocationCount> expected(const emulator::Configuration& configuration)
{
    std::array<int, kLocationCount> values{};
    for (int i = 0; i < kLocationCount; ++i)
        values[i] = configuration[i];
    return values;
}

TEST(ConfigurationReaderTest, GoodReadTakesOnePassAndFillsEveryWindow)
{
    auto settings = with({{1, 77},
                          {2, 254},
                          {13, 9},
                          {15, 8},
                          {24, 20},
                          {25, 10},
                          {26, 200},
                          {39, 5},
                          {41, 3},
                          {49, 1},
                          {50, 1},
                          {5, 12},
                          {7, 250}});
    ProgramOnEmulator run(settings);
    run.program.ReadSettings_Click();

    EXPECT_EQ(run.sent(), kRead + kIdentify);
    EXPECT_TRUE(run.dialogs.messages.empty());
    EXPECT_EQ(shown(run.program.windows()), expected(settings.configuration));
    EXPECT_TRUE(run.main.isVisible());
    EXPECT_TRUE(run.main.isEnabled());
    EXPECT_TRUE(run.main.ReadSettings().isEnabled());
    EXPECT_FALSE(run.program.progress().isVisible());
    EXPECT_EQ(run.program.progress().Level().value(), 50);
    EXPECT_EQ(run.main.ADBITS().caption(), "8-BIT");
}

TEST(ConfigurationReaderTest, ReadLimitsAndLooseEncodings)
{
    // 11 above its limit; 40 any nonzero value; 49 outside 0 and 1; 50 only bit 0.
    ProgramOnEmulator run(with({{11, 7}, {15, 200}, {24, 255}, {40, 5}, {49, 2}, {50, 3}}));
    run.program.ReadSettings_Click();
    // What a store would write instead is said, location by location.
    ASSERT_EQ(run.dialogs.messages.size(), 1U);
    const std::string& said = run.dialogs.messages[0];
    for (const char* change :
         {"\nLocation 11 (A/D resolution): the module holds 7, which the windows make 1.",
          "\nLocation 24 (A/D squelch): the module holds 255, which the windows make 20.",
          "the module holds 5, which the windows make 1.",
          "the module holds 3, which the windows make 1."})
        EXPECT_NE(said.find(change), std::string::npos) << change << "\n" << said;
    EXPECT_EQ(run.main.ADBITS().caption(), "10-BIT");
    EXPECT_TRUE(run.main.Baud().isSelected(9));
    EXPECT_EQ(run.program.windows().advanced().ADSquelch().value(), 20);
    EXPECT_EQ(run.main.MotionInputs().value(), CheckBox::kChecked);
    EXPECT_TRUE(run.program.windows().motionTimes().Method().isSelected(0));
    EXPECT_TRUE(run.main.NCNO().isSelected(1));
}

TEST(ConfigurationReaderTest, WrongLocationNumberStartsAFreshPass)
{
    EmulatorSettings settings;
    settings.faults.push_back({Fault::Kind::Replace, ReplyKind::ReadConfiguration, 14, 8});
    ProgramOnEmulator run(settings);
    run.program.ReadSettings_Click();
    EXPECT_EQ(run.sent(), kRead + kRead + kIdentify);
    EXPECT_TRUE(run.dialogs.messages.empty());
}

// At 38400 bit/s most of a reply is still on its way when its first byte is
// found wrong; the next pass must not start on what is left of it.
TEST(ConfigurationReaderTest, AnAbandonedReplyIsLetRunOutBeforeTheNextPass)
{
    for (const int position : {0, 50}) {
        EmulatorSettings settings;
        settings.bitRate = 38400;
        settings.faults.push_back(
            {Fault::Kind::Replace, ReplyKind::ReadConfiguration, position, 99});
        ProgramOnEmulator run(settings);
        run.program.ReadSettings_Click();
        EXPECT_EQ(run.sent(), kRead + kRead + kIdentify) << "fault at " << position;
        EXPECT_TRUE(run.dialogs.messages.empty()) << "fault at " << position;
    }
}

TEST(ConfigurationReaderTest, SixFailedPassesHandOverToTheMonitorOnce)
{
    EmulatorSettings settings;
    settings.silent = true;
    settings.runningPacketsPerSecond = 0;
    ProgramOnEmulator run(settings);
    run.program.start();

    EXPECT_EQ(run.sent(), kRead + kRead + kRead + kRead + kRead + kRead + kTestConfiguration);
    EXPECT_EQ(run.dialogs.messages,
              std::vector<std::string>{ConfigurationReader::kNoCommunication});
    EXPECT_TRUE(run.program.monitor().isVisible());
    EXPECT_FALSE(run.main.isVisible());
    EXPECT_FALSE(run.program.progress().isVisible());
    EXPECT_TRUE(run.program.hasEnded());
}

TEST(ConfigurationReaderTest, UnshowableValueResetsTheModuleAndReadsAgain)
{
    auto settings = with({{13, 0}});
    settings.resetOnIdentify = true;
    ProgramOnEmulator run(settings);
    run.program.ReadSettings_Click();

    EXPECT_EQ(run.sent(), kRead + kIdentify + kRead + kIdentify);
    EXPECT_EQ(run.dialogs.messages,
              std::vector<std::string>{ConfigurationReader::kRecoveryMessage});
    EXPECT_EQ(run.main.Interval().value(), emulator::factoryDefaults()[13]);
    EXPECT_TRUE(run.main.FactoryDefaults().isEnabled());
    EXPECT_TRUE(run.main.isEnabled());
}

// Values that still do not fit after the one recovery of a read cost only
// their own locations: everything else is read, shown and stored back as the
// module holds it, and nothing of the reply is left to shift the next exchange.
TEST(ConfigurationReaderTest, ValuesThatDoNotFitAfterTheRecoveryCostOnlyTheirLocations)
{
    // The module does not reset on identify: 19 and 23 stay 0.
    EmulatorSettings settings;
    for (int location = 21; location <= 38; ++location)
        settings.configuration[location] = static_cast<std::uint8_t>(location < 25 ? 1 : location);
    settings.configuration[19] = 0;
    settings.configuration[23] = 0;
    ProgramOnEmulator run(settings);
    run.program.ReadSettings_Click();

    EXPECT_EQ(run.sent(), kRead + kIdentify + kRead + kIdentify);
    EXPECT_EQ(
        run.dialogs.messages,
        (std::vector<std::string>{ConfigurationReader::kRecoveryMessage,
                                  ConfigurationReader::unshowableMessage({{19, 0}, {23, 0}})}));
    EXPECT_NE(run.dialogs.messages[1].find("Location 19"), std::string::npos);
    EXPECT_TRUE(run.main.isEnabled());
    EXPECT_TRUE(run.main.FactoryDefaults().isEnabled());

    run.program.GetVersion_Click();
    EXPECT_EQ(run.main.VDAT2(0).caption(), std::to_string(settings.deviceId1));
    run.program.StoreSettings_Click();
    EXPECT_EQ(run.dialogs.messages.size(), 2U);
    for (int location = 0; location < kLocationCount; ++location) {
        if (location != 19 && location != 23) {
            EXPECT_EQ(run.m.module.configuration()[location], settings.configuration[location])
                << "location " << location;
        }
    }
}

TEST(ConfigurationReaderTest, CapabilityFlagsOverruleTheTransmitterLocation)
{
    struct Case
    {
        std::uint8_t flags;
        int selected;
        std::array<bool, 3> enabled;
        int bankMinimum;
    };
    for (const Case c :
         {Case{0, 1, {false, false, false}, 0}, Case{1, 0, {true, false, false}, 0},
          Case{6, 2, {false, true, true}, 0}, Case{16, 1, {false, false, false}, 1}}) {
        SCOPED_TRACE(int{c.flags});
        auto settings = with({{9, 1}});
        settings.capabilities = c.flags;
        ProgramOnEmulator run(settings);
        run.program.ReadSettings_Click();
        EXPECT_TRUE(run.main.Senders().isSelected(c.selected));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(run.main.Senders().option(i).isEnabled(), c.enabled[i]) << i;
        EXPECT_EQ(run.main.DInputs().minimum(), c.bankMinimum);
        EXPECT_EQ(run.main.DInputs().value(), c.bankMinimum);
    }
}

// Ranges that the windows narrowed for what they showed before never turn a
// valid value away, and never lose it.
TEST(ConfigurationReaderTest, NarrowedRangesDoNotRejectOrLoseValues)
{
    ProgramOnEmulator run(with({{10, 1}}));
    const auto readAgain = [&run](std::initializer_list<std::pair<int, std::uint8_t>> values,
                                  std::uint8_t flags) {
        auto settings = with(values);
        settings.capabilities = flags;
        run.plugIn(settings);
        run.program.ReadSettings_Click();
    };

    // Mode 1 leaves DInputs at maximum 0; a module with capability bit 4 at minimum 1.
    run.program.ReadSettings_Click();
    EXPECT_EQ(run.main.DInputs().maximum(), 0);
    readAgain({{10, 1}}, 16);
    EXPECT_EQ(run.main.DInputs().value(), 0);
    // A mode-0 module with five banks, read while mode 1 is selected.
    readAgain({{0, 5}}, 16);
    EXPECT_EQ(run.main.DInputs().value(), 5);
    EXPECT_EQ(run.main.DInputs().minimum(), 1);
    // Without capability bit 4 after a module with it: 0 banks is valid again.
    readAgain({}, 1);
    EXPECT_EQ(run.main.DInputs().value(), 0);
    EXPECT_EQ(run.main.DInputs().minimum(), 0);
    EXPECT_TRUE(run.dialogs.messages.empty());
}

} // namespace
} // namespace vindle
