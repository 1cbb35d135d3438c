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

Utf8Sequence firstUtf8Sequence(std::string_view bytes)
{
    Utf8Checker checker;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        checker.feed({ &b, 1 });
        if (!checker.m_valid)
            return {};
        if (checker.m_pending == 0) {
            const auto lead = static_cast<std::uint8_t>(bytes[0]);
            char32_t cp = i == 0 ? lead : i == 1 ? (lead & 0x1Fu) : i == 2 ? (lead & 0x0Fu) : (lead & 0x07u);
            for (std::size_t k = 1; k <= i; ++k)
                cp = (cp << 6) | (static_cast<std::uint8_t>(bytes[k]) & 0x3Fu);
            return { cp, i + 1 };
        }
    }
    return {};
}

bool isValidUtf8(std::string_view bytes)
{
    Utf8Checker checker;
    checker.feed({ reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size() });
    return checker.valid();
}

std::string escapeInvalidUtf8(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const Utf8Sequence sequence = firstUtf8Sequence(bytes);
        if (sequence.length > 0) {
            out.append(bytes.substr(0, sequence.length));
            bytes.remove_prefix(sequence.length);
            continue;
        }
        const auto b = static_cast<std::uint8_t>(bytes.front());
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 0x0F];
        bytes.remove_prefix(1);
    }
    return out;
}

void Utf8Checker::feed(std::span<const std::uint8_t> bytes)
{
    for (const std::uint8_t b : bytes) {
        if (!m_valid)
            return;
        if (m_pending > 0) {
            if (b < m_low || b > m_high) {
                m_valid = false;
                return;
            }
            --m_pending;
            m_low = 0x80;
            m_high = 0xBF;
            continue;
        }
        if (b < 0x80)
            continue;
        // The bounds of the second byte rule out overlong forms, surrogates and
        // code points past U+10FFFF.
        if (b >= 0xC2 && b <= 0xDF) {
            m_pending = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            m_pending = 2;
            m_low = b == 0xE0 ? 0xA0 : 0x80;
            m_high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            m_pending = 3;
            m_low = b == 0xF0 ? 0x90 : 0x80;
            m_high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            m_valid = false;
        }
    }
}

} // namespace zorv::common
