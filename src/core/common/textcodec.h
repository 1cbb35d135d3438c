// Windows-1252 <-> UTF-8, used where texts leave or enter the core.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zorv::common {

// Every byte has a code point: the five bytes Windows-1252 leaves undefined
// (0x81 0x8D 0x8F 0x90 0x9D) map to the C1 controls of the same value, so the
// round trip bytes -> UTF-8 -> bytes is exact and byte-for-byte comparisons
// keep their meaning in either form.
std::string cp1252ToUtf8(std::string_view bytes);

// Characters with no Windows-1252 byte become '?'. Malformed UTF-8 sequences
// are taken byte by byte as Latin-1, so nothing a user typed is silently lost.
std::string utf8ToCp1252(std::string_view utf8);

struct Utf8Sequence {
    char32_t codePoint = 0;
    std::size_t length = 0; // 0: the bytes at the start are no well-formed sequence
};
// The well-formed sequence at the start of `bytes`: shortest form, no surrogate,
// nothing past U+10FFFF, not cut short by the end of `bytes`.
Utf8Sequence firstUtf8Sequence(std::string_view bytes);

bool isValidUtf8(std::string_view bytes);

// Bytes (a file name, say) as text fit to show or to put in JSON: well-formed UTF-8
// stays as it is, every other byte is written as "\xHH".
std::string escapeInvalidUtf8(std::string_view bytes);

// Checks bytes that arrive in pieces, a sequence split between two pieces included.
class Utf8Checker {
public:
    void feed(std::span<const std::uint8_t> bytes);
    // True while everything so far is well-formed and no sequence is left open.
    bool valid() const { return m_valid && m_pending == 0; }

private:
    friend Utf8Sequence firstUtf8Sequence(std::string_view bytes);
    bool m_valid = true;
    int m_pending = 0; // continuation bytes still due
    std::uint8_t m_low = 0x80; // the range the next continuation byte must lie in
    std::uint8_t m_high = 0xBF;
};

} // namespace zorv::common
