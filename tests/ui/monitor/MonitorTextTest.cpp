#include "ui/monitor/MonitorText.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

using namespace std::chrono;
using Kind = MonitorLine::Kind;
using Time = LineFormat::Time;

// Each kind of line in each format: the default is the monitor's text of
// old, and a time or hex changes only its own part.
TEST(MonitorTextTest, LinesInEachFormat)
{
    const auto at = sys_days{December / 10 / 2026} + 3h + 40min + 7s + 123ms + 999us;
    const LineFormat plain;
    const LineFormat hex{.time = Time::None, .utcOffset = {}, .hex = true};
    const LineFormat utc{.time = Time::Utc, .utcOffset = {}, .hex = false};
    const LineFormat local{.time = Time::Local, .utcOffset = minutes{-330}, .hex = true};
    const struct
    {
        MonitorLine line;
        LineFormat format;
        const char* text;
    } cases[] = {
        {{at, Kind::Header, 254}, plain, "11111110>     254   <HEADER DETECTED"},
        {{at, Kind::Header, 254}, hex, "11111110>     FE     <HEADER DETECTED"},
        {{at, Kind::Key2, 5}, plain, "00000101>     5       <KEY 2"},
        {{at, Kind::Key3, 10}, hex, "00001010>     0A     <KEY 3"},
        {{at, Kind::Byte, 42}, plain, "00101010>     42  "},
        {{at, Kind::Pair, 1, 200}, plain, "00000001>     200"},
        {{at, Kind::Pair, 1, 200}, hex, "00000001>     C8"},
        // Milliseconds are cut, never rounded up into the next second.
        {{at, Kind::Byte, 0}, utc, "2026-12-10T03:40:07.123Z  00000000>     0    "},
        // A clock behind UTC goes back over midnight.
        {{at, Kind::Byte, 255}, local, "22:10:07.123  11111111>     FF  "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(lineText(c.line, c.format), c.text);
    }
    EXPECT_EQ(utcTimeText(system_clock::time_point{}), "1970-01-01T00:00:00.000Z");
}

} // namespace
} // namespace vindle
