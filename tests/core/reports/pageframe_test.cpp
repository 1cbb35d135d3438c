#include "canvas/recordingcanvas.h"
#include "common/clock.h"
#include "reports/pageframe.h"

#include <gtest/gtest.h>

using namespace zorv;
using namespace zorv::canvas;

namespace {

// At 254 dpi a device pixel is 0.1 mm, so positions read as tenths of a millimetre.
constexpr int kTenthMmDpi = 254;

struct ClockPin {
    common::FixedClock fixed { 1796601600 }; // 2026-12-07 00:00 UTC
    ClockPin() { common::setClock(&fixed); }
    ~ClockPin() { common::setClock(nullptr); }
};

} // namespace

TEST(PrintHeader, TitleLinesAndRuleInMillimetres)
{
    RecordingCanvas c(kTenthMmDpi);
    const double y = reports::printHeader(c, 200.0, 280.0, "Statistiques annuelles", "Jean Plongeur", "");
    const auto title = c.findText("Statistiques annuelles");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->rect.top, 100); // 10 mm
    EXPECT_EQ(title->rect.left, 0);
    EXPECT_EQ(title->rect.right, 2000);
    EXPECT_EQ(title->state.font.pointSize, 22.0);
    const int titleLine = RecordingCanvas::pixelHeight(title->state.font, kTenthMmDpi); // 78
    const auto name = c.findText("Jean Plongeur");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->rect.top, 100 + titleLine);
    EXPECT_EQ(c.ofKind(OpKind::Text).size(), 2u); // the empty third line is left out
    const int smallLine = RecordingCanvas::pixelHeight(name->state.font, kTenthMmDpi); // 49
    const auto rules = c.ofKind(OpKind::Line);
    ASSERT_EQ(rules.size(), 1u);
    const int ruleY = 100 + titleLine + smallLine + smallLine / 2;
    EXPECT_NEAR(rules[0].points[0].y, ruleY, 1);
    EXPECT_EQ(rules[0].points[1].x, 2000);
    EXPECT_NEAR(y * 10, ruleY + titleLine / 2.0, 1.0);
}

TEST(PrintFooter, FileNameAndTodayAboveTheBottomEdge)
{
    ClockPin pin;
    RecordingCanvas c(kTenthMmDpi);
    reports::printFooter(c, 200.0, 280.0, "/home/diver/logs/Meer.log");
    const auto text = c.findText("<Meer.log> Imprimé le 07.12.2026");
    ASSERT_TRUE(text);
    const int line = RecordingCanvas::pixelHeight(text->state.font, kTenthMmDpi); // 6 pt: 21
    EXPECT_EQ(text->points[0], (Point { 100, 2800 - line }));
    const auto rule = c.ofKind(OpKind::Line).at(0);
    EXPECT_EQ(rule.points[0].y, 2800 - line - 10);

    RecordingCanvas bare(kTenthMmDpi);
    reports::printFooter(bare, 200.0, 280.0, "");
    EXPECT_TRUE(bare.findText("Imprimé le 07.12.2026"));
}
