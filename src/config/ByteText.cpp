#include "config/ByteText.h"

#include "base/DecimalText.h"

#include <cmath>

namespace vindle {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Nearest integer, an exact half going to the even neighbour.
double roundHalfToEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0))
        return lower + 1.0;
    return lower;
}

} // namespace

std::optional<int> byteFromText(std::string_view text)
{
    text = trimmed(text);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    const auto parsed = decimalValue(text, Exponent::Refused);
    if (!parsed || !std::isfinite(*parsed))
        return std::nullopt;
    const double value = *parsed;
    const double rounded = roundHalfToEven(value);
    if (rounded < 0.0 || rounded > 255.0)
        return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace vindle
