#include "reports/logbookprint.h"

#include "canvas/scaledcanvas.h"
#include "common/cformat.h"
#include "common/translation.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbook.h"
#include "logbook/units.h"
#include "profile/previewdrawing.h"
#include "profile/profileplot.h"
#include "reports/pageframe.h"

#include <algorithm>
#include <span>

namespace zorv::reports {

using canvas::Canvas;
using canvas::HAlign;
using logbook::DiveRecord;
using logbook::Field;
using logbook::FieldCatalogue;
using logbook::Quantity;

namespace {

    constexpr std::size_t kCommentWidth = 40;
    constexpr std::size_t kAlwaysPrintedLines = 7;
    constexpr std::size_t kMostCommentLines = 14;

    // The frame of one dive on its half sheet, in millimetres.
    constexpr double kFrameLeft = 20.0;
    constexpr double kFrameRight = 190.0;
    constexpr double kFrameHeight = 125.0;
    constexpr double kColumnSplit = 90.0;
    constexpr double kProfileLeft = 96.0;
    constexpr double kProfileRight = 186.0;
    constexpr double kProfileBottom = 108.0;
    constexpr double kStripTop = 112.0;
    constexpr double kStripBottom = 124.0;

    constexpr canvas::Rgb kBlack = canvas::rgb(0, 0, 0);
    constexpr canvas::Rgb kDecoRed = canvas::rgb(255, 0, 0);
    constexpr canvas::Rgb kProfileBlue = canvas::rgb(0, 0, 255);
    constexpr canvas::Rgb kWarningColour = canvas::rgb(128, 0, 64);
    constexpr canvas::Rgb kSignalColour = canvas::rgb(255, 192, 0);

    canvas::Font font(const char *family, double points)
    {
        canvas::Font f;
        f.family = family;
        f.pointSize = points;
        return f;
    }

    int dev(const Canvas &canvas, double mm)
    {
        return mmToDevice(canvas, mm);
    }

    void textAt(Canvas &canvas, double xMm, double yMm, std::string_view text, HAlign align = HAlign::Left)
    {
        if (text.empty())
            return;
        if (align == HAlign::Left) {
            canvas.drawText({ dev(canvas, xMm), dev(canvas, yMm) }, text);
            return;
        }
        const int width = canvas.textWidth(text);
        const int x = align == HAlign::Right ? dev(canvas, xMm) - width : dev(canvas, xMm) - width / 2;
        canvas.drawText({ x, dev(canvas, yMm) }, text);
    }

    void lineMm(Canvas &canvas, double x1, double y1, double x2, double y2)
    {
        canvas.drawLine({ dev(canvas, x1), dev(canvas, y1) }, { dev(canvas, x2), dev(canvas, y2) });
    }

    // Cuts a text to what fits into `widthMm`, so that a long place name does not run over the next column.
    std::string fitted(const Canvas &canvas, std::string text, double widthMm)
    {
        const int limit = dev(canvas, widthMm);
        while (!text.empty() && canvas.textWidth(text) > limit) {
            text.pop_back();
            // Never leave half of a UTF-8 character behind.
            while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
                text.pop_back();
            if (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0xC0)
                text.pop_back();
        }
        return text;
    }

    std::string_view consumptionUnit(logbook::UnitSystem units)
    {
        return units == logbook::UnitSystem::Metric ? "l/min" : "cft/min";
    }

    // One labelled value of a dive page row: "Label:" at the label's x, the value at its own x, and a unit.
    struct Cell {
        const char *label;
        double labelX;
        Field field;
        double valueX;
        std::string_view unit {};
        double unitX = 0.0;
    };

    void drawCell(Canvas &canvas, const FieldCatalogue &catalogue, const DiveRecord *dive, const Cell &cell, double y)
    {
        textAt(canvas, cell.labelX, y, std::string(common::tr(cell.label)) + ":");
        if (dive)
            textAt(canvas, cell.valueX, y, catalogue.fromRecord(cell.field, *dive, logbook::DateForm::Long));
        if (!cell.unit.empty())
            textAt(canvas, cell.unitX, y, cell.unit);
    }

