#include "common/decimal.h"

#include <charconv>
#include <cmath>
#include <string>

namespace zorv::common {

namespace {

    bool isBlank(char c)
    {
        return c == ' ' || c == '\t';
    }

} // namespace

std::optional<double> parseDecimal(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    // Check the shape ourselves: from_chars alone would take exponents, "inf" and "nan".
    std::string number;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-')
            number += '-';
        ++pos;
    }
    bool digits = false;
    bool separator = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c >= '0' && c <= '9') {
            digits = true;
            number += c;
        } else if ((c == ',' || c == '.') && !separator) {
            separator = true;
            number += '.';
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace zorv::common
