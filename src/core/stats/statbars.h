// The bars of the statistics pages and the colour swatches of their legends, drawn into a bar field.
#pragma once

#include "canvas/canvas.h"
#include "stats/statisticspage.h"

#include <array>

namespace zorv::stats {

// The five statistics colours by role: fresh water, sea water, chamber, at or
// below the average, above the average.
using BarColours = std::array<canvas::Rgb, 5>;

// A value's length in a field `width` pixels wide: truncated, never past the field.
int barLength(float value, int width, float scale);

// Each clears `field` to `background`, then paints from its left edge; later
// fills paint over earlier ones. Nothing but the clearing happens while the scale is 0.
void drawCountBar(canvas::Canvas &canvas, const canvas::Rect &field, float fresh, float sea, float chamber, float scale,
    const BarColours &colours, canvas::Rgb background);
void drawValueBar(canvas::Canvas &canvas, const canvas::Rect &field, float total, float fresh, float sea, float chamber,
    float scale, canvas::Rgb mainColour, const BarColours &colours, canvas::Rgb background);
void drawConsumptionBar(canvas::Canvas &canvas, const canvas::Rect &field, float total, float fresh, float sea,
    float scale, canvas::Rgb mainColour, const BarColours &colours, canvas::Rgb background);
void drawSwatch(canvas::Canvas &canvas, const canvas::Rect &field, canvas::Rgb colour);

// The bar of one page row, by the kind of bar the row asks for.
void drawRowBar(canvas::Canvas &canvas, const canvas::Rect &field, const BarValues &bar, float scale,
    const BarColours &colours, canvas::Rgb background);

} // namespace zorv::stats