    void drawProfileBox(Canvas &canvas, const logbook::Logbook &logbook, const DiveRecord &dive, double topMm,
        double profileTopMm, const LogbookPrintInfo &info)
    {
        // The chart is laid out as on the screen and scaled to the paper, so its labels keep their places.
        const canvas::Point origin { dev(canvas, kProfileLeft), dev(canvas, profileTopMm) };
        canvas::ScaledCanvas chart(
            canvas, canvas::ScaledCanvas::screenPixelScale(canvas.dpi()), origin, canvas::ZeroWidthPen::OneUnit);
        const int width = chart.fromDevice(dev(canvas, kProfileRight) - origin.x);
        const int height = chart.fromDevice(dev(canvas, topMm + kProfileBottom) - origin.y);
        const logbook::UnitSystem units = logbook.unitSystem();
        // The top margin holds the unit caption above the depth axis's "0", as on the screen.
        profile::ProfilePlot plot(kBlack, kBlack, 26, 24, width - 30, height - 40, units);
        profile::setDiveRanges(plot, dive, units);
        const int sampleCount = std::min<int>(dive.sampleCount, logbook::kMaxSamples);
        const int xCount = sampleCount + 1;
        plot.drawAxes(chart, xCount, profile::Grid::On);
        const std::span<const logbook::ProfileSample> samples = logbook::profileSamples(dive);
        plot.drawDecoLine(chart, kDecoRed, samples);
        plot.drawProfile(chart, kProfileBlue, kWarningColour, 4, samples, xCount);

        const canvas::Point stripOrigin { origin.x, dev(canvas, topMm + kStripTop) };
        canvas::ScaledCanvas stripCanvas(
            canvas, canvas::ScaledCanvas::screenPixelScale(canvas.dpi()), stripOrigin, canvas::ZeroWidthPen::OneUnit);
        const int stripHeight = stripCanvas.fromDevice(dev(canvas, topMm + kStripBottom) - stripOrigin.y);
        profile::ProfilePlot strip(kBlack, kBlack, 26, 0, width - 30, stripHeight, units);
        strip.setRanges(0, sampleCount, 0, 100);
        const profile::SignalLane lane = info.airIntegrated && info.airIntegrated(dive.computerType)
            ? profile::SignalLane::On
            : profile::SignalLane::Off;
        strip.drawStripFrame(stripCanvas, xCount, lane);
        strip.drawWarningLanes(stripCanvas, kWarningColour, kSignalColour, 4, samples, xCount, lane);
    }

} // namespace

void prepareRange(PrintJob &job, const logbook::Logbook &logbook)
{
    if (job.fromNumber != -1 || logbook.diveCount() == 0)
        return;
    const int current = std::clamp(logbook.currentDive(), 1, logbook.diveCount());
    job.fromNumber = job.toNumber = logbook.diveNumberAt(current);
}

std::optional<PrintRange> settleRange(PrintJob &job, const logbook::Logbook &logbook)
{
    const int count = logbook.diveCount();
    if (count == 0)
        return std::nullopt;
    const int firstNumber = logbook.diveNumberAt(1);
    const int lastNumber = logbook.diveNumberAt(count);
    job.toNumber = std::min(job.toNumber, lastNumber);
    job.fromNumber = std::min(job.fromNumber, job.toNumber);
    job.fromNumber = std::max(job.fromNumber, firstNumber);
    PrintRange range;
    for (int position = 1; position <= count; ++position) {
        const int number = logbook.diveNumberAt(position);
        if (number == job.fromNumber)
            range.first = position;
        if (number == job.toNumber)
            range.last = position;
    }
    if (range.first == 0 || range.last == 0)
        return std::nullopt;
    return range;
}

std::vector<std::string> commentLines(std::string_view comment)
{
    std::vector<std::string> lines;
    std::string_view rest = comment;
    while (!rest.empty() && lines.size() < kMostCommentLines) {
        std::size_t cut = std::min(rest.size(), kCommentWidth);
        if (rest.size() > kCommentWidth && rest[kCommentWidth - 1] != ' ' && rest[kCommentWidth] != ' ') {
            // A word runs over the end: break at the last blank among characters 2 to 40, if there is one.
            const std::size_t blank = rest.substr(1, kCommentWidth - 1).rfind(' ');
            if (blank != std::string_view::npos)
                cut = blank + 1;
        }
        std::string_view line = rest.substr(0, cut);
        rest.remove_prefix(cut);
        while (!line.empty() && line.front() == ' ')
            line.remove_prefix(1);
        lines.emplace_back(line);
    }
    // Lines past the seventh are printed only while they hold something.
    std::size_t keep = std::min(lines.size(), kAlwaysPrintedLines);
    while (keep < lines.size() && !lines[keep].empty())
        ++keep;
    lines.resize(std::max(keep, kAlwaysPrintedLines));
    return lines;
}

void drawDive(Canvas &canvas, const logbook::Logbook &logbook, const DiveRecord &dive, double topMm,
    DivePageOption option, const LogbookPrintInfo &info)
{
    const bool values = option == DivePageOption::Complete;
    const bool form = option != DivePageOption::ProfileOnly;
    const FieldCatalogue catalogue(logbook);
    const logbook::UnitSystem units = logbook.unitSystem();
    const DiveRecord *shown = values ? &dive : nullptr;

    canvas.setPen(canvas::Pen { kBlack, 1, canvas::PenStyle::Solid });
    canvas.setBrush(canvas::Brush {});
    canvas.setTextColour(kBlack);
    canvas.setFont(font("Arial", 9));
    const double line = lineHeightMm(canvas);

    if (form) {
        canvas.drawRect({ dev(canvas, kFrameLeft), dev(canvas, topMm), dev(canvas, kFrameRight),
            dev(canvas, topMm + kFrameHeight) });
        textAt(canvas, 23, topMm + 1,
            values ? common::cformat(common::tr("N° de plongée: %d"), static_cast<int>(dive.diveNumber))
                   : common::tr("N° de plongée:"));
        if (values && !info.logbookPath.empty()) {
            const std::size_t slash = info.logbookPath.find_last_of('/');
            textAt(canvas, 188, topMm + 1,
                "<" + info.logbookPath.substr(slash == std::string::npos ? 0 : slash + 1) + ">", HAlign::Right);
        }
    }

    double y = topMm + 1;
    auto separator = [&] {
        const double at = y + line * 1.5;
        if (form)
            lineMm(canvas, kFrameLeft, at, kFrameRight, at);
        y = at - line / 2; // the next row starts half a line below the rule
    };
    auto row = [&](std::initializer_list<Cell> cells) {
        y += line;
        if (form) {
            for (const Cell &cell : cells)
                drawCell(canvas, catalogue, shown, cell, y);
        }
    };
    const std::string_view temperature = logbook::unitWord(Quantity::Temperature, units);
    separator();
    row({ { N_("Date"), 23, Field::Date, 40 }, { N_("Heure"), 90, Field::EntryTime, 117 },
        { N_("Intervalle"), 150, Field::SurfaceInterval, 167 } });
    row({ { N_("Lieu"), 23, Field::Place, 40 }, { N_("Site"), 90, Field::Site, 117 } });
    separator();
    row({ { N_("Niveau d'altitude"), 23, Field::AltitudeClass, 55 },
        { N_("Temp. air"), 90, Field::AirTemperature, 130, temperature, 140 } });
    row({ { N_("Temps"), 23, Field::Weather, 55 },
        { N_("Temp. min. eau"), 90, Field::MinWaterTemperature, 130, temperature, 140 } });
    row({ { N_("Combinaison"), 23, Field::Suit, 55 },
        { N_("Cont. bouteille"), 90, Field::TankVolume, 130, logbook::unitWord(Quantity::TankVolume, units), 140 } });
    separator();
    row({ { N_("Prof. max."), 23, Field::MaxDepth, 55, logbook::unitWord(Quantity::Depth, units), 65 },
        { N_("Durée"), 90, Field::Duration, 130 } });
    row({ { N_("Cons. air"), 23, Field::AirUsed, 55, logbook::unitWord(Quantity::Pressure, units), 65 },
        { N_("Cons.Moy"), 90, Field::AirConsumption, 130, consumptionUnit(units), 140 } });
    row({ { N_("Type de plongée"), 23, Field::DiveTypeText, 55 } });
    row({ { N_("Activité"), 23, Field::ActivitiesText, 55 } });
    row({ { N_("Alarmes"), 23, Field::WarningsText, 55 } });
    row({ { N_("Partenaires"), 23, Field::Partners, 55 } });
    if (values)
        textAt(canvas, 186, y, catalogue.fromRecord(Field::ComputerNameForPrint, dive), HAlign::Right);
    separator();
    const double lowerTop = y + line / 2;
    if (form)
        lineMm(canvas, kColumnSplit, lowerTop, kColumnSplit, topMm + kFrameHeight);

    // The comment column.
    canvas.setFont(font("Arial", 8));
    const double commentLine = lineHeightMm(canvas);
    const std::vector<std::string> lines = commentLines(values ? catalogue.fromRecord(Field::Comment, dive) : "");
    double commentY = y + line;
    for (const std::string &text : lines) {
        if (values)
            textAt(canvas, 23, commentY, text);
        commentY += commentLine;
    }
    if (form) {
        const double signatureRule = commentY + commentLine / 2;
        lineMm(canvas, kFrameLeft, signatureRule, kColumnSplit, signatureRule);
        if (values)
            textAt(canvas, 23, signatureRule + commentLine / 2, common::tr("Signature/Cachet:"));
    }

    if (option != DivePageOption::BlankForm)
        drawProfileBox(canvas, logbook, dive, topMm, lowerTop, info);
}

LogbookPrinter::LogbookPrinter(
    const logbook::Logbook &logbook, const PrintJob &job, PrintRange range, LogbookPrintInfo info)
    : m_logbook(logbook)
    , m_job(job)
    , m_range(range)
    , m_info(std::move(info))
    , m_next(range.first)
{
}

bool LogbookPrinter::printPage(Canvas &canvas, PageSizeMm page)
{
    ++m_pages;
    switch (m_job.mode) {
    case PrintMode::DivePages:
        return printDivePage(canvas, page);
    case PrintMode::DiveList:
        return printListPage(canvas, page);
    case PrintMode::CoverPage:
        printCoverPage(canvas, page);
        return false;
    }
    return false;
}

bool LogbookPrinter::printDivePage(Canvas &canvas, PageSizeMm page)
{
    const double half = page.height / 2;
    if (m_job.separator) {
        canvas.setPen(canvas::Pen { kBlack, 1, canvas::PenStyle::Solid });
        lineMm(canvas, 0, half, page.width, half);
    }
    const logbook::DiveRecord *first = m_logbook.dive(m_next);
    if (!first)
        return false;
    drawDive(canvas, m_logbook, *first, 7.0, m_job.option, m_info);
    int printed = m_next;
    if (m_next + 1 <= m_range.last) {
        if (const logbook::DiveRecord *second = m_logbook.dive(m_next + 1)) {
            drawDive(canvas, m_logbook, *second, half + 12.0, m_job.option, m_info);
            printed = m_next + 1;
        }
    }
    m_next = printed + 1;
    return printed < m_range.last;
}

bool LogbookPrinter::printListPage(Canvas &canvas, PageSizeMm page)
{
    canvas.setPen(canvas::Pen { kBlack, 1, canvas::PenStyle::Solid });
    canvas.setTextColour(kBlack);
    const double contentTop = printHeader(canvas, page.width, page.height, common::tr("Liste des plongées"), "", "");
    printFooter(canvas, page.width, page.height, m_info.logbookPath);
    const double footerTop = footerTopMm(canvas, page.height);

    canvas.setFont(font("Arial", 10));
    const double headingLine = lineHeightMm(canvas);
    const double headingY = contentTop + headingLine / 2;
    textAt(canvas, 20, headingY, common::tr("N°"), HAlign::Right);
    textAt(canvas, 23, headingY, common::tr("Date"));
    textAt(canvas, 38, headingY, common::tr("Heure"));
    textAt(canvas, 49, headingY, common::tr("Lieu"));
    textAt(canvas, 81, headingY, common::tr("Site"));
    textAt(canvas, 123, headingY, common::tr("Durée"), HAlign::Right);
    textAt(canvas, 133, headingY, common::tr("Prof."), HAlign::Right);
    textAt(canvas, 135, headingY, common::tr("Partenaires"));

    canvas.setFont(font("Arial", 9));
    const double line = lineHeightMm(canvas);
    const FieldCatalogue catalogue(m_logbook);
    double y = headingY + headingLine + line / 2;
    while (m_next <= m_range.last && y + line < footerTop) {
        const DiveRecord *dive = m_logbook.dive(m_next);
        if (!dive)
            break;
        auto value = [&](Field field) { return catalogue.fromRecord(field, *dive, logbook::DateForm::Short); };
        textAt(canvas, 20, y, common::cformat("%d", static_cast<int>(dive->diveNumber)), HAlign::Right);
        textAt(canvas, 23, y, value(Field::Date));
        textAt(canvas, 38, y, value(Field::EntryTime));
        textAt(canvas, 49, y, fitted(canvas, value(Field::Place), 31));
        textAt(canvas, 81, y, fitted(canvas, value(Field::Site), 28));
        textAt(canvas, 123, y, value(Field::Duration), HAlign::Right);
        textAt(canvas, 133, y, value(Field::MaxDepth), HAlign::Right);
        textAt(canvas, 135, y, fitted(canvas, value(Field::Partners), page.width - 136));
        y += line;
        ++m_next;
    }
    return m_next <= m_range.last;
}

void LogbookPrinter::printCoverPage(Canvas &canvas, PageSizeMm page)
{
    canvas.setPen(canvas::Pen { kBlack, 1, canvas::PenStyle::Solid });
    canvas.setTextColour(kBlack);
    lineMm(canvas, 0, page.height / 2, page.width, page.height / 2);
    const double centre = page.width / 2;
    canvas.setFont(font("Times New Roman", 50));
    double y = page.height / 10;
    textAt(canvas, centre, y, common::tr("Carnet"), HAlign::Centre);
    y += 2 * lineHeightMm(canvas);
    canvas.setFont(font("Times New Roman", 14));
    textAt(canvas, centre, y, m_info.diverName, HAlign::Centre);
    y += 2 * lineHeightMm(canvas);
    textAt(canvas, centre, y, m_info.club, HAlign::Centre);
}

int printAllPages(PageSource &source, Canvas &canvas, PageSizeMm page, const NewPage &newPage)
{
    // A source that never says it is done must not fill a disk with pages.
    constexpr int kMostPages = 20000;
    int pages = 0;
    bool more = true;
    while (more && pages < kMostPages) {
        if (pages > 0)
            newPage();
        more = source.printPage(canvas, page);
        ++pages;
    }
    return pages;
}

} // namespace zorv::reports
