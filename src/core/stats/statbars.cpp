#include "stats/statbars.h"

#include <algorithm>
#include <cmath>

namespace zorv::stats {

using canvas::Rect;
using canvas::Rgb;

namespace {

    constexpr int kStripHeight = 3;

    // A rectangle from the field's left edge, `length` long, rows top..bottom of the field.
    Rect fromLeft(const Rect &field, int length, int top, int bottom)
    {
        return { field.left, field.top + top, field.left + length, field.top + bottom };
    }

    void fill(canvas::Canvas &canvas, const Rect &rect, Rgb colour)
    {
        if (rect.width() > 0 && rect.height() > 0)
            canvas.fillRect(rect, colour);
    }

    // Main bar with strips below it: `strips` lists the values, colours index the legend.
    void mainWithStrips(canvas::Canvas &canvas, const Rect &field, float total, float scale, Rgb mainColour,
        const std::array<std::pair<float, Rgb>, 3> &strips, int stripCount)
    {
        const int width = field.width();
        const int height = field.height();
        const int mainHeight = std::max(0, height - kStripHeight * stripCount);
        fill(canvas, fromLeft(field, barLength(total, width, scale), 0, mainHeight), mainColour);
        if (stripCount == 0)
            return;
        int top = mainHeight;
        for (const auto &[value, colour] : strips) {
            if (value == 0.0f)
                continue;
            fill(canvas, fromLeft(field, barLength(value, width, scale), top, top + kStripHeight), colour);
            top += kStripHeight;
        }
    }

} // namespace

int barLength(float value, int width, float scale)
{
    if (scale <= 0.0f || value <= 0.0f)
        return 0;
    const double length = std::trunc(static_cast<double>(value) * width / scale);
    return static_cast<int>(std::min<double>(length, width));
}

void drawCountBar(canvas::Canvas &canvas, const Rect &field, float fresh, float sea, float chamber, float scale,
    const BarColours &colours, Rgb background)
{
    canvas.fillRect(field, background);
    if (scale == 0.0f)
        return;
    const int width = field.width();
    const int height = field.height();
    fill(canvas, fromLeft(field, barLength(fresh + sea + chamber, width, scale), 0, height), colours[0]);
    fill(canvas, fromLeft(field, barLength(sea + chamber, width, scale), 0, height), colours[1]);
    if (chamber != 0.0f)
        fill(canvas, fromLeft(field, barLength(chamber, width, scale), 0, height), colours[2]);
}

void drawValueBar(canvas::Canvas &canvas, const Rect &field, float total, float fresh, float sea, float chamber,
    float scale, Rgb mainColour, const BarColours &colours, Rgb background)
{
    canvas.fillRect(field, background);
    if (scale == 0.0f)
        return;
    const int nonZero = (fresh != 0.0f) + (sea != 0.0f) + (chamber != 0.0f);
    // A single water column would only repeat the main bar: strips come from two on.
    const int strips = nonZero >= 2 ? nonZero : 0;
    mainWithStrips(canvas, field, total, scale, mainColour,
        { { { fresh, colours[0] }, { sea, colours[1] }, { chamber, colours[2] } } }, strips);
}

void drawConsumptionBar(canvas::Canvas &canvas, const Rect &field, float total, float fresh, float sea, float scale,
    Rgb mainColour, const BarColours &colours, Rgb background)
{
    canvas.fillRect(field, background);
    if (scale == 0.0f)
        return;
    const int strips = (fresh != 0.0f) + (sea != 0.0f);
    mainWithStrips(canvas, field, total, scale, mainColour,
        { { { fresh, colours[0] }, { sea, colours[1] }, { 0.0f, colours[2] } } }, strips);
}

void drawSwatch(canvas::Canvas &canvas, const Rect &field, Rgb colour)
{
    canvas.fillRect(field, colour);
}

void drawRowBar(canvas::Canvas &canvas, const Rect &field, const BarValues &bar, float scale, const BarColours &colours,
    Rgb background)
{
    const Rgb main = bar.aboveAverage ? colours[4] : colours[3];
    switch (bar.kind) {
    case BarKind::Count:
        drawCountBar(canvas, field, bar.fresh, bar.sea, bar.chamber, scale, colours, background);
        break;
    case BarKind::Value:
        drawValueBar(canvas, field, bar.total, bar.fresh, bar.sea, bar.chamber, scale, main, colours, background);
        break;
    case BarKind::Consumption:
        drawConsumptionBar(canvas, field, bar.total, bar.fresh, bar.sea, scale, main, colours, background);
        break;
    }
}

} // namespace zorv::stats
