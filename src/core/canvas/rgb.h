// The one colour type of the program: drawing, the settings and colour files, and the transfer dialog's tints.
#pragma once

#include <cstdint>

namespace zorv::canvas {

// Red in the low byte, then green, then blue: the layout the settings file keeps colours in.
using Rgb = std::uint32_t;

constexpr Rgb rgb(int red, int green, int blue)
{
    return static_cast<Rgb>(red & 0xFF) | (static_cast<Rgb>(green & 0xFF) << 8) | (static_cast<Rgb>(blue & 0xFF) << 16);
}
constexpr int redOf(Rgb colour)
{
    return static_cast<int>(colour & 0xFF);
}
constexpr int greenOf(Rgb colour)
{
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int blueOf(Rgb colour)
{
    return static_cast<int>((colour >> 16) & 0xFF);
}

} // namespace zorv::canvas
