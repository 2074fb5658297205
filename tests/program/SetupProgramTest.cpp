#include "program/SetupProgram.h"

#include "support/FakePump.h"
#include "support/ProgramOnEmulator.h"
#include "support/ScriptedPort.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace vindle {
namespace {

using namespace std::chrono_literals;
using emulator::EmulatorSettings;
using emulator::Fault;
using emulator::ReplyKind;
using test::ProgramOnEmulator;
using Bytes = std::vector<std::uint8_t>;

// The identity labels as the user sees them, with bytes pending before the
// click and the module's reply coming later.
TEST(SetupProgramTest, FirmwareVersionShowsEachByteAsItArrives)
{
    struct Case
    {
        Bytes stray;
        std::array<const char*, 4> shown;
    };
    // Two stray bytes shift the reply: the marker is not where it belongs,
    // so nothing of it is shown as the identity.
    for (const Case& c : {Case{{}, {"7", "3", "9", "12"}}, Case{{99}, {"7", "3", "9", "12"}},
                          Case{{99, 98}, {"", "", "", ""}}}) {
        test::FakeClock clock;
        test::ScriptedPort port(clock);
        test::FakePump pump(clock, [&port] { return port.nextArrival(); });
        test::RecordingDialogs dialogs;
        SetupProgram program(port, pump, clock, dialogs);
        for (const std::uint8_t byte : c.stray)
            port.arrive({byte});
        // The module answers once the identify command is out.
        bool answered = false;
        pump.onYield = [&port, &clock, &answered] {
            if (!answered && port.written().size() == 2) {
                answered = true;
                port.arriveAt(clock.now() + 5ms, {7, 3, 9, 12, 1, 254});
            }
        };
        program.mainWindow().GetVersion().press();

        EXPECT_EQ(port.written(), (Bytes{253, 85}));
        EXPECT_TRUE(program.mainWindow().VersionFrame().isVisible());
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(program.mainWindow().VDAT2(k).caption(), c.shown[k]) << k;
        program.mainWindow().ExitVersion().press();
        EXPECT_FALSE(program.mainWindow().VersionFrame().isVisible());
    }
}

// Bytes an earlier program left on its way are no reply to this one: the
// first command goes out once the line has been quiet for the gap.
TEST(SetupProgramTest, StartUpSendsNothingBeforeTheLineFallsQuiet)
{
    test::FakeClock clock;
    test::ScriptedPort port(clock);
    test::FakePump pump(clock, [&port] { return port.nextArrival(); });
    test::RecordingDialogs dialogs;
    SetupProgram program(port, pump, clock, dialogs);
    const auto opened = clock.now();
    port.arriveAt(opened + 10ms, {5, 77});
    port.arriveAt(opened + 40ms, {6});
    std::optional<Clock::TimePoint> firstByte;
    pump.onYield = [&] {
        if (!firstByte && !port.written().empty())
            firstByte = clock.now();
        if (port.written().size() == 2)
            program.end();
    };
    program.start();
    ASSERT_TRUE(firstByte);
    EXPECT_GE(*firstByte - opened, 40ms + kReplyOverGap);
    EXPECT_EQ(port.written(), (Bytes{253, 252}));
}

TEST(SetupProgramTest, SilentModuleLeavesTheIdentityEmpty)
{
    EmulatorSettings settings;
    settings.silent = true;
    ProgramOnEmulator run(settings);
    run.program.GetVersion_Click();
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(run.main.VDAT2(k).caption(), "");
    EXPECT_TRUE(run.dialogs.messages.empty());
}

TEST(SetupProgramTest, FactoryDefaultsWaitForTheReadyMarkerThenRead)
{
    EmulatorSettings settings;
    settings.resetOnIdentify = true;
    settings.configuration[1] = 99;
    // The reply reads 5, 9, 254, ...: the wait ends at the third byte.
    for (const auto& [position, value] : {std::pair{0, 5}, std::pair{1, 9}, std::pair{2, 254}})
        settings.faults.push_back({Fault::Kind::Replace, ReplyKind::Identify, position,
                                   static_cast<std::uint8_t>(value)});
    ProgramOnEmulator run(settings);
    run.program.FactoryDefaults_Click();

    EXPECT_EQ(run.sent(), (Bytes{253, 85, 253, 252, 253, 85}));
    EXPECT_EQ(run.main.Debounce().value(), emulator::factoryDefaults()[1]);
    EXPECT_TRUE(run.main.FactoryDefaults().isEnabled());
    EXPECT_TRUE(run.main.isVisible());
    EXPECT_TRUE(run.main.isEnabled());
}

// A factory-default reset waits for the ready marker the module sends after
// the reset command, not for one left over from an earlier reply.
TEST(SetupProgramTest, AResetWaitsForTheModulesOwnReadyMarker)
{
    constexpr auto kByteDelay = 20ms;
    struct Case
    {
        const char* what;
        EmulatorSettings settings;
        std::function<void(ProgramOnEmulator&)> act;
    };
    EmulatorSettings paced;
    paced.resetOnIdentify = true;
    paced.byteDelay = kByteDelay;
    EmulatorSettings recovering = paced;
    recovering.configuration[13] = 0; // Interval cannot show it
    // The second byte after the last pair, left pending by the read, reads 254.
    recovering.faults.push_back(
        {Fault::Kind::Replace, ReplyKind::ReadConfiguration, 2 * kLocationCount + 1, kReadyMarker});
    const auto clearAfterStartUp = [](ProgramOnEmulator& run) {
        run.program.start();
        run.m.settle(); // the identity's ready marker is pending
        run.program.FactoryDefaults_Click();
    };
    const auto read = [](ProgramOnEmulator& run) { run.program.ReadSettings_Click(); };
    for (const Case& c : {Case{"Clear to Factory Defaults", paced, clearAfterStartUp},
                          Case{"recovery of a read", recovering, read}}) {
        SCOPED_TRACE(c.what);
        ProgramOnEmulator run(c.settings);
        c.act(run);
        const Bytes& sent = run.m.port.written();
        const Bytes resetThenRead{253, 85, 253, 252};
        const auto reset =
            std::search(sent.begin(), sent.end(), resetThenRead.begin(), resetThenRead.end()) -
            sent.begin() + 1;
        ASSERT_LT(reset, static_cast<std::ptrdiff_t>(sent.size()));
        const auto& at = run.m.port.writtenAt();
        // Five identity bytes and the ready marker, each after the delay.
        EXPECT_GE(at[reset + 2] - at[reset], 6 * kByteDelay);
        EXPECT_EQ(run.m.module.configuration(), emulator::factoryDefaults());
    }
}

TEST(SetupProgramTest, FirmwareVersionLeavesNothingForTheMonitor)
{
    EmulatorSettings settings;
    settings.runningPacketsPerSecond = 0;
    ProgramOnEmulator run(settings);
    run.program.start();
    run.program.GetVersion_Click();
    run.m.settle();
    run.program.TestConfiguration_Click();
    EXPECT_EQ(run.program.monitor().Text1().linesAdded(), 0U);
}

// What the command line and the bench call puts values into the windows, but
// shows, hides, enables or disables none of them: only the buttons do.
TEST(SetupProgramTest, TheProceduresChangeNoWindow)
{
    ProgramOnEmulator run;
    run.program.start();
    run.main.RSDevice().click(1);
    int changes = 0;
    run.program.forEachWindow([&changes](Window& window) {
        window.addListener([&changes](const Window&, Window::Change) { ++changes; });
    });
    for (Button* button : {&run.main.ReadSettings(), &run.main.StoreSettings(),
                           &run.main.FactoryDefaults(), &run.main.GetVersion()})
        button->addListener([&changes](const Control&) { ++changes; });
    const std::vector<std::pair<const char*, std::function<bool()>>> procedures{
        {"read", [&run] { return run.program.readConfiguration({}).outcome == ReadOutcome::Read; }},
        {"store",
         [&run] { return run.program.storeConfiguration().outcome == StoreOutcome::Stored; }},
        {"identity", [&run] { return run.program.readIdentity().has_value(); }},
        {"defaults",
         [&run] { return run.program.clearToFactoryDefaults().outcome == ReadOutcome::Read; }},
    };
    for (const auto& [name, procedure] : procedures) {
        changes = 0;
        EXPECT_TRUE(procedure()) << name;
        EXPECT_EQ(changes, 0) << name;
    }
}

TEST(SetupProgramTest, EndingAgainDoesNotRunTheEndedHookAgain)
{
    ProgramOnEmulator run;
    int ended = 0;
    run.program.onEnded([&ended] { ++ended; });
    run.program.end();
    run.main.requestClose();
    run.program.end();
    EXPECT_EQ(ended, 1);
}

TEST(SetupProgramTest, StartUpBringsTheMotionWindowOverTheMainWindow)
{
    EmulatorSettings settings;
    settings.configuration[40] = 1;
    ProgramOnEmulator run(settings);
    int mainFront = 0;
    run.program.windows().motionTimes().addListener([&](const Window&, Window::Change change) {
        if (change == Window::Change::FrontRequest)
            mainFront = run.main.frontRequests();
    });
    run.program.start();
    EXPECT_TRUE(run.program.windows().motionTimes().isVisible());
    EXPECT_TRUE(run.main.isVisible());
    // The motion window's last front request came after the main window's last.
    EXPECT_EQ(mainFront, run.main.frontRequests());
}

TEST(SetupProgramTest, TestConfigurationLeavesOnlyTheMonitorShowingWhatTheModuleSends)
{
    ProgramOnEmulator run;
    run.program.start();
    run.main.MoreOptions().setEnabled(true);
    run.main.MoreOptions().press();
    run.main.Mode().click(1);
    ASSERT_TRUE(run.program.windows().limiter().isVisible());
    const std::size_t before = run.sent().size();
    run.endWhen = [&run] { return run.program.monitor().Text1().linesAdded() >= 10; };
    run.main.TestConfiguration().press();

    EXPECT_EQ(run.sent(before), (Bytes{253, 250}));
    for (Window* window : std::initializer_list<Window*>{
             &run.main, &run.program.windows().advanced(), &run.program.windows().limiter(),
             &run.program.windows().motionTimes()})
        EXPECT_FALSE(window->isVisible()) << window->name();
    const MonitorWindow& monitor = run.program.monitor();
    EXPECT_TRUE(monitor.isVisible());
    // The 254 pending from the start-up's identity reply comes first.
    ASSERT_GE(monitor.Text1().lines().size(), 10U);
    EXPECT_EQ(monitor.Text1().lines().back(), "11111110>     254   <HEADER DETECTED");
    EXPECT_TRUE(run.program.hasEnded());
}

TEST(SetupProgramTest, ClosingTheMainWindowMidReadSendsNothingMore)
{
    EmulatorSettings settings;
    settings.silent = true;
    ProgramOnEmulator run(settings);
    int yields = 0;
    run.m.pump.onYield = [&] {
        if (++yields == 1)
            run.main.requestClose();
    };
    bool ended = false;
    run.program.onEnded([&ended] { ended = true; });
    run.program.start();
    EXPECT_TRUE(ended);
    EXPECT_EQ(run.sent(), (Bytes{253, 252}));
    EXPECT_TRUE(run.dialogs.messages.empty());
    EXPECT_FALSE(run.program.hasMonitor());
}

// One exchange at a time: buttons pressed while another exchange holds the
// line do nothing.
TEST(SetupProgramTest, NoSecondExchangeWhileOneRuns)
{
    ProgramOnEmulator run;
    bool pressed = false;
    run.m.pump.onYield = [&] {
        if (pressed)
            return;
        pressed = true;
        run.program.windows().limiter().Command1().press();
        run.program.GetVersion_Click();
        run.program.ReadSettings_Click();
    };
    run.program.ReadSettings_Click();
    EXPECT_EQ(run.sent(), (Bytes{253, 252, 253, 85}));
    EXPECT_FALSE(run.program.link().exchangeRunning());
}

TEST(SetupProgramTest, AnalogRefreshShowsReadingsOrNothing)
{
    EmulatorSettings settings;
    settings.analogReadings = {0, 51, 128, 255, 1, 25, 75};
    ProgramOnEmulator run(settings);
    LimiterWindow& limiter = run.program.windows().limiter();
    limiter.Command1().press();

    const std::array<const char*, 7> counts{" 0", " 51", " 128", " 255", " 1", " 25", " 75"};
    const std::array<const char*, 7> volts{"0.00 Volts", "1.00 Volts", "2.50 Volts", "5.00 Volts",
                                           ".019 Volts", ".490 Volts", "1.47 Volts"};
    for (int c = 0; c < LimiterWindow::kChannels; ++c) {
        EXPECT_EQ(limiter.Level(c).value(), settings.analogReadings[c]);
        EXPECT_EQ(limiter.LevelLabel(c).caption(), counts[c]);
        EXPECT_EQ(limiter.Volts(c).caption(), volts[c]);
    }
    EXPECT_TRUE(limiter.Command1().isEnabled());

    // A reply without the ready marker changes nothing.
    run.plugIn([] {
        EmulatorSettings bad;
        bad.faults.push_back({Fault::Kind::Replace, ReplyKind::ReadAnalog, 0, 7});
        return bad;
    }());
    limiter.Command1().press();
    EXPECT_EQ(limiter.LevelLabel(2).caption(), " 128");
    EXPECT_EQ(run.sent(), (Bytes{253, 100, 253, 100}));

    // However slow the reply, each byte that comes within the receive
    // time-out is in time; one that does not ends the refresh with nothing
    // changed.
    for (const auto& [delay, reading] :
         {std::pair{kReceiveTimeout - 1ms, 9}, {kReceiveTimeout, 8}}) {
        EmulatorSettings slow;
        slow.analogReadings.fill(static_cast<std::uint8_t>(reading));
        slow.byteDelay = delay;
        run.plugIn(slow);
        limiter.Command1().press();
        EXPECT_EQ(limiter.LevelLabel(6).caption(), " 9") << delay.count();
        EXPECT_TRUE(limiter.Command1().isEnabled());
    }
}

// A port that stops working (an adapter pulled out) is no silent module:
// the run ends at once, with nothing more sent, no message of the module's
// and no data monitor, and the port's stop says whether a store was cut short.
TEST(SetupProgramTest, APortThatStopsEndsTheRunInsteadOfTheSilentModulesOutcome)
{
    struct Case
    {
        const char* name;
        bool storing;
        // Bytes sent before the port stops.
        std::size_t sent;
        bool storeCut;
    };
    for (const Case& c : {Case{"read", false, 2, false}, Case{"store", true, 20, true}}) {
        ProgramOnEmulator run;
        if (c.storing)
            run.program.start();
        const std::size_t before = run.sent().size();
        run.m.pump.onYield = [&] {
            if (run.sent(before).size() >= c.sent)
                run.program.portStopped("USB 0403:6001", "The device has been lost.");
        };
        c.storing ? run.program.StoreSettings_Click() : run.program.start();

        EXPECT_TRUE(run.program.hasEnded()) << c.name;
        EXPECT_FALSE(run.program.hasMonitor()) << c.name;
        EXPECT_TRUE(run.dialogs.messages.empty()) << c.name;
        EXPECT_EQ(run.sent(before).size(), c.sent) << c.name;
        ASSERT_TRUE(run.program.portStop()) << c.name;
        EXPECT_EQ(run.program.portStop()->storeCut, c.storeCut) << c.name;
        const std::string message = SetupProgram::portStoppedMessage(*run.program.portStop());
        EXPECT_EQ(message.rfind("The serial port USB 0403:6001 stopped working: The device has "
                                "been lost.",
                                0),
                  0U);
        EXPECT_EQ(message.find("only in part") != std::string::npos, c.storeCut) << c.name;
    }
}

// Nothing a person does cuts a store short: ending the run (Disconnect,
// closing the main window) while a store runs ends it once the store is over,
// with every value sent as a store left alone sends it.
TEST(SetupProgramTest, EndingDuringAStoreWaitsUntilTheStoreIsOver)
{
    const auto storeBytes = [](const std::function<void(ProgramOnEmulator&)>& endRun) {
        ProgramOnEmulator run;
        run.program.start();
        const std::size_t before = run.sent().size();
        int ends = 0;
        run.program.onEnded([&ends] { ++ends; });
        run.m.pump.onYield = [&] {
            if (endRun && ends == 0 && run.sent(before).size() == 20 &&
                !run.program.endingAfterStore())
                endRun(run);
        };
        run.program.StoreSettings_Click();
        EXPECT_EQ(ends, endRun ? 1 : 0);
        EXPECT_EQ(run.program.hasEnded(), bool(endRun));
        EXPECT_FALSE(run.program.portStop());
        return run.sent(before);
    };
    const Bytes whole = storeBytes({});
    ASSERT_GT(whole.size(), 51U);
    EXPECT_EQ(storeBytes([](ProgramOnEmulator& run) { run.program.end(); }), whole);
    EXPECT_EQ(storeBytes([](ProgramOnEmulator& run) { run.main.requestClose(); }), whole);
}

// The windows hold unsaved edits from a change until a store, a saved file,
// an opened one or a read takes the windows' values.
TEST(SetupProgramTest, EditsAreUnsavedUntilTheModuleOrAFileTakesThem)
{
    ProgramOnEmulator run;
    EXPECT_FALSE(run.program.editsUnsaved()) << "nothing read yet";
    run.program.start();
    Slider& debounce = run.main.Debounce();
    const int read = debounce.value();
    const int edited = debounce.accepts(read + 1) ? read + 1 : read - 1;
    const std::pair<const char*, std::function<void()>> takers[] = {
        {"store", [&] { run.program.StoreSettings_Click(); }},
        {"save",
         [&] {
             run.program.configurationSaved(run.program.configurationToSave().contents.record);
         }},
        {"open",
         [&] { run.program.openConfiguration(run.program.configurationToSave().contents.record); }},
        {"read", [&] { run.program.ReadSettings_Click(); }},
    };
    for (const auto& [name, take] : takers) {
        EXPECT_FALSE(run.program.editsUnsaved()) << name;
        debounce.setValue(debounce.value() == read ? edited : read);
        EXPECT_TRUE(run.program.editsUnsaved()) << name;
        take();
        EXPECT_FALSE(run.program.editsUnsaved()) << name;
    }
    // Changed back, an edit is none; a text that is no byte is one.
    const int kept = debounce.value();
    debounce.setValue(kept == read ? edited : read);
    debounce.setValue(kept);
    EXPECT_FALSE(run.program.editsUnsaved());
    run.main.Q4T().setText("x");
    EXPECT_TRUE(run.program.editsUnsaved());
    EXPECT_TRUE(run.dialogs.messages.empty());
}

} // namespace
} // namespace vindle
