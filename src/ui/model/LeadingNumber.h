#pragma once

#include <string_view>

namespace vindle {

// The numeric value of the number a text begins with: leading blanks skipped,
// an optional sign, digits, an optional decimal point with digits and an
// optional exponent; reading stops at the first character that cannot
// continue the number. A text that does not begin with a number gives 0; a
// number too large for a double gives an infinity of its sign.
//   "12abc" -> 12, "  -4" -> -4, "1.5e2x" -> 150, "abc" -> 0, "" -> 0
double leadingNumber(std::string_view text);

} // namespace vindle
