#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vindle {

// Decimal numbers as text, always with a point and never with grouping,
// whatever locale the program runs in.

// Where the run of decimal digits that starts at `at` ends.
std::size_t digitsEnd(std::string_view text, std::size_t at);

// The value of a text that is a decimal number and nothing else: an optional
// minus sign, digits with at most one point (at least one digit) and, where
// `exponent` allows it, an exponent ("e" or "E", an optional sign, digits).
// std::nullopt for any other text. A value too large for a double gives an
// infinity, one too small 0.
//   "12" -> 12, "-.5" -> -0.5, "1.5e2" -> 150, "1e" -> nullopt, "nan" -> nullopt
enum class Exponent
{
    Allowed,
    Refused,
};
std::optional<double> decimalValue(std::string_view text, Exponent exponent = Exponent::Allowed);

// A finite, positive value rounded to `significant` digits (1 to 17): the
// digits without trailing zeros, and the power of ten of the first.
//   (1234.5, 3) -> {"123", 3}, (0.04902, 15) -> {"4902", -2}
struct SignificantDigits
{
    std::string digits;
    int exponent = 0;
};
SignificantDigits significantDigits(double value, int significant);

} // namespace vindle
