#include "canvas/recordingcanvas.h"

#include <gtest/gtest.h>

using namespace zorv::canvas;

TEST(RecordingCanvas, TextModelCountsCodePointsAndScalesWithDpi)
{
    RecordingCanvas screen;
    screen.setFont(Font { "Arial", 8.0 });
    // 8 pt at 96 dpi is 10.67 px, rounded to 11; characters are half as wide, rounded up.
    EXPECT_EQ(screen.textSize("M\xC3\xA8tre(s)"), (Size { 8 * 6, 11 }));
    EXPECT_EQ(screen.textWidth(""), 0);

    RecordingCanvas printer(600);
    printer.setFont(Font { "Arial", 8.0 });
    EXPECT_EQ(printer.textHeight("1"), 67);

    Font fixed { "MS Sans Serif", 0.0, 6, 6, 500 };
    screen.setFont(fixed);
    EXPECT_EQ(screen.textSize("120"), (Size { 18, 6 }));
}

TEST(RecordingCanvas, DrawingsCarryTheStateTheyWereMadeIn)
{
    RecordingCanvas c;
    c.drawLine({ 1, 2 }, { 3, 4 });
    c.setRasterMode(RasterMode::Invert);
    c.setClip(Rect { 0, 0, 10, 10 });
    c.setPen(Pen { rgb(0, 0, 255), 1, PenStyle::Dot });
    c.drawLine({ 5, 5 }, { 6, 6 });
    c.clearClip();
    c.drawText(Point { 7, 8 }, "x");

    const auto lines = c.ofKind(OpKind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].state.rasterMode, RasterMode::Copy);
    EXPECT_FALSE(lines[0].state.clip);
    EXPECT_EQ(lines[1].state.pen.style, PenStyle::Dot);
    EXPECT_EQ(lines[1].state.rasterMode, RasterMode::Invert);
    EXPECT_EQ(lines[1].state.clip, (Rect { 0, 0, 10, 10 }));
    EXPECT_FALSE(c.findText("x")->state.clip);
}

TEST(RecordingCanvas, AlignedTextIsPlacedByTheModel)
{
    RecordingCanvas c;
    c.setFont(Font { "Arial", 8.0 });
    const Rect box { 10, 20, 110, 60 };
    c.drawText(box, "abcd", HAlign::Centre, VAlign::Centre);
    c.drawText(box, "abcd", HAlign::Right, VAlign::Bottom);
    c.drawText(box, "abcd", HAlign::Left, VAlign::Top);
    const auto texts = c.ofKind(OpKind::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].points[0], (Point { 10 + (100 - 24) / 2, 20 + (40 - 11) / 2 }));
    EXPECT_EQ(texts[1].points[0], (Point { 110 - 24, 60 - 11 }));
    EXPECT_EQ(texts[2].points[0], (Point { 10, 20 }));
}

TEST(RecordingCanvas, TouchedPointsMakeRectangleEdgesInclusive)
{
    RecordingCanvas c;
    c.fillRect(Rect { 0, 0, 100, 50 }, rgb(1, 1, 1));
    c.drawPolyline(std::vector<Point> { { 1, 1 }, { 2, 3 }, { 4, 5 } });
    const auto points = c.touchedPoints();
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points[1], (Point { 99, 49 }));
    EXPECT_EQ(points[4], (Point { 4, 5 }));
}
