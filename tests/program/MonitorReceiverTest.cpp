#include "program/MonitorReceiver.h"

#include "program/MonitorWindowLines.h"
#include "support/FakePump.h"
#include "support/ScriptedPort.h"
#include "ui/monitor/MonitorText.h"
#include "ui/monitor/MonitorWindow.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace vindle {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

// The time of day the monitor starts at.
class FixedWallClock final : public WallClock
{
public:
    std::chrono::system_clock::time_point now() const override { return start; }
    std::chrono::system_clock::time_point start{
        std::chrono::sys_days{std::chrono::December / 10 / 2026} + 3h + 40min};
};

const FixedWallClock wall;

class MonitorReceiverTest : public ::testing::Test
{
protected:
    MonitorReceiverTest()
    {
        // The loop waits for ever; end it once everything sent has been taken.
        pump.onYield = [this] {
            if (onYield)
                onYield();
            if (port.pendingTotal() == 0)
                link.close();
        };
    }

    Lines run(std::initializer_list<std::uint8_t> bytes)
    {
        port.arriveAt(clock.now() + 1ms, bytes);
        monitor.Form_Load();
        receiver.run();
        return {monitor.Text1().lines().begin(), monitor.Text1().lines().end()};
    }

    test::FakeClock clock;
    test::ScriptedPort port{clock};
    test::FakePump pump{clock, [this] { return port.nextArrival(); }};
    ByteLink link{port, pump, clock};
    MonitorWindow monitor;
    MonitorWindowLines lines{monitor, link, wall};
    MonitorReceiver receiver{link, lines, wall};
    std::function<void()> onYield;
};

TEST_F(MonitorReceiverTest, HeaderAndKeysFraming)
{
    monitor.KeysCheck().toggle();
    // A 254 in a key's place is a key, not a header.
    const Lines lines = run({254, 1, 2, 3, 254, 254, 5, 6});
    const std::string header = "11111110>     254   <HEADER DETECTED";
    EXPECT_EQ(lines,
              (Lines{"00000110>     6       <KEY 3", "00000101>     5       <KEY 2",
                     "11111110>     254   <KEY 1", header, "00000011>     3       <KEY 3",
                     "00000010>     2       <KEY 2", "00000001>     1       <KEY 1", header}));
    EXPECT_TRUE(monitor.isVisible());
    std::string display;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        display = AddText(display, *line);
    EXPECT_EQ(monitor.Text1().text(), display);
    EXPECT_EQ(display.substr(0, 30), "00000110>     6       <KEY 3\r\n");
}

TEST_F(MonitorReceiverTest, WithoutHeaderFramingBytesPairUpAndAnOddOneWaits)
{
    monitor.HeaderCheck().toggle();
    EXPECT_FALSE(monitor.KeysCheck().isEnabled());
    EXPECT_EQ(run({5, 200, 254, 7, 9}), (Lines{"11111110>     7", "00000101>     200"}));
}

TEST_F(MonitorReceiverTest, BaudChoiceSetsThePortWhileWaiting)
{
    onYield = [this] { monitor.Baud().click(7); };
    EXPECT_TRUE(run({}).empty());
    EXPECT_EQ(port.bitRate(), 115200);
}

// Bytes in bursts: the capture holds each burst as the read it came in, with
// its time, every byte exactly once whatever the framing made of it, and
// nothing is left unwritten when the line goes quiet.
TEST_F(MonitorReceiverTest, TheCaptureKeepsEveryReadAsItCame)
{
    class Capture final : public MonitorCapture
    {
    public:
        void keep(std::string line, std::size_t) override { kept.push_back(std::move(line)); }
        bool pending() const override { return kept.size() > written; }
        void write() override { written = kept.size(); }
        std::vector<std::string> kept;
        std::size_t written = 0;
    };
    {
        Capture capture;
        receiver.setCapture(&capture);
        const auto start = clock.now();
        port.arriveAt(start + 1ms, {254, 1, 2});
        port.arriveAt(start + 2ms, {3});
        port.arriveAt(start + 500ms, {254, 7});
        // A waiting line has its reads written.
        std::vector<std::size_t> unwritten;
        onYield = [&] {
            if (port.bytesPending() == 0 && clock.now() > start + 100ms)
                unwritten.push_back(capture.kept.size() - capture.written);
        };
        run({});
        EXPECT_EQ(capture.kept,
                  (Lines{R"({"time": "2026-12-10T03:40:00.001Z", "bytes": [254, 1, 2]})",
                         R"({"time": "2026-12-10T03:40:00.002Z", "bytes": [3]})",
                         R"({"time": "2026-12-10T03:40:00.500Z", "bytes": [254, 7]})"}));
        EXPECT_EQ(capture.written, capture.kept.size());
        EXPECT_FALSE(unwritten.empty());
        for (const std::size_t left : unwritten)
            EXPECT_EQ(left, 0U);
    }
}

