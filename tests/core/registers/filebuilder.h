// Builds register files in tests from their layout, byte by byte, independent of the writers under test.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace zorv::registers::test {

class FileBuilder {
public:
    FileBuilder &u8(std::uint8_t v)
    {
        bytes.push_back(v);
        return *this;
    }
    FileBuilder &u16(std::uint16_t v) { return u8(v & 0xFF).u8(static_cast<std::uint8_t>(v >> 8)); }
    FileBuilder &u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(static_cast<std::uint16_t>(v >> 16)); }
    FileBuilder &f32(float v) { return u32(std::bit_cast<std::uint32_t>(v)); }
    // The text, then zeros up to the buffer's size.
    FileBuilder &text(const std::string &s, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i)
            u8(i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0);
        return *this;
    }
    std::string str() const { return std::string(bytes.begin(), bytes.end()); }

    std::vector<std::uint8_t> bytes;
};

} // namespace zorv::registers::test
