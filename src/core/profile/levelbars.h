// The three level bars beside the instrument panel, read from a sample's marker bytes 1 to 3.
#pragma once

#include "canvas/canvas.h"
#include "logbook/diverecord.h"

namespace zorv::profile {

inline constexpr canvas::Size kLevelBarsSize { 98, 88 };
inline constexpr canvas::Rgb kLevelBarsGrey = canvas::rgb(128, 128, 128);
inline constexpr int kLevelBarFullHeight = 70;

// Heights in pixels of the yellow, navy and red bars, left to right.
struct LevelBarHeights {
    int yellow = 0;
    int navy = 0;
    int red = 0;
    bool operator==(const LevelBarHeights &) const = default;
};
LevelBarHeights levelBarHeights(const logbook::ProfileSample &sample);

enum class BarsActive {
    No,
    Yes,
};
// The grey panel with the symbols under the bars, and the bars of `sample` when active.
void drawLevelBars(canvas::Canvas &canvas, const logbook::ProfileSample &sample, BarsActive active);

} // namespace zorv::profile
