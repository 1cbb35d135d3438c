#include "canvas/recordingcanvas.h"
#include "logbook/generator.h"
#include "profile/previewdrawing.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace zorv::profile;
using namespace zorv::canvas;
using zorv::logbook::DiveRecord;
using zorv::logbook::UnitSystem;
using zorv::settings::ProfileColour;

namespace {

TEST(PreviewLayout, SizesFollowTheView)
{
    EXPECT_EQ(previewSizeFor({ 300, 200 }), PreviewSize::Large);
    EXPECT_EQ(previewSizeFor({ 299, 400 }), PreviewSize::Small);
    EXPECT_EQ(previewSizeFor({ 500, 199 }), PreviewSize::Small);

    EXPECT_EQ(previewButtonSize(PreviewOption::Off, { 400, 300 }, { 1000, 800 }), (Size { 60, 20 }));
    EXPECT_EQ(previewButtonSize(PreviewOption::On, { 400, 300 }, { 1000, 800 }), (Size { 576, 484 }));
    EXPECT_EQ(previewButtonSize(PreviewOption::On, { 400, 300 }, { 500, 350 }), (Size { 159, 99 }));
}

class PreviewDrawing : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        zorv::logbook::generateLogbook(s_logbook, { 40, 7, 2019 });
        ASSERT_EQ(s_logbook.diveCount(), 40);
    }
    static zorv::logbook::Logbook s_logbook;
};
zorv::logbook::Logbook PreviewDrawing::s_logbook;

TEST_F(PreviewDrawing, NoProfileGivesTheGreyFaceOnly)
{
    RecordingCanvas c;
    drawPreview(c, { 400, 300 }, nullptr, PreviewStyle {});
    DiveRecord blank;
    drawPreview(c, { 400, 300 }, &blank, PreviewStyle {});
    const auto drawn = c.drawings();
    ASSERT_EQ(drawn.size(), 2u);
    for (const CanvasOp &op : drawn) {
        EXPECT_EQ(op.kind, OpKind::FillRect);
        EXPECT_EQ(op.colour, kNoProfileGrey);
        EXPECT_EQ(op.rect, (Rect { 0, 0, 400, 300 }));
    }
}

TEST_F(PreviewDrawing, EveryDrawnPointStaysInsideThePicture)
{
    const Size sizes[] = { { 159, 99 }, { 300, 200 }, { 640, 360 } };
    for (const DiveRecord &dive : s_logbook.dives()) {
        if (dive.profileLength == 0)
            continue;
        for (Size size : sizes) {
            for (UnitSystem units : { UnitSystem::Metric, UnitSystem::Imperial }) {
                RecordingCanvas c;
                PreviewStyle style;
                style.units = units;
                drawPreview(c, size, &dive, style);
                const bool large = previewSizeFor(size) == PreviewSize::Large;
                const Rect plot = large ? Rect { 26, 24, size.width - 24 + 1, size.height - 24 + 1 }
                                        : Rect { 8, 8, size.width - 8 + 1, size.height - 8 + 1 };
                for (const CanvasOp &op : c.ofKind(OpKind::Polyline)) {
                    for (const Point &p : op.points)
                        ASSERT_TRUE(plot.contains(p)) << p.x << "," << p.y << " dive " << dive.diveNumber;
                }
                for (const CanvasOp &op : c.ofKind(OpKind::Text)) {
                    const Size text = c.textSize(op.text);
                    const Point p = op.points[0];
                    EXPECT_TRUE(
                        p.x >= 0 && p.y >= 0 && p.x + text.width <= size.width && p.y + text.height <= size.height)
                        << op.text << " at " << p.x << "," << p.y;
                }
                EXPECT_EQ(c.findText("M\xC3\xA8tres").has_value(), large && units == UnitSystem::Metric);
                EXPECT_EQ(c.ofKind(OpKind::Text).empty(), !large);
            }
        }
    }
}

TEST_F(PreviewDrawing, UsesTheProfileColourSet)
{
    const auto &dives = s_logbook.dives();
    const auto found = std::ranges::find_if(dives, [](const DiveRecord &d) { return d.profileLength != 0; });
    ASSERT_NE(found, dives.end());
    const DiveRecord *dive = &*found;
    PreviewStyle style;
    style.colours[ProfileColour::Background] = rgb(10, 20, 30);
    style.colours[ProfileColour::Profile] = rgb(40, 50, 60);
    style.colours[ProfileColour::Lines] = rgb(70, 80, 90);
    style.colours[ProfileColour::Text] = rgb(100, 110, 120);
    RecordingCanvas c;
    drawPreview(c, { 400, 300 }, dive, style);
    const auto fills = c.ofKind(OpKind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].colour, rgb(10, 20, 30));
    EXPECT_EQ(c.ofKind(OpKind::Line)[0].state.pen.colour, rgb(70, 80, 90));
    EXPECT_EQ(c.findText("0")->colour, rgb(100, 110, 120));
    EXPECT_EQ(c.ofKind(OpKind::Polyline)[0].state.pen.colour, rgb(40, 50, 60));

    // A hand-drawn profile is told apart by the second-profile colour.
    DiveRecord hand = *dive;
    for (std::size_t i = 0; i < hand.profileHeader.size(); ++i)
        hand.profileHeader[i] = static_cast<std::uint16_t>(zorv::logbook::kHandProfileHeaderBase + i);
    RecordingCanvas h;
    drawPreview(h, { 400, 300 }, &hand, style);
    EXPECT_EQ(h.ofKind(OpKind::Polyline)[0].state.pen.colour, style.colours[ProfileColour::ClipProfile]);
}

} // namespace
