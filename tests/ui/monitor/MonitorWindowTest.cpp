#include "ui/monitor/MonitorWindow.h"

#include "ui/model/AccessibleName.h"
#include "ui/model/ReadingOrder.h"
#include "ui/monitor/MonitorText.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

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

TEST(MonitorWindowTest, HeaderCheckControlsKeysCheck)
{
    MonitorWindow monitor;
    monitor.KeysCheck().toggle();
    monitor.HeaderCheck().toggle();
    EXPECT_FALSE(monitor.KeysCheck().isEnabled());
    EXPECT_EQ(monitor.KeysCheck().value(), CheckBox::kUnchecked);
    monitor.HeaderCheck().toggle();
    EXPECT_TRUE(monitor.KeysCheck().isEnabled());
    EXPECT_EQ(monitor.KeysCheck().value(), CheckBox::kUnchecked);
}

TEST(MonitorWindowTest, ContextHelp)
{
    MonitorWindow monitor;
    EXPECT_NE(monitor.HELP().caption().find("What baud rate"), std::string::npos);
    monitor.Baud().option(3).mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("baud rate of the computer"), std::string::npos);
    monitor.KeysFrame().mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("Keys with each"), std::string::npos);
    monitor.HeaderFrame().mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("Normally, this option"), std::string::npos);
    monitor.mouseOver();
    EXPECT_NE(monitor.HELP().caption().find("looks at the RS-232"), std::string::npos);
}

} // namespace
} // namespace vindle

