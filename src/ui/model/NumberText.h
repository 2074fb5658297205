#pragma once

#include <string>

namespace vindle {

// Decimal text of a number as every caption of the program writes it: one
// sign position (a blank, or "-" for a negative number), then at most 15
// significant digits, never an exponent, trailing zeros and a trailing point
// dropped, and no "0" before the point of a value below 1.
//   0 -> " 0", 42 -> " 42", 0.4902 -> " .4902", 1.000008 -> " 1.000008"
std::string numberText(double value);

// The same text without the sign position of a non-negative number:
//   42 -> "42", 0.4902 -> ".4902"; a negative number keeps its "-".
std::string plainNumberText(double value);

} // namespace vindle
