#include "uddf/uddftext.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zorv::uddf {

std::string numberText(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0)
        rounded = 0.0; // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

std::optional<double> parseNumber(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 40)
        return std::nullopt;
    std::string copy(text);
    for (char &c : copy)
        if (c == ',')
            c = '.';
    const char *begin = copy.data();
    if (*begin == '+')
        ++begin;
    double value = 0.0;
    const auto result = std::from_chars(begin, copy.data() + copy.size(), value);
    if (result.ec != std::errc() || result.ptr != copy.data() + copy.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

    std::optional<int> digits(std::string_view text, std::size_t at, std::size_t count)
    {
        if (at + count > text.size())
            return std::nullopt;
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    }

} // namespace

std::optional<DateTime> parseDateTime(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\t'))
        text.remove_prefix(1);
    DateTime when;
    const auto year = digits(text, 0, 4);
    const auto month = digits(text, 5, 2);
    const auto day = digits(text, 8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-' || *month < 1 || *month > 12 || *day < 1
        || *day > 31 || *year < 1601)
        return std::nullopt;
    when.year = *year;
    when.month = *month;
    when.day = *day;
    if (text.size() > 10 && (text[10] == 'T' || text[10] == ' ')) {
        const auto hour = digits(text, 11, 2);
        const auto minute = digits(text, 14, 2);
        if (hour && minute && text[13] == ':' && *hour < 24 && *minute < 60) {
            when.minutes = *hour * 60 + *minute;
            when.hasTime = true;
        }
    }
    return when;
}

std::string dateTimeText(int year, int month, int day, int minutes)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:00", year, month, day, minutes / 60, minutes % 60);
    return buffer;
}

std::string xmlSafe(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            if (c >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        std::size_t length = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
        if (c >= 0xF5)
            length = 0;
        bool valid = length != 0 && i + length <= utf8.size();
        std::uint32_t code = length == 2 ? c & 0x1Fu : length == 3 ? c & 0x0Fu : c & 0x07u;
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and the two non-characters XML refuses.
        valid = valid && !(length == 3 && code < 0x800) && !(length == 4 && (code < 0x10000 || code > 0x10FFFF))
            && !(code >= 0xD800 && code <= 0xDFFF) && code != 0xFFFE && code != 0xFFFF;
        if (valid)
            out.append(utf8.substr(i, length));
        i += valid ? length : 1;
    }
    return out;
}

} // namespace zorv::uddf
