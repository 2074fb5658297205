#include "ui/model/NumberText.h"

#include "base/DecimalText.h"

#include <cmath>
#include <cstdlib>

namespace vindle {

namespace {

constexpr int kSignificantDigits = 15;

std::string magnitudeText(double magnitude)
{
    if (magnitude == 0)
        return "0";
    if (!std::isfinite(magnitude))
        return std::isnan(magnitude) ? "NaN" : "Infinity";
    const auto [digits, exponent] = significantDigits(magnitude, kSignificantDigits);
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
