#include "common/textcodec.h"

#include <array>
#include <cstdint>

namespace zorv::common {

namespace {

    // Code points of 0x80..0x9F; the rest of the upper half equals Latin-1.
    constexpr std::array<char32_t, 32> kHigh = {
        0x20AC,
        0x0081,
        0x201A,
        0x0192,
        0x201E,
        0x2026,
        0x2020,
        0x2021,
        0x02C6,
        0x2030,
        0x0160,
        0x2039,
        0x0152,
        0x008D,
        0x017D,
        0x008F,
        0x0090,
        0x2018,
        0x2019,
        0x201C,
        0x201D,
        0x2022,
        0x2013,
        0x2014,
        0x02DC,
        0x2122,
        0x0161,
        0x203A,
        0x0153,
        0x009D,
        0x017E,
        0x0178,
    };

    void appendUtf8(std::string &out, char32_t cp)
    {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }

    char byteFor(char32_t cp)
    {
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
            return static_cast<char>(cp);
        for (std::size_t i = 0; i < kHigh.size(); ++i)
            if (kHigh[i] == cp)
                return static_cast<char>(0x80 + i);
        return '?';
    }

} // namespace

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out.push_back(c);
        else if (b < 0xA0)
            appendUtf8(out, kHigh[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string utf8ToCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        bool valid = len > 0 && i + static_cast<std::size_t>(len) <= utf8.size();
        char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; valid && k < len; ++k) {
            auto c = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80)
                valid = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        // An overlong form ("\xC0\xAF" for '/') is not text anyone typed; decoding
        // it would smuggle characters past checks made on the UTF-8 string.
        static constexpr char32_t kShortest[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (valid && cp < kShortest[len])
            valid = false;
        if (!valid) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        out.push_back(byteFor(cp));
        i += static_cast<std::size_t>(len);
    }
    return out;
}

} // namespace zorv::common
