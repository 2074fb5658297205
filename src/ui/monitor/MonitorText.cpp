#include "ui/monitor/MonitorText.h"

#include "ui/model/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace vindle {

std::string Bin(int b)
{
    static constexpr std::array kMasks{128, 64, 32, 16, 8, 4, 2, 1};
    std::string bits;
    for (const int mask : kMasks)
        bits += (b & mask) == mask ? '1' : '0';
    return bits + ">    ";
}

std::string AddX(int b)
{
    // " 5" takes four trailing spaces, " 42" two and " 254" none.
    std::string field = numberText(b);
    const std::size_t padding = field.size() < 4 ? 8 - 2 * field.size() : 0;
    return field.append(padding, ' ');
}

std::string AddText(std::string_view display, std::string_view line)
{
    std::string text(line);
    text += "\r\n";
    text += display;
    return text;
}

std::string keyMarker(int key)
{
    return "   <KEY " + std::to_string(key);
}

namespace {

std::string hexField(int b)
{
    std::array<char, 3> digits{};
    std::snprintf(digits.data(), digits.size(), "%02X", static_cast<unsigned>(b & 0xFF));
    return std::string(digits.data());
}

// A value's field: the decimal as AddX writes it, or two hex digits as wide
// as a two-digit decimal.
std::string valueField(int b, bool hex)
{
    return hex ? " " + hexField(b) + "  " : AddX(b);
}

// The milliseconds of the day and the date of `time`, `offset` ahead of UTC.
struct Split
{
    std::chrono::year_month_day date;
    std::chrono::hh_mm_ss<std::chrono::milliseconds> clock;
};

Split split(std::chrono::system_clock::time_point time, std::chrono::minutes offset)
{
    using namespace std::chrono;
    const auto ms = floor<milliseconds>(time) + offset;
    const auto day = floor<days>(ms);
    return {year_month_day(day), hh_mm_ss<milliseconds>(ms - day)};
}

std::string clockPart(const std::chrono::hh_mm_ss<std::chrono::milliseconds>& clock)
{
    std::array<char, 16> text{};
    std::snprintf(
        text.data(), text.size(), "%02d:%02d:%02d.%03d", static_cast<int>(clock.hours().count()),
        static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count()),
        static_cast<int>(clock.subseconds().count()));
    return text.data();
}

} // namespace

std::string utcTimeText(std::chrono::system_clock::time_point time)
{
    const Split at = split(time, std::chrono::minutes{0});
    std::array<char, 16> date{};
    std::snprintf(date.data(), date.size(), "%04d-%02u-%02u", static_cast<int>(at.date.year()),
                  static_cast<unsigned>(at.date.month()), static_cast<unsigned>(at.date.day()));
    return std::string(date.data()) + "T" + clockPart(at.clock) + "Z";
}

std::string clockTimeText(std::chrono::system_clock::time_point time,
                          std::chrono::minutes utcOffset)
{
    return clockPart(split(time, utcOffset).clock);
}

std::string lineText(const MonitorLine& line, const LineFormat& format)
{
    std::string text;
    switch (format.time) {
    case LineFormat::Time::None:
        break;
    case LineFormat::Time::Local:
        text = clockTimeText(line.time, format.utcOffset) + "  ";
        break;
    case LineFormat::Time::Utc:
        text = utcTimeText(line.time) + "  ";
        break;
    }
    using Kind = MonitorLine::Kind;
    text += Bin(line.first);
    if (line.kind == Kind::Pair)
        return text + (format.hex ? " " + hexField(line.second) : numberText(line.second));
    text += valueField(line.first, format.hex);
    switch (line.kind) {
    case Kind::Header:
        text += kHeaderMarker;
        break;
    case Kind::Key1:
    case Kind::Key2:
    case Kind::Key3:
        text += keyMarker(static_cast<int>(line.kind) - static_cast<int>(Kind::Key1) + 1);
        break;
    case Kind::Byte:
    case Kind::Pair:
        break;
    }
    return text;
}

} // namespace vindle

namespace vindle {

std::string countText(std::uint64_t count)
{
    std::string digits = std::to_string(count);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

std::optional<std::vector<std::uint8_t>> bytesFromText(std::string_view text, bool hex)
{
    std::vector<std::uint8_t> bytes;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ' || text[at] == ',' || text[at] == '\t') {
            ++at;
            continue;
        }
        const std::size_t end = text.find_first_of(" ,\t", at);
        const std::string_view word =
            text.substr(at, end == std::string_view::npos ? end : end - at);
        at += word.size();
        if (word.size() > (hex ? 2U : 3U))
            return std::nullopt;
        unsigned value = 0;
        const auto [rest, error] =
            std::from_chars(word.data(), word.data() + word.size(), value, hex ? 16 : 10);
        if (error != std::errc() || rest != word.data() + word.size() || value > 255)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    if (bytes.empty())
        return std::nullopt;
    return bytes;
}

std::vector<LineSpan> findBytes(const std::deque<MonitorLine>& lines,
                                const std::vector<std::uint8_t>& bytes)
{
    // The bytes in the order they came, each with the line it is on.
    std::vector<std::pair<std::uint8_t, std::size_t>> stream;
    stream.reserve(lines.size() * 2);
    for (std::size_t index = lines.size(); index-- > 0;) {
        const MonitorLine& line = lines[index];
        stream.emplace_back(line.first, index);
        if (line.kind == MonitorLine::Kind::Pair)
            stream.emplace_back(line.second, index);
    }
    std::vector<LineSpan> found;
    if (bytes.empty() || bytes.size() > stream.size())
        return found;
    for (std::size_t start = 0; start + bytes.size() <= stream.size(); ++start) {
        bool match = true;
        for (std::size_t i = 0; i < bytes.size() && match; ++i)
            match = stream[start + i].first == bytes[i];
        if (!match)
            continue;
        const std::size_t oldest = stream[start].second;
        const std::size_t newest = stream[start + bytes.size() - 1].second;
        const LineSpan span{newest, oldest - newest + 1};
        if (found.empty() || found.back() != span)
            found.push_back(span);
    }
    std::reverse(found.begin(), found.end());
    return found;
}

} // namespace vindle
