// Plays the dive computer's part of a transfer, so the receiving side can be tried without one.
#pragma once

#include <QIODevice>
#include <cstdint>
#include <span>

namespace zorv::serial {

struct SimulatorOptions {
    int leadingZeros = 8; // the computer announces itself with zero bytes before its image
    int baudRate = 19200;
    int pauseAfter = -1; // image bytes sent before the pause; negative for none
    int pauseMs = 0;
};

// Writes the zero bytes, then the image, at the pace the line would allow (ten bits a byte),
// which a pseudo-terminal does not impose by itself. False when the device refused a write.
bool sendAsComputer(QIODevice &device, std::span<const std::uint8_t> image, const SimulatorOptions &options);

} // namespace zorv::serial
