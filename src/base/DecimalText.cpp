#include "base/DecimalText.h"

#include <cmath>
#include <iomanip>
#include <limits>
#include <locale>
#include <sstream>

namespace vindle {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::size_t digitsEnd(std::string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

std::optional<double> decimalValue(std::string_view text, Exponent exponent)
{
    std::size_t at = text.starts_with('-') ? 1 : 0;
    const std::size_t integer = digitsEnd(text, at);
    bool anyDigit = integer > at;
    at = integer;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fraction = digitsEnd(text, at + 1);
        anyDigit = anyDigit || fraction > at + 1;
        at = fraction;
    }
    if (!anyDigit)
        return std::nullopt;
    bool tiny = false;
    if (exponent == Exponent::Allowed && at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t power = at + 1;
        if (power < text.size() && (text[power] == '+' || text[power] == '-')) {
            tiny = text[power] == '-';
            ++power;
        }
        at = digitsEnd(text, power);
        if (at == power)
            return std::nullopt;
    }
    if (at != text.size())
        return std::nullopt;

    // The stream of the "C" locale does the correctly rounded conversion. Out
    // of range, the libraries disagree on what they leave in the value.
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    double value = 0;
    in >> value;
    if (in.fail()) {
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        if (text.starts_with('-'))
            value = -value;
    }
    return value;
}

SignificantDigits significantDigits(double value, int significant)
{
    // d.ddde+x, the first digit and the rest, from the "C" locale's stream.
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::scientific << std::setprecision(significant - 1) << value;
    const std::string text = out.str();
    const auto e = text.find_first_of("eE");
    SignificantDigits result;
    for (const char c : text.substr(0, e)) {
        if (isDigit(c))
            result.digits += c;
    }
    while (result.digits.size() > 1 && result.digits.back() == '0')
        result.digits.pop_back();
    const std::string_view power = std::string_view(text).substr(e + 1);
    int magnitude = 0;
    for (const char c : power) {
        if (isDigit(c))
            magnitude = magnitude * 10 + (c - '0');
    }
    result.exponent = power.starts_with('-') ? -magnitude : magnitude;
    return result;
}

} // namespace vindle
