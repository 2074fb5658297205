#pragma once

#include <optional>
#include <string_view>

namespace vindle {

// The byte a text box's contents stand for when stored: the decimal number it
// spells, a fraction taken to the nearest integer and an exact half to the
// even neighbour ("2.5" -> 2, "3.5" -> 4). Blanks around the number are
// allowed. Empty when the text is empty, is not a number, or does not come to
// a value from 0 to 255: such a value cannot be stored as one byte.
std::optional<int> byteFromText(std::string_view text);

} // namespace vindle
