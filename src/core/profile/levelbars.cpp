#include "profile/levelbars.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace zorv::profile {

using canvas::Rect;
using canvas::Rgb;

namespace {

    constexpr int kBarBase = 74; // the bottom row of every bar
    constexpr int kSymbolTop = 77;

    using Icon = std::array<std::uint8_t, 8>; // one byte per row, high bit leftmost

    constexpr Icon kSun { 0x92, 0x54, 0x38, 0xFE, 0x38, 0x54, 0x92, 0x00 };
    constexpr Icon kStack { 0x7E, 0x00, 0x7E, 0x00, 0x7E, 0x00, 0x7E, 0x00 };
    constexpr Icon kHeart { 0x6C, 0xFE, 0xFE, 0xFE, 0x7C, 0x38, 0x10, 0x00 };

    struct Bar {
        int left;
        int right; // inclusive
        Rgb colour;
        const Icon *icon;
        int iconLeft;
    };
    constexpr Bar kBars[] = {
        { 5, 30, canvas::rgb(255, 255, 0), &kSun, 14 },
        { 36, 61, canvas::rgb(0, 0, 128), &kStack, 45 },
        { 67, 92, canvas::rgb(255, 0, 0), &kHeart, 76 },
    };

    void drawIcon(canvas::Canvas &canvas, const Icon &icon, int left, Rgb colour)
    {
        for (int row = 0; row < 8; ++row) {
            // Runs of set bits become one rectangle each.
            int col = 0;
            while (col < 8) {
                if ((icon[static_cast<std::size_t>(row)] & (0x80 >> col)) == 0) {
                    ++col;
                    continue;
                }
                int end = col;
                while (end < 8 && (icon[static_cast<std::size_t>(row)] & (0x80 >> end)) != 0)
                    ++end;
                const int y = kSymbolTop + row;
                canvas.fillRect(Rect { left + col, y, left + end, y + 1 }, colour);
                col = end;
            }
        }
    }

} // namespace

LevelBarHeights levelBarHeights(const logbook::ProfileSample &sample)
{
    // The yellow level is counted in pixels already; it has no scale of its own
    // and is only kept inside the panel.
    return { std::min<int>(sample.markers[3], kBarBase + 1),
        std::min<int>(sample.markers[1], 36) * kLevelBarFullHeight / 36,
        std::min<int>(sample.markers[2], 22) * kLevelBarFullHeight / 22 };
}

void drawLevelBars(canvas::Canvas &canvas, const logbook::ProfileSample &sample, BarsActive active)
{
    canvas.fillRect(Rect { 0, 0, kLevelBarsSize.width, kLevelBarsSize.height }, kLevelBarsGrey);
    const LevelBarHeights heights = levelBarHeights(sample);
    const int barHeight[] = { heights.yellow, heights.navy, heights.red };
    for (std::size_t i = 0; i < std::size(kBars); ++i) {
        const Bar &bar = kBars[i];
        if (active == BarsActive::Yes && barHeight[i] > 0)
            canvas.fillRect(Rect { bar.left, kBarBase + 1 - barHeight[i], bar.right + 1, kBarBase + 1 }, bar.colour);
        drawIcon(canvas, *bar.icon, bar.iconLeft, bar.colour);
    }
}

} // namespace zorv::profile
