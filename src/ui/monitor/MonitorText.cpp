#include "ui/monitor/MonitorText.h"

#include "ui/model/NumberText.h"

#include <array>

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

} // namespace vindle