// A capture's file in memory: what it takes goes on the end of `text`, or,
// when it `fails`, nothing does, as on a full disk.
class File final : public CaptureFile
{
public:
    File(std::string& text, bool fails) : text_(text), fails_(fails) {}
    bool append(const std::string& lines) override
    {
        if (!fails_)
            text_ += lines;
        return !fails_;
    }
    std::string error() const override { return "the disk is full"; }

private:
    std::string& text_;
    bool fails_;
};

// The window's Capture to File…: the reads and each change of bit rate go
// to the file the shell opened, in whole lines, until Stop Capture; a file
// that fails ends the capture, said, and nothing more is kept for it.
TEST_F(MonitorReceiverTest, TheWindowsCaptureGoesToItsFileUntilItEnds)
{
    class Files final : public MonitorFiles
    {
    public:
        void saveLines(const std::string& text, Saved saved) override
        {
            this->saved = text;
            saved("lines.txt");
        }
        void chooseCapture(Opened opened) override
        {
            opened("capture.jsonl", std::make_unique<File>(text, fails));
        }
        std::string text;
        std::string saved;
        bool fails = false;
    };
    const struct
    {
        bool fails;
        const char* file;
        const char* status;
    } cases[] = {
        {false,
         "{\"time\": \"2026-12-10T03:40:00.001Z\", \"bytes\": [254, 1, 2]}\n"
         "{\"time\": \"2026-12-10T03:40:00.300Z\", \"baud\": 9600}\n"
         "{\"time\": \"2026-12-10T03:40:00.300Z\", \"bytes\": [3]}\n",
         "Captured 4 bytes to capture.jsonl"},
        {true, "", "The capture stopped: capture.jsonl could not be written (the disk is full)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        test::FakeClock clock;
        test::ScriptedPort port{clock};
        test::FakePump pump{clock, [&port] { return port.nextArrival(); }};
        ByteLink link{port, pump, clock};
        // The time of day moves on with the link's clock.
        class FollowingWall final : public WallClock
        {
        public:
            explicit FollowingWall(const Clock& clock) : clock_(clock), start_(clock.now()) {}
            std::chrono::system_clock::time_point now() const override
            {
                return wall.start +
                       std::chrono::duration_cast<std::chrono::milliseconds>(clock_.now() - start_);
            }

        private:
            const Clock& clock_;
            Clock::TimePoint start_;
        } following{clock};
        MonitorWindow monitor;
        Files files;
        files.fails = c.fails;
        MonitorWindowLines lines{monitor, link, following, &files};
        MonitorReceiver receiver{link, lines, following};
        receiver.setCapture(&lines);
        monitor.CaptureButton().press();
        EXPECT_EQ(monitor.CaptureButton().caption(), MonitorWindow::kStopCapture);
        const auto start = clock.now();
        port.arriveAt(start + 1ms, {254, 1, 2});
        port.arriveAt(start + 300ms, {3});
        pump.onYield = [&] {
            if (clock.now() >= start + 200ms && monitor.Baud().selected() != 3)
                monitor.Baud().click(3);
            if (port.pendingTotal() == 0)
                link.close();
        };
        receiver.run();
        lines.stopCapture();
        EXPECT_EQ(files.text, c.file);
        EXPECT_EQ(monitor.CaptureStatus().caption(), c.status);
        EXPECT_EQ(monitor.announcement(), c.status);
        EXPECT_EQ(monitor.CaptureButton().caption(), MonitorWindow::kCaptureToFile);
        EXPECT_FALSE(lines.keeping());
        // Save Lines… gives the shell every line kept, and says where they went.
        monitor.SaveLines().press();
        EXPECT_EQ(files.saved.substr(0, 26), "2026-12-10T03:40:00.001Z  ");
        EXPECT_EQ(monitor.announcement(), "Saved 4 lines to lines.txt");
    }
}

// Events are handled between two bytes of one read: a Stop Capture then
// waits for the read's last byte, and a new bit rate is noted after the read.
TEST_F(MonitorReceiverTest, ACaptureStoppedInTheMiddleOfAReadKeepsTheWholeRead)
{
    std::string text;
    MonitorWindowLines capturing{monitor, link, wall};
    MonitorReceiver receiver{link, capturing, wall};
    receiver.setCapture(&capturing);
    capturing.startCapture("capture.jsonl", std::make_unique<File>(text, false));
    port.arriveAt(clock.now() + 1ms, {254, 1, 2, 3});
    int yields = 0;
    pump.onYield = [&] {
        // Before the third byte: two of the read's four are taken.
        if (++yields == 3) {
            monitor.Baud().click(3);
            capturing.stopCapture();
        }
        if (port.pendingTotal() == 0)
            link.close();
    };
    receiver.run();
    EXPECT_EQ(text, "{\"time\": \"2026-12-10T03:40:00.001Z\", \"bytes\": [254, 1, 2, 3]}\n"
                    "{\"time\": \"2026-12-10T03:40:00.000Z\", \"baud\": 9600}\n");
    EXPECT_EQ(monitor.CaptureStatus().caption(), "Captured 4 bytes to capture.jsonl");
}

TEST_F(MonitorReceiverTest, DisplayKeepsTheNewestLinesAndShowsThemInBatches)
{
    int batches = 0;
    monitor.Text1().addListener([&batches](const Control&) { ++batches; });
    for (int i = 0; i < 6000; ++i)
        port.arriveAt(clock.now() + 1ms, {static_cast<std::uint8_t>(i % 200)});
    monitor.Form_Load();
    receiver.run();
    EXPECT_EQ(monitor.Text1().lines().size(), LineDisplay::kDefaultCapacity);
    EXPECT_EQ(monitor.Text1().linesAdded(), 6000U);
    EXPECT_EQ(monitor.Text1().lines().front(), Bin(5999 % 200) + AddX(5999 % 200));
    EXPECT_LE(batches, 2);
}

// A stream whose bytes come closer together than the display interval never
// leaves the line quiet for it, yet is drawn at least once per interval, and
// not after every byte; so is a backlog that never runs dry while it is taken
// (each byte costing the program a little time).
TEST(MonitorStreamTest, AStreamIsDrawnOncePerDisplayInterval)
{
    constexpr auto kStream = 1s;
    const struct
    {
        std::chrono::milliseconds gap;
        std::chrono::milliseconds perByte;
    } cases[]{{1ms, 0ms}, {20ms, 0ms}, {45ms, 0ms}, {0ms, 1ms}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gap.count());
        test::FakeClock clock;
        test::ScriptedPort port{clock};
        test::FakePump pump{clock, [&port] { return port.nextArrival(); }};
        ByteLink link{port, pump, clock};
        MonitorWindow monitor;
        MonitorWindowLines lines{monitor, link, wall};
        MonitorReceiver receiver{link, lines, wall};
        pump.onYield = [&port, &link, &clock, &c] {
            clock.advance(c.perByte);
            if (port.pendingTotal() == 0)
                link.close();
        };
        std::vector<Clock::TimePoint> drawn;
        monitor.Text1().addListener(
            [&drawn, &clock](const Control&) { drawn.push_back(clock.now()); });
        const Clock::TimePoint start = clock.now();
        const auto bytes = static_cast<int>(kStream / std::max(c.gap, c.perByte));
        for (int i = 1; i <= bytes; ++i)
            port.arriveAt(start + i * c.gap, {static_cast<std::uint8_t>(i % 200)});
        monitor.Form_Load();
        receiver.run();

        EXPECT_EQ(monitor.Text1().linesAdded(), static_cast<std::uint64_t>(bytes));
        ASSERT_FALSE(drawn.empty());
        Clock::TimePoint last = start;
        for (const Clock::TimePoint at : drawn) {
            EXPECT_LE(at - last, MonitorReceiver::kDisplayInterval + c.gap + 2 * c.perByte);
            last = at;
        }
        EXPECT_LE(drawn.size(),
                  static_cast<std::size_t>(kStream / MonitorReceiver::kDisplayInterval) + 2);
    }
}

} // namespace
} // namespace vindle
