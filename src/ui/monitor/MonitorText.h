#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vindle {

// The fields of the data monitor's lines; b is a byte value 0 to 255.

// The eight bits of b, bit 7 first, then ">" and four spaces: 13 characters.
std::string Bin(int b);
// The decimal text of b with one leading space, then four trailing spaces
// after one digit, two after two digits and none after three.
std::string AddX(int b);

// The display text with `line` put on top: the line, carriage return, line
// feed, then what the display held before.
std::string AddText(std::string_view display, std::string_view line);

// Markers after a line's fields.
inline constexpr std::string_view kHeaderMarker = "   <HEADER DETECTED";
// The marker of key 1, 2 or 3.
std::string keyMarker(int key);

// One line of the data monitor: the byte (or, without header framing, the
// two bytes) it shows, what the framing made of it, and when its first byte
// was read from the port.
struct MonitorLine
{
    enum class Kind
    {
        Byte,   // a byte between packets
        Header, // the 254 that starts a packet
        Key1,
        Key2,
        Key3,
        Pair, // no header framing: two bytes to a line
    };
    std::chrono::system_clock::time_point time;
    Kind kind = Kind::Byte;
    std::uint8_t first = 0;
    std::uint8_t second = 0; // a Pair's second byte
};

// How the data monitor writes a line.
struct LineFormat
{
    enum class Time
    {
        None,
        Local, // the clock where the monitor runs: 03:40:00.123
        Utc,   // RFC 3339, UTC, in milliseconds: 2026-12-10T03:40:00.123Z
    };
    Time time = Time::None;
    // Where the clock runs: ahead of UTC by this much (Local only).
    std::chrono::minutes utcOffset{0};
    // Each value as two hex digits in place of its decimal.
    bool hex = false;
};

// The line as the data monitor shows it; with the default format, exactly
// what the monitor has always shown.
std::string lineText(const MonitorLine& line, const LineFormat& format = {});
// 2026-12-10T03:40:00.123Z: the station log's time and a line's.
std::string utcTimeText(std::chrono::system_clock::time_point time);
// 03:40:00.123 on a clock `utcOffset` ahead of UTC.
std::string clockTimeText(std::chrono::system_clock::time_point time,
                          std::chrono::minutes utcOffset);

} // namespace vindle

namespace vindle {

// 5,000: a count as the monitor writes it, with a comma between thousands.
std::string countText(std::uint64_t count);

// The bytes a person typed to find, separated by spaces or commas: decimal
// 0 to 255 ("254 11"), or two hex digits each ("FE 0B") when `hex`; nullopt
// when the text is no such sequence.
std::optional<std::vector<std::uint8_t>> bytesFromText(std::string_view text, bool hex);

// Where a sequence of bytes came among lines kept newest first: the line its
// last byte is on (0 the newest) and how many lines it spans.
struct LineSpan
{
    std::size_t newest = 0;
    std::size_t count = 0;
    friend bool operator==(const LineSpan&, const LineSpan&) = default;
};
// Every place `bytes` came in `lines`, in the order they came, top (newest)
// first. A pair's line holds its two bytes.
std::vector<LineSpan> findBytes(const std::deque<MonitorLine>& lines,
                                const std::vector<std::uint8_t>& bytes);

} // namespace vindle
