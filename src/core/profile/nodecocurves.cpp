#include "profile/nodecocurves.h"

#include "profile/profileplot.h"

namespace zorv::profile {

namespace {

    // The sea-level and mountain-lake rows of the DECO 92 tables, from 12 to 63 m.
    constexpr int kDeco92SeaLevel[] = { 142, 72, 44, 31, 23, 18, 14, 12, 10, 8, 7, 6, 5, 4, 4, 3, 3, 2 };
    constexpr int kDeco92Mountain[] = { 116, 61, 39, 27, 20, 16, 13, 11, 9, 7, 6, 5, 4, 4, 3, 2, 2, 1 };
    // The US Navy table stops at 45 m.
    constexpr int kUsNavy[] = { 200, 100, 60, 50, 40, 30, 25, 20, 15, 10, 10, 5 };
    constexpr int kAladinLow[] = { 141, 70, 49, 38, 29, 22, 17, 14, 12, 10, 9, 8, 7, 6, 5, 5, 4, 4 };
    constexpr int kAladinHigh[] = { 98, 51, 36, 28, 23, 17, 13, 11, 9, 8, 7, 6, 6, 5, 4, 4, 3, 3 };

    constexpr int kMinuteRange = 200;
    constexpr int kMinuteStep = 20;

    void drawChart(canvas::Canvas &canvas, canvas::Size size, const settings::NoDecoColours &colours,
        const NoDecoCurveSet &shown, int left, int depthCount)
    {
        using settings::NoDecoColour;
        canvas.fillRect({ 0, 0, size.width, size.height }, colours[NoDecoColour::Background]);
        ProfilePlot plot(colours[NoDecoColour::Lines], colours[NoDecoColour::Text], left, 24, size.width - 60,
            size.height - 48, logbook::UnitSystem::Metric);
        plot.setRanges(0, depthCount - 1, 0, kMinuteRange);
        plot.setYStep(kMinuteStep);
        plot.drawMinuteAxes(canvas, depthCount);
        for (int c = 0; c < kNoDecoCurveCount; ++c) {
            const auto curve = static_cast<NoDecoCurve>(c);
            if (shown[static_cast<std::size_t>(c)])
                plot.drawTopCurve(canvas, colours[noDecoCurveColour(curve)], 2, noDecoLimits(curve));
        }
    }

} // namespace

std::span<const int> noDecoLimits(NoDecoCurve curve)
{
    switch (curve) {
    case NoDecoCurve::Deco92SeaLevel:
        return kDeco92SeaLevel;
    case NoDecoCurve::Deco92Mountain:
        return kDeco92Mountain;
    case NoDecoCurve::UsNavy:
        return kUsNavy;
    case NoDecoCurve::AladinLow:
        return kAladinLow;
    case NoDecoCurve::AladinHigh:
        return kAladinHigh;
    }
    return {};
}

std::string_view noDecoCurveName(NoDecoCurve curve)
{
    switch (curve) {
    case NoDecoCurve::Deco92SeaLevel:
        return "Déco 92 0-700 m";
    case NoDecoCurve::Deco92Mountain:
        return "Déco 92 701-1500 m";
    case NoDecoCurve::UsNavy:
        return "US Navy";
    case NoDecoCurve::AladinLow:
        return "Aladin 0-900 m";
    case NoDecoCurve::AladinHigh:
        return "Aladin 1750-2700 m";
    }
    return {};
}

settings::NoDecoColour noDecoCurveColour(NoDecoCurve curve)
{
    return static_cast<settings::NoDecoColour>(static_cast<int>(curve));
}

void drawNoDecoChart(
    canvas::Canvas &canvas, canvas::Size size, const settings::NoDecoColours &colours, const NoDecoCurveSet &shown)
{
    drawChart(canvas, size, colours, shown, 42, kNoDecoPointCount);
}

void drawNoDecoPreview(canvas::Canvas &canvas, canvas::Size size, const settings::NoDecoColours &colours)
{
    // Points past the fifth fall right of the plot, and the curve drawing skips them.
    drawChart(canvas, size, colours, kAllNoDecoCurves, 48, 5);
}

} // namespace zorv::profile
