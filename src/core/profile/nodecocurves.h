// The no-decompression limits of five tables and dive computers, and the chart that compares them.
#pragma once

#include "canvas/canvas.h"
#include "settings/settings.h"

#include <array>
#include <span>
#include <string_view>

namespace zorv::profile {

// In the order of the check boxes and of the colour roles Curve1 … Curve5.
enum class NoDecoCurve {
    Deco92SeaLevel,
    Deco92Mountain,
    UsNavy,
    AladinLow,
    AladinHigh,
};
inline constexpr int kNoDecoCurveCount = 5;
// Points per curve at most; point i stands for 12 + 3 × i metres.
inline constexpr int kNoDecoPointCount = 18;

constexpr int noDecoDepth(int point)
{
    return 12 + 3 * point;
}

// Whole minutes from 12 m downward; a table that stops early has fewer points.
std::span<const int> noDecoLimits(NoDecoCurve curve);
// The check box caption, UTF-8.
std::string_view noDecoCurveName(NoDecoCurve curve);
settings::NoDecoColour noDecoCurveColour(NoDecoCurve curve);

using NoDecoCurveSet = std::array<bool, kNoDecoCurveCount>;
inline constexpr NoDecoCurveSet kAllNoDecoCurves { true, true, true, true, true };

// Paints the comparison chart over the whole `size`: background, minute axes
// with a depth tick per point, and the chosen curves in curve order.
void drawNoDecoChart(
    canvas::Canvas &canvas, canvas::Size size, const settings::NoDecoColours &colours, const NoDecoCurveSet &shown);

// The colour dialog's sample: the same chart cut to its first five depths.
void drawNoDecoPreview(canvas::Canvas &canvas, canvas::Size size, const settings::NoDecoColours &colours);

} // namespace zorv::profile
