#include "ui/monitor/MonitorWindow.h"

#include "support/FakePump.h"
#include "support/ScriptedPort.h"
#include "ui/monitor/MonitorText.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

TEST(MonitorTextTest, FieldsOfALine)
{
    EXPECT_EQ(Bin(5) + AddX(5), "00000101>     5    ");
    EXPECT_EQ(Bin(65) + AddX(65), "01000001>     65  ");
    EXPECT_EQ(Bin(0) + AddX(0), "00000000>     0    ");
    EXPECT_EQ(Bin(255) + AddX(255), "11111111>     255");
    EXPECT_EQ(Bin(12) + AddX(12) + keyMarker(1), "00001100>     12     <KEY 1");
    EXPECT_EQ(Bin(254) + AddX(254) + std::string(kHeaderMarker),
              "11111110>     254   <HEADER DETECTED");
}

class MonitorWindowTest : public ::testing::Test
{
protected:
    MonitorWindowTest()
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
        return {monitor.Text1().lines().begin(), monitor.Text1().lines().end()};
    }

    test::FakeClock clock;
    test::ScriptedPort port{clock};
    test::FakePump pump{clock, [this] { return port.nextArrival(); }};
    ByteLink link{port, pump, clock};
    MonitorWindow monitor{link};
    std::function<void()> onYield;
};

TEST_F(MonitorWindowTest, HeaderAndKeysFraming)
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

TEST_F(MonitorWindowTest, WithoutHeaderFramingBytesPairUpAndAnOddOneWaits)
{
    monitor.HeaderCheck().toggle();
    EXPECT_FALSE(monitor.KeysCheck().isEnabled());
    EXPECT_EQ(run({5, 200, 254, 7, 9}), (Lines{"11111110>     7", "00000101>     200"}));
}

TEST_F(MonitorWindowTest, HeaderCheckControlsKeysCheck)
{
    monitor.KeysCheck().toggle();
    monitor.HeaderCheck().toggle();
    EXPECT_FALSE(monitor.KeysCheck().isEnabled());
    EXPECT_EQ(monitor.KeysCheck().value(), CheckBox::kUnchecked);
    monitor.HeaderCheck().toggle();
    EXPECT_TRUE(monitor.KeysCheck().isEnabled());
    EXPECT_EQ(monitor.KeysCheck().value(), CheckBox::kUnchecked);
}

TEST_F(MonitorWindowTest, BaudChoiceSetsThePortWhileWaiting)
{
    onYield = [this] { monitor.Baud().click(7); };
    EXPECT_TRUE(run({}).empty());
    EXPECT_EQ(port.bitRate(), 115200);
}

TEST_F(MonitorWindowTest, DisplayKeepsTheNewestLinesAndShowsThemInBatches)
{
    int batches = 0;
    monitor.Text1().addListener([&batches](const Control&) { ++batches; });
    for (int i = 0; i < 6000; ++i)
        port.arriveAt(clock.now() + 1ms, {static_cast<std::uint8_t>(i % 200)});
    monitor.Form_Load();
    EXPECT_EQ(monitor.Text1().lines().size(), LineDisplay::kDefaultCapacity);
    EXPECT_EQ(monitor.Text1().linesAdded(), 6000U);
    EXPECT_EQ(monitor.Text1().lines().front(), Bin(5999 % 200) + AddX(5999 % 200));
    EXPECT_LE(batches, 2);
}

// A stream whose bytes come closer together than the display interval never
// leaves the line quiet for it, yet is drawn at least once per interval, and
// not after every byte.
TEST(MonitorStreamTest, AStreamIsDrawnOncePerDisplayInterval)
{
    constexpr auto kStream = 1s;
    for (const auto gap : {1ms, 20ms, 45ms}) {
        SCOPED_TRACE(gap.count());
        test::FakeClock clock;
        test::ScriptedPort port{clock};
        test::FakePump pump{clock, [&port] { return port.nextArrival(); }};
        ByteLink link{port, pump, clock};
        MonitorWindow monitor{link};
        pump.onYield = [&port, &link] {
            if (port.pendingTotal() == 0)
                link.close();
        };
        std::vector<Clock::TimePoint> drawn;
        monitor.Text1().addListener(
            [&drawn, &clock](const Control&) { drawn.push_back(clock.now()); });
        const Clock::TimePoint start = clock.now();
        const auto bytes = static_cast<int>(kStream / gap);
        for (int i = 1; i <= bytes; ++i)
            port.arriveAt(start + i * gap, {static_cast<std::uint8_t>(i % 200)});
        monitor.Form_Load();

        EXPECT_EQ(monitor.Text1().linesAdded(), static_cast<std::uint64_t>(bytes));
        ASSERT_FALSE(drawn.empty());
        Clock::TimePoint last = start;
        for (const Clock::TimePoint at : drawn) {
            EXPECT_LE(at - last, MonitorWindow::kDisplayInterval + gap);
            last = at;
        }
        EXPECT_LE(drawn.size(),
                  static_cast<std::size_t>(kStream / MonitorWindow::kDisplayInterval) + 2);
    }
}

// A backlog that never runs dry while it is taken (each byte costs the
// program a little time) is still drawn once per interval.
TEST(MonitorStreamTest, ABacklogIsDrawnWhileItIsTaken)
{
    constexpr int kBytes = 2000;
    constexpr std::chrono::milliseconds kPerByte{1};
    test::FakeClock clock;
    test::ScriptedPort port{clock};
    test::FakePump pump{clock, [&port] { return port.nextArrival(); }};
    ByteLink link{port, pump, clock};
    MonitorWindow monitor{link};
    pump.onYield = [&port, &link, &clock] {
        clock.advance(std::chrono::milliseconds{1});
        if (port.pendingTotal() == 0)
            link.close();
    };
    std::vector<Clock::TimePoint> drawn;
    monitor.Text1().addListener([&drawn, &clock](const Control&) { drawn.push_back(clock.now()); });
    const Clock::TimePoint start = clock.now();
    for (int i = 0; i < kBytes; ++i)
        port.arriveAt(start, {7});
    monitor.Form_Load();

    ASSERT_FALSE(drawn.empty());
    Clock::TimePoint last = start;
    for (const Clock::TimePoint at : drawn) {
        EXPECT_LE(at - last, MonitorWindow::kDisplayInterval + 2 * kPerByte);
        last = at;
    }
}

TEST_F(MonitorWindowTest, ContextHelp)
{
    EXPECT_NE(monitor.HELP().caption().find("What baud rate"), std::string::npos);
    monitor.Baud().option(3).mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("baud rate of the computer"), std::string::npos);
    monitor.Frame2().mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("Keys with each"), std::string::npos);
    monitor.Frame4().mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("Normally, this option"), std::string::npos);
    monitor.mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("looks at the RS-232"), std::string::npos);
}

} // namespace
} // namespace vindle
