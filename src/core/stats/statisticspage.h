// The eleven statistics pages: what each counts, its rows in key order, its scale and its scrolling window.
#pragma once

#include "common/clock.h"
#include "logbook/logbook.h"
#include "logbook/unitsystem.h"
#include "stats/stattable.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zorv::stats {

// In the chooser's order, which is also the page index.
enum class PageKind {
    Year,
    Month,
    Depth,
    Duration,
    Temperature,
    Suit,
    Weather,
    DiveType,
    Activity,
    ConsumptionYear,
    ConsumptionMonth,
};
inline constexpr int kPageCount = 11;

enum class ValueKind {
    Count,
    Percent,
    Depth, // category pages only, from here on
    Duration,
    Consumption,
};

enum class YearMode {
    Total,
    OneYear,
};

enum class DepthSource {
    Maximum,
    Average,
};

struct PageOptions {
    YearMode yearMode = YearMode::Total;
    int selectedYear = 0; // 0: the current year, set by the first compute
    ValueKind valueKind = ValueKind::Count;
    Aggregate aggregate = Aggregate::Average;
    DepthSource depth = DepthSource::Maximum;
};

enum class BarKind {
    Count, // stacked water columns
    Value, // main bar by the average, strips when two or more columns have a value
    Consumption, // main bar by the average, a strip for each water column with a value
};

// What a bar routine needs to draw one row.
struct BarValues {
    BarKind kind = BarKind::Count;
    float total = 0.0f;
    float fresh = 0.0f;
    float sea = 0.0f;
    float chamber = 0.0f;
    bool aboveAverage = false;
};

// One row as the window shows it: the numbers of the four columns (empty where
// the window leaves a field empty) with their number of decimals.
struct PageRow {
    unsigned key = 0;
    std::string label; // UTF-8
    std::array<std::optional<float>, 4> values;
    int decimals = 0;
    BarValues bar;
};

// The page's static texts.
struct PageTexts {
    const char *button; // the chooser's radio button
    const char *caption; // the window's caption
    const char *printTitle;
    const char *rowHeading; // printed
};
// The texts in the chosen language.
PageTexts pageTexts(PageKind kind);

// Which options a page offers.
bool hasYearOption(PageKind kind); // "Total" / "Année"
bool isClassPage(PageKind kind);
bool isCategoryPage(PageKind kind);
bool isTimeline(PageKind kind); // rows by year or month, scrolled in a fixed window

class StatisticsPage {
public:
    explicit StatisticsPage(PageKind kind);

    PageKind kind() const { return m_kind; }
    PageOptions options;

    // Walks the logbook and fills the table; `today` gives the current year and month.
    void compute(const logbook::Logbook &logbook, const common::LocalDateTime &today);
    // As above with the program's clock.
    void compute(const logbook::Logbook &logbook);

    const StatTable &table() const { return m_table; }
    float scale() const { return m_table.scale; }
    logbook::UnitSystem units() const { return m_units; }
    // The year of the first dated dive (the current year when none): the low end
    // of the year field's range.
    int firstDiveYear() const { return m_firstDiveYear; }
    int currentYear() const { return m_currentYear; }
    // A year outside firstDiveYear..currentYear is refused and the previous one stays.
    bool setSelectedYear(int year);
    unsigned yearDiveCount() const { return m_yearDiveCount; }
    // The dives a percentage is taken of.
    float percentBase() const { return m_percentBase; }
    // Timelines: the dives left out because they are dated after the current year (month), which has the
    // last row; and the sentence telling the user so, empty when none was left out.
    unsigned laterDiveCount() const { return m_laterDiveCount; }
    std::string uncountedNote() const;

    // Every row in key order, empty ones included.
    std::vector<PageRow> rows() const;
    // The "Ø:" row of the year, month and consumption pages.
    std::optional<PageRow> averageRow() const;
    // Class pages: the classed value's sum, average, minimum and maximum per column.
    const std::array<ValueSummary, 4> &summaries() const { return m_summaries; }
    // The distinct suit model texts of the counted dives (suit page).
    const std::vector<std::string> &suitModels() const { return m_suitModels; }

    // Timelines show a window of rows with the newest at the bottom; the other
    // pages show every row. firstShownRow() indexes rows().
    int shownRowCount() const;
    int firstShownRow() const { return m_firstShown; }
    int maxFirstShownRow() const;
    // Returns true when the shown rows changed, so bars need redrawing.
    bool scrollTo(int firstRow);
    bool scrollBy(int rows) { return scrollTo(m_firstShown + rows); }
    // The label of the first row of a timeline: its year, or month and year.
    int firstKeyYear() const { return m_timelineFirstYear; }
    int firstKeyMonth() const { return m_timelineFirstMonth; }

private:
    void computeTimeline(const logbook::Logbook &logbook);
    void computeClasses(const logbook::Logbook &logbook);
    void computeCategories(const logbook::Logbook &logbook);
    std::string rowLabel(unsigned key) const;

    PageKind m_kind;
    StatTable m_table;
    std::array<ValueSummary, 4> m_summaries;
    std::vector<std::string> m_suitModels;
    logbook::UnitSystem m_units = logbook::UnitSystem::Metric;
    int m_currentYear = 0;
    int m_currentMonth = 0;
    int m_firstDiveYear = 0;
    int m_timelineFirstYear = 0;
    int m_timelineFirstMonth = 1;
    unsigned m_yearDiveCount = 0;
    unsigned m_laterDiveCount = 0;
    float m_percentBase = 0.0f;
    int m_firstShown = 0;
    bool m_computed = false;
};

// The class edges of a class page in hundredths of the shown unit (whole minutes
// for durations), ascending; the last is a sentinel no real value reaches.
std::vector<int> classEdges(PageKind kind, logbook::UnitSystem units);
// The window's label of class k (from 1), e.g. "- 05 m", "> 65 m".
std::string classLabel(PageKind kind, logbook::UnitSystem units, int classNumber);

// The monthly behaviour window: every dated dive in its calendar month, whatever its year.
struct MonthlyBehaviour {
    std::array<std::array<int, 12>, 4> counts {}; // [column][month]
    int scale = 10;
};
MonthlyBehaviour countMonthlyBehaviour(const logbook::Logbook &logbook);
// "Jan" .. "Dec".
const char *monthName(int month);

// Splits a names text at ",", ";", "+" and "&": one blank after a separator is
// skipped and each name trimmed.
std::vector<std::string_view> splitNames(std::string_view text);

} // namespace zorv::stats
