#include "ui/model/LeadingNumber.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace vindle {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

} // namespace

double leadingNumber(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;

    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const std::size_t start = at;
    at = skipDigits(text, at);
    bool anyDigit = at > start;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fraction = skipDigits(text, at + 1);
        anyDigit = anyDigit || fraction > at + 1;
        at = fraction;
    }
    if (!anyDigit)
        return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        const std::size_t end = skipDigits(text, exponent);
        if (end > exponent)
            at = end;
    }

    const std::string_view number = text.substr(start, at - start);
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone; tell overflow from underflow by
        // the exponent's sign.
        const auto e = number.find_first_of("eE");
        const bool tiny =
            e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

} // namespace vindle