namespace vindle {
namespace {

using namespace std::chrono;
using Kind = MonitorLine::Kind;

const auto kStart = sys_days{December / 10 / 2026} + 3h + 40min;

// A line a millisecond after the one before.
MonitorLine lineAt(int n, Kind kind, std::uint8_t first, std::uint8_t second = 0)
{
    return {kStart + milliseconds(n), kind, first, second};
}

void receive(MonitorWindow& monitor, std::initializer_list<std::uint8_t> bytes)
{
    int n = static_cast<int>(monitor.linesKept());
    for (const std::uint8_t b : bytes)
        monitor.AddLine(lineAt(n++, b == 254 ? Kind::Header : Kind::Byte, b));
    monitor.FlushLines();
}

// Switching time stamps or hex writes every line shown again, the old ones
// too; what is marked stays on its lines.
TEST(MonitorWindowTest, ShowingTimesAndHexWritesEveryLineAgain)
{
    MonitorWindow monitor;
    monitor.setUtcOffset(minutes{60});
    receive(monitor, {254, 11, 22});
    monitor.FindText().setText("11");
    monitor.FindNext().press();
    ASSERT_EQ(monitor.Text1().marked(), (LineDisplay::Marked{1, 1}));
    monitor.HexCheck().toggle();
    monitor.TimeCheck().toggle();
    EXPECT_EQ(monitor.Text1().lines().front(), "04:40:00.002  00010110>     16  ");
    EXPECT_EQ(monitor.Text1().lines().back(),
              "04:40:00.000  11111110>     FE     <HEADER DETECTED");
    EXPECT_EQ(monitor.Text1().replacements(), 2U);
    EXPECT_EQ(monitor.Text1().marked(), (LineDisplay::Marked{1, 1}));
    // New lines come in the format shown; the mark moves down with its line.
    receive(monitor, {33});
    EXPECT_EQ(monitor.Text1().lines().front(), "04:40:00.003  00100001>     21  ");
    EXPECT_EQ(monitor.Text1().marked(), (LineDisplay::Marked{2, 1}));
    // Saved lines go oldest first, with their times in UTC, as shown in hex.
    EXPECT_EQ(monitor.linesToSave(),
              "2026-12-10T03:40:00.000Z  11111110>     FE     <HEADER DETECTED\n"
              "2026-12-10T03:40:00.001Z  00001011>     0B  \n"
              "2026-12-10T03:40:00.002Z  00010110>     16  \n"
              "2026-12-10T03:40:00.003Z  00100001>     21  \n");
}

// Pause holds the view: what comes is counted and shown on Resume, in
// order; beyond the display's bound the oldest held lines are dropped, and
// said so.
TEST(MonitorWindowTest, PauseHoldsWhatComesAndSaysWhatWasDropped)
{
    std::vector<std::string> said;
    MonitorWindow monitor;
    monitor.addListener([&said](const Window& window, Window::Change change) {
        if (change == Window::Change::Announcement)
            said.push_back(window.announcement());
    });
    const std::size_t capacity = monitor.Text1().capacity();
    const struct
    {
        std::size_t held;
        const char* count;
        const char* resumed;
        const char* after;
    } cases[] = {
        {1, "1 line while paused", "Resumed with the 1 line that came while paused", ""},
        {412, "412 lines while paused", "Resumed with the 412 lines that came while paused", ""},
        {capacity + 1000, "6,000 lines while paused, the oldest 1,000 dropped",
         "Resumed with the 6,000 lines that came while paused; the oldest 1,000 of them were "
         "dropped",
         "1,000 lines were dropped while paused"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.held);
        receive(monitor, {7});
        const std::uint64_t before = monitor.Text1().linesAdded();
        monitor.PauseButton().press();
        EXPECT_EQ(monitor.PauseButton().caption(), MonitorWindow::kResume);
        for (std::size_t i = 0; i < c.held; ++i)
            monitor.AddLine(lineAt(static_cast<int>(i), Kind::Byte, static_cast<std::uint8_t>(i)));
        EXPECT_GT(monitor.unflushed(), 0U);
        monitor.FlushLines();
        EXPECT_EQ(monitor.unflushed(), 0U);
        EXPECT_EQ(monitor.Text1().linesAdded(), before);
        EXPECT_EQ(monitor.PauseStatus().caption(), c.count);
        monitor.PauseButton().press();
        EXPECT_EQ(monitor.PauseButton().caption(), MonitorWindow::kPause);
        EXPECT_EQ(monitor.PauseStatus().caption(), c.after);
        EXPECT_EQ(said.back(), c.resumed);
        // The newest held line is on top, the others under it in order.
        const std::uint8_t newest = static_cast<std::uint8_t>(c.held - 1);
        EXPECT_EQ(monitor.Text1().lines()[0], Bin(newest) + AddX(newest));
        const std::uint8_t next = static_cast<std::uint8_t>(c.held - 2);
        if (c.held > 1) {
            EXPECT_EQ(monitor.Text1().lines()[1], Bin(next) + AddX(next));
        }
    }
    EXPECT_EQ(said.front(), "Paused: what comes is kept until Resume");
}

// Find looks for bytes in the order they came, down the display with Next
// and up with Previous, round past the end; what it says is announced.
TEST(MonitorWindowTest, FindGoesThroughTheBytesAsTheyCame)
{
    const struct
    {
        const char* query;
        bool hex;
        std::vector<bool> downs; // each press: Next (true) or Previous
        std::optional<LineDisplay::Marked> marked;
        const char* said;
    } cases[] = {
        // Lines, top first: 7 11 254 22 11 254 (a 254 11 came twice).
        {"254 11", false, {true}, LineDisplay::Marked{1, 2}, "Lines 2 to 3 of 6"},
        {"254 11", false, {true, true}, LineDisplay::Marked{4, 2}, "Lines 5 to 6 of 6"},
        {"254 11", false, {true, true, true}, LineDisplay::Marked{1, 2}, "Lines 2 to 3 of 6"},
        {"254,11", false, {false}, LineDisplay::Marked{4, 2}, "Lines 5 to 6 of 6"},
        {"254 11", false, {false, false}, LineDisplay::Marked{1, 2}, "Lines 2 to 3 of 6"},
        {"FE 0b", true, {true}, LineDisplay::Marked{1, 2}, "Lines 2 to 3 of 6"},
        {"22", false, {true}, LineDisplay::Marked{3, 1}, "Line 4 of 6"},
        {"16", true, {true}, LineDisplay::Marked{3, 1}, "Line 4 of 6"},
        {"22 22", false, {true}, std::nullopt, "Not among the 6 lines shown"},
        {"FE", false, {true}, std::nullopt, "Type bytes 0 to 255, such as 254 11"},
        {"256", false, {true}, std::nullopt, "Type bytes 0 to 255, such as 254 11"},
        {"", false, {true}, std::nullopt, "Type bytes 0 to 255, such as 254 11"},
        {"254 1x", true, {true}, std::nullopt, "Type hex bytes 00 to FF, such as FE 0B"},
        {"100", true, {true}, std::nullopt, "Type hex bytes 00 to FF, such as FE 0B"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        MonitorWindow monitor;
        receive(monitor, {254, 11, 22, 254, 11, 7});
        monitor.Text1().mark(std::nullopt);
        if (c.hex)
            monitor.HexCheck().toggle();
        monitor.FindText().setText(c.query);
        for (const bool down : c.downs)
            (down ? monitor.FindNext() : monitor.FindPrevious()).press();
        EXPECT_EQ(monitor.Text1().marked(), c.marked);
        EXPECT_EQ(monitor.FindStatus().caption(), c.said);
        EXPECT_EQ(monitor.announcement(), c.said);
    }
    // Enter in the box is Next; a pair's line holds both its bytes.
    MonitorWindow monitor;
    monitor.AddLine(lineAt(0, Kind::Pair, 1, 2));
    monitor.AddLine(lineAt(1, Kind::Pair, 3, 4));
    monitor.FindText().setText("2 3");
    monitor.FindText().enter();
    EXPECT_EQ(monitor.Text1().marked(), (LineDisplay::Marked{0, 2}));
    EXPECT_EQ(monitor.FindText().shortcut(), "Ctrl+F");
}

// Every new control is named, explained, and reached by Tab in the order a
// person reads the window.
TEST(MonitorWindowTest, NewControlsAreNamedAndExplained)
{
    MonitorWindow monitor;
    for (const Control* control : std::initializer_list<const Control*>{
             &monitor.TimeCheck(), &monitor.HexCheck(), &monitor.PauseButton(), &monitor.FindText(),
             &monitor.FindPrevious(), &monitor.FindNext(), &monitor.SaveLines(),
             &monitor.CaptureButton()}) {
        SCOPED_TRACE(control->name());
        EXPECT_FALSE(accessibleName(monitor, *control).empty());
        EXPECT_FALSE(accessibleDescription(monitor, *control).empty());
    }
    EXPECT_EQ(accessibleName(monitor, monitor.FindText()), "Find Bytes:");
    std::vector<std::string> stops;
    for (const Control* control : tabStops(readingOrder(monitor)))
        stops.push_back(control->name());
    const std::vector<std::string> lastStops(stops.end() - 6, stops.end());
    EXPECT_EQ(lastStops, (std::vector<std::string>{"PauseButton", "FindText", "FindPrevious",
                                                   "FindNext", "SaveLines", "CaptureButton"}))
        << testing::PrintToString(stops);
}

} // namespace
} // namespace vindle
