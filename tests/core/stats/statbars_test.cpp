#include "canvas/recordingcanvas.h"
#include "logbook/daynumber.h"
#include "reports/pageframe.h"
#include "stats/statbars.h"
#include "stats/statprint.h"
#include "statstestdives.h"

#include <gtest/gtest.h>

using namespace zorv;
using namespace zorv::stats;
using namespace zorv::canvas;

namespace {

const BarColours kColours { rgb(0, 0, 255), rgb(255, 0, 0), rgb(255, 255, 0), rgb(0, 255, 0), rgb(0, 128, 0) };
const Rgb kBackground = rgb(255, 255, 255);
const Rect kField { 10, 20, 210, 32 }; // 200 by 12 pixels

struct Fill {
    Rect rect;
    Rgb colour;
    bool operator==(const Fill &) const = default;
};

// The fills after the field was cleared.
std::vector<Fill> barFills(const RecordingCanvas &c)
{
    std::vector<Fill> fills;
    for (const CanvasOp &op : c.ofKind(OpKind::FillRect))
        fills.push_back({ op.rect, op.colour });
    EXPECT_FALSE(fills.empty());
    EXPECT_EQ(fills.front(), (Fill { kField, kBackground }));
    fills.erase(fills.begin());
    return fills;
}

} // namespace

TEST(Bars, CountBarStacksChamberSeaAndFreshFromTheLeft)
{
    RecordingCanvas c;
    drawCountBar(c, kField, 2, 3, 1, 10, kColours, kBackground);
    EXPECT_EQ(barFills(c),
        (std::vector<Fill> { { { 10, 20, 130, 32 }, kColours[0] }, { { 10, 20, 90, 32 }, kColours[1] },
            { { 10, 20, 30, 32 }, kColours[2] } }));

    RecordingCanvas chamberOnly;
    drawCountBar(chamberOnly, kField, 0, 0, 4, 10, kColours, kBackground);
    // The fresh and sea fills have the chamber's length; chamber paints over them.
    EXPECT_EQ(barFills(chamberOnly).back(), (Fill { { 10, 20, 90, 32 }, kColours[2] }));

    RecordingCanvas empty;
    drawCountBar(empty, kField, 0, 0, 0, 10, kColours, kBackground);
    EXPECT_TRUE(barFills(empty).empty());

    RecordingCanvas beyond; // never past the field
    drawCountBar(beyond, kField, 30, 0, 0, 10, kColours, kBackground);
    EXPECT_EQ(barFills(beyond).front().rect.right, 210);

    RecordingCanvas noScale;
    drawCountBar(noScale, kField, 3, 0, 0, 0, kColours, kBackground);
    EXPECT_TRUE(barFills(noScale).empty());
}

TEST(Bars, ValueBarStripsOnlyFromTwoWaterColumns)
{
    RecordingCanvas two;
    drawValueBar(two, kField, 5, 4, 6, 0, 10, kColours[4], kColours, kBackground);
    EXPECT_EQ(barFills(two),
        (std::vector<Fill> { { { 10, 20, 110, 26 }, kColours[4] }, { { 10, 26, 90, 29 }, kColours[0] },
            { { 10, 29, 130, 32 }, kColours[1] } }));

    RecordingCanvas single;
    drawValueBar(single, kField, 5, 5, 0, 0, 10, kColours[3], kColours, kBackground);
    EXPECT_EQ(barFills(single), (std::vector<Fill> { { { 10, 20, 110, 32 }, kColours[3] } }));

    RecordingCanvas consumption; // a single column gets its strip here
    drawConsumptionBar(consumption, kField, 5, 0, 5, 10, kColours[3], kColours, kBackground);
    EXPECT_EQ(barFills(consumption),
        (std::vector<Fill> { { { 10, 20, 110, 29 }, kColours[3] }, { { 10, 29, 110, 32 }, kColours[1] } }));
}

TEST(Bars, RowAtTheAverageTakesTheBelowAverageColour)
{
    BarValues bar { BarKind::Value, 4, 4, 0, 0, false }; // aboveAverage is value > average
    RecordingCanvas c;
    drawRowBar(c, kField, bar, 10, kColours, kBackground);
    EXPECT_EQ(barFills(c).front().colour, kColours[3]);
    bar.aboveAverage = true;
    RecordingCanvas above;
    drawRowBar(above, kField, bar, 10, kColours, kBackground);
    EXPECT_EQ(barFills(above).front().colour, kColours[4]);
}

namespace {

using test::dive;

struct ClockPin {
    common::FixedClock fixed { 1796601600 }; // 2026-12-07
    ClockPin() { common::setClock(&fixed); }
    ~ClockPin() { common::setClock(nullptr); }
};

// 254 dpi: one device pixel is 0.1 mm.
constexpr int kDpi = 254;

} // namespace

