#include "stats/statprint.h"

#include "common/cformat.h"
#include "common/translation.h"
#include "logbook/units.h"
#include "reports/pageframe.h"

#include <algorithm>

namespace zorv::stats {

using canvas::Canvas;
using canvas::HAlign;
using canvas::VAlign;
using reports::mmToDevice;

namespace {

    constexpr double kLeftMm = 15.0;
    constexpr std::array<double, 4> kValueRightMm { 40.0, 75.0, 110.0, 145.0 };
    constexpr std::array<double, 4> kColumnRightMm { 55.0, 90.0, 125.0, 160.0 };
    constexpr std::array<const char *, 4> kColumnHeadings { N_("Total"), N_("Eau douce"), N_("Eau de mer"),
        N_("Chambre de déco") };

    canvas::Font arial(double points)
    {
        canvas::Font f;
        f.family = "Arial";
        f.pointSize = points;
        return f;
    }

    bool isConsumption(PageKind kind)
    {
        return kind == PageKind::ConsumptionYear || kind == PageKind::ConsumptionMonth;
    }

    std::string consumptionUnit(logbook::UnitSystem units)
    {
        return units == logbook::UnitSystem::Imperial ? "cft/min" : "l/min";
    }

    std::string classUnit(const StatisticsPage &page)
    {
        switch (page.kind()) {
        case PageKind::Depth:
            return std::string(logbook::unitWord(logbook::Quantity::Depth, page.units()));
        case PageKind::Temperature:
            return std::string(logbook::unitWord(logbook::Quantity::Temperature, page.units()));
        case PageKind::Duration:
            return "min";
        default:
            return consumptionUnit(page.units());
        }
    }

    void textLeft(Canvas &canvas, double xMm, double yMm, const std::string &text)
    {
        canvas.drawText({ mmToDevice(canvas, xMm), mmToDevice(canvas, yMm) }, text);
    }

    void textRight(Canvas &canvas, double rightMm, double yMm, const std::string &text)
    {
        const int right = mmToDevice(canvas, rightMm);
        const int top = mmToDevice(canvas, yMm);
        canvas.drawText(canvas::Rect { right - canvas.textWidth(text), top, right, top + canvas.textHeight(text) },
            text, HAlign::Right, VAlign::Top);
    }

    bool isCountRow(const StatisticsPage &page)
    {
        if (isConsumption(page.kind()))
            return false;
        if (isCategoryPage(page.kind()))
            return page.options.valueKind == ValueKind::Count || page.options.valueKind == ValueKind::Percent;
        return true;
    }

