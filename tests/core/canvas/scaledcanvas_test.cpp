#include "canvas/recordingcanvas.h"
#include "canvas/scaledcanvas.h"

#include <gtest/gtest.h>

using namespace zorv::canvas;

namespace {

struct PenCase {
    ZeroWidthPen zeroWidth;
    int width;
    int deviceWidth;
};

} // namespace

class ScaledCanvasPen : public testing::TestWithParam<PenCase> { };

// A 0-wide pen stays a hairline on a page but is one screen pixel in a printed chart: drawn as a
// hairline on a 600-dpi printer, the chart's profile line would all but vanish.
TEST_P(ScaledCanvasPen, WidthOnTheDevice)
{
    RecordingCanvas printer(600);
    ScaledCanvas chart(printer, ScaledCanvas::screenPixelScale(printer.dpi()), {}, GetParam().zeroWidth);
    chart.setPen(Pen { 0, GetParam().width });
    chart.drawLine({ 0, 0 }, { 1, 1 });
    EXPECT_EQ(printer.ops().back().state.pen.width, GetParam().deviceWidth);
}

INSTANTIATE_TEST_SUITE_P(Widths, ScaledCanvasPen,
    testing::Values(PenCase { ZeroWidthPen::Hairline, 0, 0 }, PenCase { ZeroWidthPen::Hairline, 1, 6 },
        PenCase { ZeroWidthPen::Hairline, 2, 13 }, PenCase { ZeroWidthPen::OneUnit, 0, 6 },
        PenCase { ZeroWidthPen::OneUnit, 1, 6 }, PenCase { ZeroWidthPen::OneUnit, 2, 13 }));

TEST(ScaledCanvas, MapsFromItsOriginAndMeasuresInItsOwnUnits)
{
    RecordingCanvas printer(600);
    ScaledCanvas chart(printer, ScaledCanvas::screenPixelScale(printer.dpi()), Point { 100, 200 });
    EXPECT_EQ(chart.dpi(), ScaledCanvas::kScreenDpi);
    chart.drawLine({ 0, 0 }, { 96, 10 });
    EXPECT_EQ(printer.ops().back().points, (std::vector<Point> { { 100, 200 }, { 700, 263 } }));
    EXPECT_EQ(chart.fromDevice(625), 100);

    chart.setFont(Font { "Arial", 8.0 });
    // Point sizes stay physical: the text is as high in screen pixels as on a screen.
    EXPECT_EQ(chart.textHeight("1"), RecordingCanvas().textHeight("1"));
}
