#include "program/ConfigurationStore.h"

#include "config/ByteText.h"
#include "program/OptionEncoders.h"
#include "program/StoreValues.h"
#include "support/ProgramOnEmulator.h"

#include <functional>
#include <gtest/gtest.h>

namespace vindle {
namespace {

using emulator::EmulatorSettings;
using emulator::Fault;
using emulator::ReplyKind;
using test::ProgramOnEmulator;
using Bytes = std::vector<std::uint8_t>;

Bytes storeStream(const emulator::Configuration& values, std::size_t count = kLocationCount)
{
    Bytes bytes{253, 254};
    bytes.insert(bytes.end(), values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count));
    return bytes;
}

// Start-up, then a store: the path every user takes.
TEST(ConfigurationStoreTest, StoreAfterStartUpSendsWhatTheWindowsShow)
{
    EmulatorSettings settings;
    settings.configuration[10] = 1; // mode 1 opens the limiter
    settings.configuration[14] = 2;
    // Paced: the ready marker after the identity is still on its way when
    // the store begins.
    settings.bitRate = 38400;
    ProgramOnEmulator run(settings);
    run.program.start();
    const std::size_t readBytes = run.sent().size();

    run.main.Debounce().setValue(40);
    run.program.windows().limiter().SetUpperLimit(3).setValue(99);
    run.main.Keys(1).setText("2.5");
    run.program.windows().motionTimes().MotionMin(7).setText("17");
    run.program.StoreSettings_Click();

    emulator::Configuration expected = settings.configuration;
    expected[1] = 40;
    expected[32] = 99;
    expected[7] = 2; // a half goes to the even neighbour
    expected[48] = 17;
    EXPECT_EQ(run.sent(readBytes), storeStream(expected));
    EXPECT_EQ(run.m.module.configuration(), expected);
    EXPECT_TRUE(run.dialogs.messages.empty());
    EXPECT_EQ(run.program.progress().Level().value(), 50);
    EXPECT_FALSE(run.program.progress().isVisible());
    EXPECT_TRUE(run.main.isEnabled());
    EXPECT_TRUE(run.main.StoreSettings().isEnabled());
    run.m.settle();
    EXPECT_EQ(run.m.port.bytesPending(), 0); // the trailing byte was taken
}

// A whole store leaves nothing to wait for: a read pressed right after it
// sends its command at once (a store cut short would make it wait for the
// module's store time-out).
TEST(ConfigurationStoreTest, AReadRightAfterAWholeStoreStartsAtOnce)
{
    ProgramOnEmulator run;
    run.program.ReadSettings_Click();
    run.program.StoreSettings_Click();
    ASSERT_TRUE(run.dialogs.messages.empty());
    const auto stored = run.m.clock.now();
    const std::size_t before = run.sent().size();
    std::optional<Clock::TimePoint> readSent;
    const auto yield = run.m.pump.onYield;
    run.m.pump.onYield = [&] {
        if (!readSent && run.sent().size() > before)
            readSent = run.m.clock.now();
        yield();
    };
    run.program.ReadSettings_Click();
    ASSERT_TRUE(readSent);
    EXPECT_LT(*readSent - stored, kReplyOverGap);
}

TEST(ConfigurationStoreTest, FailedAcknowledgementStopsTheStoreThere)
{
    struct Case
    {
        const char* what;
        EmulatorSettings settings;
        std::size_t valuesSent;
        double progress;
    };
    EmulatorSettings wrongEcho;
    wrongEcho.faults.push_back({Fault::Kind::Replace, ReplyKind::StoreConfiguration, 6, 5});
    EmulatorSettings silent;
    silent.silent = true;
    for (const Case& c : {Case{"wrong echo at 6", wrongEcho, 7, 6}, Case{"silent", silent, 1, 0}}) {
        SCOPED_TRACE(c.what);
        ProgramOnEmulator run(c.settings);
        run.main.RSDevice().select(1);
        run.program.StoreSettings_Click();
        const Bytes sent = run.sent();
        EXPECT_EQ(sent.size(), 2 + c.valuesSent);
        EXPECT_EQ(run.dialogs.messages,
                  std::vector<std::string>{ConfigurationStore::kStorageError});
        EXPECT_EQ(run.program.progress().Level().value(), c.progress);
        EXPECT_FALSE(run.program.progress().isVisible());
        EXPECT_TRUE(run.main.isEnabled());
        EXPECT_TRUE(run.main.StoreSettings().isEnabled());
    }
}

TEST(ConfigurationStoreTest, RefusedStoresSendNothing)
{
    ProgramOnEmulator run;
    // No output anywhere, whether inputs are passed on or encoded: refused
    // with two messages...
    for (const int mode : {0, 2}) {
        run.main.Mode().select(mode);
        run.dialogs.messages.clear();
        run.program.StoreSettings_Click();
        EXPECT_EQ(run.dialogs.messages,
                  (std::vector<std::string>{ConfigurationStore::kNoOutput, kCannotStore}))
            << "mode " << mode;
    }
    // ...unless mode 3 takes its data from the computer.
    run.main.Mode().select(3);
    run.main.RSDevice().select(0);
    run.dialogs.messages.clear();
    run.main.Keys(2).setText("256");
    run.program.StoreSettings_Click();
    ASSERT_EQ(run.dialogs.messages.size(), 1U);
    EXPECT_EQ(run.dialogs.messages[0], badFieldMessage(8, "256"));
    EXPECT_NE(run.dialogs.messages[0].find("Wireless key 3"), std::string::npos);
    EXPECT_TRUE(run.sent().empty());
    EXPECT_TRUE(run.main.StoreSettings().isEnabled());
    EXPECT_TRUE(run.main.isEnabled());
}

// Choices that the windows hold in more than one control, or that the option
// rules have disabled without taking them away, are stored as they stand.
TEST(ConfigurationStoreTest, StoredChoices)
{
    struct Case
    {
        const char* what;
        std::function<void(ProgramOnEmulator&)> choose;
        int location;
        int value;
    };
    const Case cases[]{
        {"channel 7 outside its limits",
         [](ProgramOnEmulator& run) {
             run.program.windows().limiter().LimitModeGroup(6).click(13);
         },
         39, 1 << 6},
        {"relay controller kept in mode 2",
         [](ProgramOnEmulator& run) {
             run.main.RSDevice().click(5);
             run.main.Mode().click(2);
         },
         14, 5},
        {"LR relay controller kept in mode 4",
         [](ProgramOnEmulator& run) {
             run.main.LRDevice().select(2);
             run.main.Mode().click(4);
         },
         16, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramOnEmulator run;
        run.program.start();
        c.choose(run);
        run.program.StoreSettings_Click();
        EXPECT_TRUE(run.dialogs.messages.empty());
        EXPECT_EQ(run.m.module.configuration()[c.location], c.value);
    }
}

TEST(ConfigurationStoreTest, TextToByte)
{
    const std::vector<std::pair<const char*, std::optional<int>>> cases{{"0", 0},
                                                                        {"255", 255},
                                                                        {" 42 ", 42},
                                                                        {"2.5", 2},
                                                                        {"3.5", 4},
                                                                        {"254.5", 254},
                                                                        {"255.4", 255},
                                                                        {"+7", 7},
                                                                        {".5", 0},
                                                                        {"-0.4", 0},
                                                                        {"", std::nullopt},
                                                                        {"  ", std::nullopt},
                                                                        {"abc", std::nullopt},
                                                                        {"12a", std::nullopt},
                                                                        {"255.5", std::nullopt},
                                                                        {"256", std::nullopt},
                                                                        {"-1", std::nullopt},
                                                                        {"1e2", std::nullopt},
                                                                        {"inf", std::nullopt},
                                                                        {"nan", std::nullopt}};
    for (const auto& [text, byte] : cases)
        EXPECT_EQ(byteFromText(text), byte) << '"' << text << '"';
}

TEST(ConfigurationStoreTest, Encoders)
{
    ConfigWindows windows;
    MainWindow& main = windows.mainWindow();
    EXPECT_EQ(selectedIndex(main.Frequency()), std::nullopt); // none selected yet
    main.Baud().select(9);
    EXPECT_EQ(selectedIndex(main.Baud()), 9); // kept as read, not sent as 1200
    main.LRKeys().setValue(CheckBox::kGrayed);
    EXPECT_EQ(checkBoxByte(main.LRKeys()), 1);
    main.ESKeys().setValue(CheckBox::kUnchecked);
    EXPECT_EQ(checkBoxByte(main.ESKeys()), 0);
    for (const auto& [caption, byte] :
         {std::pair{"8-BIT", 0}, std::pair{"10-BIT", 1}, std::pair{"8-bit", 1}}) {
        main.ADBITS().setCaption(caption);
        EXPECT_EQ(resolutionByte(main.ADBITS()), byte) << caption;
    }
}

} // namespace
} // namespace vindle
