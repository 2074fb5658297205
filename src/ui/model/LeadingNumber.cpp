#include "ui/model/LeadingNumber.h"

#include "base/DecimalText.h"

namespace vindle {

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
    at = digitsEnd(text, at);
    bool anyDigit = at > start;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fraction = digitsEnd(text, at + 1);
        anyDigit = anyDigit || fraction > at + 1;
        at = fraction;
    }
    if (!anyDigit)
        return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        const std::size_t end = digitsEnd(text, exponent);
        if (end > exponent)
            at = end;
    }

    const double value = decimalValue(text.substr(start, at - start)).value_or(0.0);
    return negative ? -value : value;
}

} // namespace vindle
