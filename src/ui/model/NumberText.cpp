#include "ui/model/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace vindle {

namespace {

constexpr int kSignificantDigits = 15;

// Digits of a finite, positive value rounded to 15 significant digits, and the
// power of ten of the first digit.
void roundedDigits(double value, std::string& digits, int& exponent)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto e = text.find('e');
    digits.clear();
    for (const char c : text.substr(0, e)) {
        if (c != '.')
            digits += c;
    }
    const std::string_view power = text.substr(e + 1);
    std::from_chars(power.data() + (power.front() == '+' ? 1 : 0), power.data() + power.size(),
                    exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

std::string magnitudeText(double magnitude)
{
    if (magnitude == 0)
        return "0";
    if (!std::isfinite(magnitude))
        return std::isnan(magnitude) ? "NaN" : "Infinity";
    std::string digits;
    int exponent = 0;
    roundedDigits(magnitude, digits, exponent);
    const int count = static_cast<int>(digits.size());
    if (exponent < 0)
        return "." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    if (exponent + 1 >= count)
        return digits + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
    const auto split = static_cast<std::size_t>(exponent + 1);
    return digits.substr(0, split) + "." + digits.substr(split);
}

} // namespace

std::string numberText(double value)
{
    const bool negative = std::signbit(value) && value != 0 && !std::isnan(value);
    return (negative ? "-" : " ") + magnitudeText(std::fabs(value));
}

std::string plainNumberText(double value)
{
    std::string text = numberText(value);
    if (text.front() == ' ')
        text.erase(0, 1);
    return text;
}

} // namespace vindle