    // The numbers a printed row shows: counts for counting pages (the
    // percentage goes beside them), otherwise the values the window shows.
    std::array<std::optional<float>, 4> printedValues(const StatisticsPage &page, const PageRow &row)
    {
        if (!isCountRow(page))
            return row.values;
        const StatBin bin = page.table().get(row.key);
        return { bin.sum[0], bin.sum[1], bin.sum[2], bin.sum[3] };
    }

} // namespace

std::string printedRowLabel(const StatisticsPage &page, const PageRow &row)
{
    const PageKind kind = page.kind();
    if (kind != PageKind::Depth && kind != PageKind::Temperature)
        return row.label;
    // On paper the numbers are not padded to three places, and temperatures go without their unit.
    const std::vector<int> edges = classEdges(kind, page.units());
    const auto k = static_cast<std::size_t>(row.key);
    if (k < 1 || k > edges.size())
        return row.label;
    const bool last = k == edges.size();
    const int edge = edges[last ? k - 2 : k - 1] / 100;
    const std::string number = common::cformat(last ? "> %02d" : "- %02d", edge);
    if (kind == PageKind::Temperature)
        return number;
    return number + " " + std::string(logbook::unitWord(logbook::Quantity::Depth, page.units()));
}

std::string printSubtitle(const StatisticsPage &page)
{
    const bool oneYear = hasYearOption(page.kind()) && page.options.yearMode == YearMode::OneYear;
    const int year = page.options.selectedYear;
    auto forYear
        = [&](const char *all, const char *one) { return oneYear ? common::cformat(one, year) : std::string(all); };
    const std::string unit = classUnit(page);
    switch (page.kind()) {
    case PageKind::Year:
        return common::tr("Nombre de plongées par année");
    case PageKind::Month:
        return common::tr("Nombre de plongées par mois");
    case PageKind::ConsumptionYear:
        return common::cformat(
            common::tr("Consommation moyenne par année [%s]"), consumptionUnit(page.units()).c_str());
    case PageKind::ConsumptionMonth:
        return common::cformat(common::tr("Consommation moyenne par mois [%s]"), consumptionUnit(page.units()).c_str());
    case PageKind::Depth:
        return forYear(
            common::tr("Plongées par profondeur - toutes les plongées"), common::tr("Plongées par profondeur en %d"));
    case PageKind::Duration:
        return forYear(common::tr("Plongées par durée - toutes les plongées"), common::tr("Plongées par durée en %d"));
    case PageKind::Temperature:
        return forYear(common::tr("Plongées par température de l'eau - toutes les plongées"),
            common::tr("Plongées par température en %d"));
    default:
        break;
    }
    const char *what = page.kind() == PageKind::Suit ? common::tr("combinaison")
        : page.kind() == PageKind::Weather           ? common::tr("conditions extérieures")
        : page.kind() == PageKind::DiveType          ? common::tr("type de plongée")
                                                     : common::tr("activité");
    std::string text;
    switch (page.options.valueKind) {
    case ValueKind::Count:
    case ValueKind::Percent:
        text = common::cformat(common::tr("Nombre de plongées par %s"), what);
        break;
    case ValueKind::Depth:
        text = common::cformat(common::tr("Profondeur par %s [%s]"), what,
            std::string(logbook::unitWord(logbook::Quantity::Depth, page.units())).c_str());
        break;
    case ValueKind::Duration:
        text = common::cformat(common::tr("Durée par %s [min]"), what);
        break;
    case ValueKind::Consumption:
        text = common::cformat(
            common::tr("Consommation moyenne par %s [%s]"), what, consumptionUnit(page.units()).c_str());
        break;
    }
    return oneYear ? text + common::cformat(common::tr(" en %d"), year) : text;
}

StatisticsPrint::StatisticsPrint(const StatisticsPage &page, PrintSetup setup)
    : m_page(page)
    , m_setup(std::move(setup))
    , m_rows(page.rows())
{
    // Timelines start with the first year (month) that has a dive.
    if (isTimeline(page.kind()))
        while (m_firstPrinted < m_rows.size() && page.table().get(m_rows[m_firstPrinted].key).count == 0)
            ++m_firstPrinted;
}

std::vector<std::pair<std::string, std::array<std::string, 4>>> StatisticsPrint::summaryLines() const
{
    std::vector<std::pair<std::string, std::array<std::string, 4>>> lines;
    const std::string unit = classUnit(m_page);
    auto cell = [&](float v, const char *fmt) {
        return v == 0.0f ? std::string() : common::cformat(fmt, static_cast<double>(v), unit.c_str());
    };
    const PageKind kind = m_page.kind();
    if (isClassPage(kind)) {
        const auto &s = m_page.summaries();
        const bool temperature = kind == PageKind::Temperature;
        const char *minLabel = kind == PageKind::Depth ? common::tr("Min. Prof.")
            : kind == PageKind::Duration               ? common::tr("Min. Durée")
                                                       : common::tr("Min. Temp.");
        const char *maxLabel = kind == PageKind::Depth ? common::tr("Max. Prof.")
            : kind == PageKind::Duration               ? common::tr("Max. Durée")
                                                       : common::tr("Max. Temp.");
        std::array<std::string, 4> sum, average, minimum, maximum;
        for (std::size_t c = 0; c < 4; ++c) {
            sum[c] = cell(s[c].sum, "%.1f %s");
            average[c] = cell(s[c].average, "%.2f %s");
            minimum[c] = cell(s[c].min, "%.1f %s");
            maximum[c] = cell(s[c].max, "%.1f %s");
        }
        if (!temperature)
            lines.push_back({ common::tr("Somme:"), sum });
        lines.push_back({ common::tr("Moyenne:"), average });
        lines.push_back({ std::string(minLabel) + ":", minimum });
        lines.push_back({ std::string(maxLabel) + ":", maximum });
    } else if (kind == PageKind::Year || kind == PageKind::Month) {
        const StatBin &total = m_page.table().total();
        std::array<std::string, 4> average;
        for (std::size_t c = 0; c < 4; ++c)
            average[c]
                = total.sum[c] == 0.0f ? std::string() : common::cformat("%.1f", static_cast<double>(total.sum[c]));
        lines.push_back({ common::tr("Moyenne:"), average });
    } else if (isConsumption(kind)) {
        const char *fmt = m_page.units() == logbook::UnitSystem::Imperial ? "%.2f %s" : "%.1f %s";
        std::array<float, 3> lowest { kNoMinimum, kNoMinimum, kNoMinimum };
        std::array<float, 3> highest {};
        for (const StatBin &bin : m_page.table().bins())
            for (std::size_t c = 0; c < 3; ++c) {
                lowest[c] = std::min(lowest[c], bin.min[c]);
                highest[c] = std::max(highest[c], bin.max[c]);
            }
        std::array<std::string, 4> average, minimum, maximum;
        for (std::size_t c = 0; c < 3; ++c) {
            average[c] = cell(m_page.table().total().sum[c], fmt);
            minimum[c] = cell(lowest[c] == kNoMinimum ? 0.0f : lowest[c], fmt);
            maximum[c] = cell(highest[c], fmt);
        }
        lines.push_back({ common::tr("Moyenne:"), average });
        lines.push_back({ common::tr("Minimum:"), minimum });
        lines.push_back({ common::tr("Maximum:"), maximum });
    }
    return lines;
}

std::vector<StatisticsPrint::Sheet> StatisticsPrint::paginate(Canvas &canvas) const
{
    // Every sheet has the same frame, so one measurement serves all of them.
    const double top = reports::headerBottomMm(canvas, m_setup.diverName, m_setup.club);
    const double bottom = reports::footerTopMm(canvas, m_setup.pageHeightMm);
    canvas.setFont(arial(11));
    const double subtitleLine = reports::lineHeightMm(canvas);
    canvas.setFont(arial(9));
    const double line = reports::lineHeightMm(canvas);
    const double firstRowY = top + subtitleLine + line / 2 + line;
    const auto rowsPerSheet = static_cast<std::size_t>(std::max(1.0, (bottom - firstRowY) / line));
    const std::size_t summaryLinesNeeded = summaryLines().empty() ? 0 : 2 + summaryLines().size();

    std::vector<Sheet> sheets;
    const std::size_t end = m_rows.size();
    if (m_page.kind() == PageKind::Activity) {
        sheets.push_back({ 0, std::min<std::size_t>(13, end), false });
        sheets.push_back({ std::min<std::size_t>(13, end), end, false });
        return sheets;
    }
    std::size_t row = m_firstPrinted;
    do {
        const std::size_t sheetEnd = std::min(end, row + rowsPerSheet);
        sheets.push_back({ row, sheetEnd, false });
        row = sheetEnd;
    } while (row < end);
    if (summaryLinesNeeded > 0) {
        Sheet &last = sheets.back();
        if ((last.endRow - last.firstRow) + summaryLinesNeeded <= rowsPerSheet)
            last.summary = true;
        else
            sheets.push_back({ end, end, true });
    }
    return sheets;
}

int StatisticsPrint::pageCount(Canvas &canvas) const
{
    return static_cast<int>(paginate(canvas).size());
}

void StatisticsPrint::drawPage(Canvas &canvas, int index) const
{
    const std::vector<Sheet> sheets = paginate(canvas);
    if (index < 0 || index >= static_cast<int>(sheets.size()))
        return;
    const Sheet &sheet = sheets[static_cast<std::size_t>(index)];
    const double width = m_setup.pageWidthMm;
    const double height = m_setup.pageHeightMm;
    canvas.setTextColour(0);
    double y = reports::printHeader(
        canvas, width, height, pageTexts(m_page.kind()).printTitle, m_setup.diverName, m_setup.club);
    reports::printFooter(canvas, width, height, m_setup.logbookPath);

    canvas.setFont(arial(11));
    textLeft(canvas, kLeftMm, y, printSubtitle(m_page));
    y += reports::lineHeightMm(canvas);
    canvas.setFont(arial(9));
    const double line = reports::lineHeightMm(canvas);
    y += line / 2;
    textLeft(canvas, kLeftMm, y, pageTexts(m_page.kind()).rowHeading);
    const std::size_t columns = isConsumption(m_page.kind()) ? 3 : 4;
    for (std::size_t c = 0; c < columns; ++c)
        textRight(canvas, kColumnRightMm[c], y, common::tr(kColumnHeadings[c]));
    y += line;

    const bool counting = isCountRow(m_page);
    const float base = m_page.percentBase();
    for (std::size_t r = sheet.firstRow; r < sheet.endRow; ++r) {
        const PageRow &row = m_rows[r];
        textLeft(canvas, kLeftMm, y, printedRowLabel(m_page, row));
        const auto values = printedValues(m_page, row);
        for (std::size_t c = 0; c < columns; ++c) {
            if (!values[c] || *values[c] == 0.0f)
                continue;
            const double v = *values[c];
            if (counting) {
                textRight(canvas, kValueRightMm[c], y, common::cformat("%.0f", v));
                textRight(canvas, kColumnRightMm[c], y,
                    common::cformat("(%.1f%%)", base == 0.0f ? 0.0 : v * 100.0 / static_cast<double>(base)));
            } else {
                textRight(canvas, kColumnRightMm[c], y, common::cformat("%.*f", row.decimals, v));
            }
        }
        y += line;
    }
    if (!sheet.summary)
        return;
    y += 2 * line;
    for (const auto &[label, cells] : summaryLines()) {
        textLeft(canvas, kLeftMm, y, label);
        for (std::size_t c = 0; c < columns; ++c)
            if (!cells[c].empty())
                textRight(canvas, kColumnRightMm[c], y, cells[c]);
        y += line;
    }
}

} // namespace zorv::stats
