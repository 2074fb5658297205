#pragma once

#include <string>
#include <string_view>

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

} // namespace vindle