TEST(PrintedPages, ClassPageTableInMillimetres)
{
    ClockPin pin;
    const logbook::Logbook book = test::logbookOf({ dive(2024, 1, 1200), dive(2024, 2, 1400, 0), dive(2024, 3, 400) });
    StatisticsPage page(PageKind::Depth);
    page.compute(book);
    const StatisticsPrint print(page, { 200, 280, "Jean", "CSM", "/x/Meer.log" });
    RecordingCanvas c(kDpi);
    ASSERT_EQ(print.pageCount(c), 1);
    c.clear();
    print.drawPage(c, 0);
    ASSERT_TRUE(c.findText("Statistiques de profondeur"));
    ASSERT_TRUE(c.findText("<Meer.log> Imprimé le 07.12.2026"));
    const auto subtitle = c.findText("Plongées par profondeur - toutes les plongées");
    ASSERT_TRUE(subtitle);
    EXPECT_EQ(subtitle->points[0].x, 150);
    const auto heading = c.findText("Eau de mer");
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->rect.right, 1250);
    // "- 15 m": two dives, one at sea, one in the chamber; fresh water stays empty.
    const auto label = c.findText("- 15 m");
    ASSERT_TRUE(label);
    const int y = label->points[0].y;
    std::vector<std::pair<int, std::string>> cells;
    for (const CanvasOp &op : c.ofKind(OpKind::Text))
        if (op.rect.top == y && op.rect.right > 0)
            cells.emplace_back(op.rect.right, op.text);
    EXPECT_EQ(cells,
        (std::vector<std::pair<int, std::string>> { { 400, "2" }, { 550, "(66.7%)" }, { 1100, "1" },
            { 1250, "(33.3%)" }, { 1450, "1" }, { 1600, "(33.3%)" } }));
    EXPECT_TRUE(c.findText("Somme:"));
    EXPECT_TRUE(c.findText("30.0 m"));
    EXPECT_TRUE(c.findText("10.00 m"));
}

TEST(PrintedPages, ClassLabelsOnPaper)
{
    const logbook::Logbook book = test::logbookOf({}, logbook::UnitSystem::Imperial);
    StatisticsPage depth(PageKind::Depth);
    depth.compute(book, { 2026, 12, 6 });
    const auto rows = depth.rows();
    EXPECT_EQ(printedRowLabel(depth, rows[0]), "- 16 ft");
    EXPECT_EQ(printedRowLabel(depth, rows[6]), "- 112 ft");
    EXPECT_EQ(printedRowLabel(depth, rows[13]), "> 208 ft");
    StatisticsPage temperature(PageKind::Temperature);
    temperature.compute(book, { 2026, 12, 6 });
    EXPECT_EQ(printedRowLabel(temperature, temperature.rows()[10]), "> 84");
    EXPECT_EQ(temperature.rows()[10].label, "> 84 °F");
}

TEST(PrintedPages, LongTimelinesContinueOnMoreSheetsFromTheFirstYearWithDives)
{
    ClockPin pin;
    std::vector<logbook::DiveRecord> dives;
    for (int year = 1975; year <= 2026; ++year)
        dives.push_back(dive(year, 6, 1000, logbook::dive_type::kFreshWater));
    const logbook::Logbook book = test::logbookOf(std::move(dives));
    StatisticsPage months(PageKind::Month);
    months.compute(book);
    const StatisticsPrint print(months, { 200, 280, "", "", "" });
    RecordingCanvas c(kDpi);
    const int sheets = print.pageCount(c);
    EXPECT_GT(sheets, 5);
    // Every month from the first dive's on is printed once, on some sheet.
    std::size_t monthLabels = 0;
    for (int sheet = 0; sheet < sheets; ++sheet) {
        c.clear();
        print.drawPage(c, sheet);
        monthLabels += c.drawings([](const CanvasOp &op) {
                            return op.kind == OpKind::Text && op.points[0].x == 150 && op.state.font.pointSize == 9.0
                                && op.text != "Mois" && op.text != "Moyenne:";
                        }).size();
    }
    EXPECT_EQ(monthLabels, 619u); // June 1975 to December 2026
    c.clear();
    print.drawPage(c, 0);
    std::vector<CanvasOp> labels = c.drawings([](const CanvasOp &op) { return op.kind == OpKind::Text; });
    EXPECT_TRUE(c.findText("Juin 1975")); // the months before the first dive are skipped
    EXPECT_FALSE(c.findText("Jan 1975"));
    const double footer = reports::footerTopMm(c, 280);
    for (const CanvasOp &op : labels) {
        if (op.state.font.pointSize == 9.0) {
            EXPECT_LT(op.points[0].y + RecordingCanvas::pixelHeight(op.state.font, kDpi), footer * 10 + 1) << op.text;
        }
    }
    c.clear();
    print.drawPage(c, sheets - 1);
    EXPECT_TRUE(c.findText("Moyenne:"));
    c.clear();
    print.drawPage(c, 1);
    EXPECT_FALSE(c.findText("Moyenne:"));
    EXPECT_FALSE(c.findText("Juin 1975"));
}
