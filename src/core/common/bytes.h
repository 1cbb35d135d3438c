// Little-endian reading and writing of packed file data, one field at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zorv::common {

// Reads from a byte span without ever going past its end. A read past the end
// yields zeros and latches failed(), so a parser can read a whole record and
// check once.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data)
        : m_data(data)
    {
    }

    std::uint8_t u8()
    {
        if (!need(1))
            return 0;
        return m_data[m_pos++];
    }
    std::uint16_t u16()
    {
        if (!need(2))
            return 0;
        auto v = static_cast<std::uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::uint32_t u32()
    {
        if (!need(4))
            return 0;
        std::uint32_t v = static_cast<std::uint32_t>(m_data[m_pos])
            | (static_cast<std::uint32_t>(m_data[m_pos + 1]) << 8)
            | (static_cast<std::uint32_t>(m_data[m_pos + 2]) << 16)
            | (static_cast<std::uint32_t>(m_data[m_pos + 3]) << 24);
        m_pos += 4;
        return v;
    }
    // Copies n bytes into out; on a short read the destination is left zeroed.
    bool bytes(std::uint8_t *out, std::size_t n)
    {
        if (!need(n)) {
            for (std::size_t i = 0; i < n; ++i)
                out[i] = 0;
            return false;
        }
        for (std::size_t i = 0; i < n; ++i)
            out[i] = m_data[m_pos + i];
        m_pos += n;
        return true;
    }
    bool skip(std::size_t n)
    {
        if (!need(n))
            return false;
        m_pos += n;
        return true;
    }

    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_data.size() - m_pos; }
    bool failed() const { return m_failed; }

private:
    bool need(std::size_t n)
    {
        if (m_failed || n > m_data.size() - m_pos) {
            m_failed = true;
            return false;
        }
        return true;
    }

    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

// Appends little-endian values to a growing buffer.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t> &out)
        : m_out(out)
    {
    }

    void u8(std::uint8_t v) { m_out.push_back(v); }
    void u16(std::uint16_t v)
    {
        m_out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        m_out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
    }
    void bytes(const std::uint8_t *data, std::size_t n) { m_out.insert(m_out.end(), data, data + n); }
    void zeros(std::size_t n) { m_out.insert(m_out.end(), n, 0); }

private:
    std::vector<std::uint8_t> &m_out;
};

} // namespace zorv::common
