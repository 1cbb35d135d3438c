// The serial port as a transfer uses it: opened by index, set to the computer's line, read one byte at a time.
#pragma once

#include <cstdint>
#include <string>

namespace zorv::transfer {

// Bits of the status word; 0 means the port is usable. The dialog only tells zero from non-zero,
// the bits are there for diagnostics.
namespace linkstatus {
    inline constexpr std::uint16_t kNotOpen = 0x0001;
    inline constexpr std::uint16_t kLineRefused = 0x0002;
    inline constexpr std::uint16_t kReadFailed = 0x0004;
    inline constexpr std::uint16_t kDeviceLost = 0x0008;
} // namespace linkstatus

struct LineSettings {
    int baudRate = 19200;
    int dataBits = 8;
    int stopBits = 1;
    char parity = 'N'; // 'N', 'E' or 'O'
};

// The dive computer only talks: a link is never written to.
class SerialLink {
public:
    virtual ~SerialLink() = default;

    // portIndex is the "Com" setting minus 1. Failures show in status().
    virtual void open(int portIndex) = 0;
    virtual void setLine(const LineSettings &line) = 0;
    virtual std::uint16_t status() const = 0;
    // True while at least one received byte waits to be read.
    virtual bool pending() = 0;
    // Only meaningful after pending() said true.
    virtual std::uint8_t readByte() = 0;
    // What went wrong last, in UTF-8, for the user who has to fix permissions or cables.
    virtual std::string errorText() const { return {}; }
};

} // namespace zorv::transfer
