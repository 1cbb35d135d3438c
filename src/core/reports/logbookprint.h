// Printing the logbook: dive pages two to a sheet, the dive list and the cover page, drawn on a Canvas in millimetres.
#pragma once

#include "canvas/canvas.h"
#include "reports/pagesource.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::logbook {
class Logbook;
struct DiveRecord;
} // namespace zorv::logbook

namespace zorv::reports {

// Who prints: the logbook itself or one of the windows that print their own pages.
enum class JobKind {
    Logbook = 0,
    Certificates = 1,
    Equipment = 2,
    Addresses = 3,
    Trips = 4,
    Planner = 5,
    InstructorRecord = 6,
    Statistics = 7,
};

enum class PrintMode {
    DivePages = 0,
    DiveList = 1,
    CoverPage = 2,
};

enum class DivePageOption {
    Complete = 0,
    BlankForm = 1, // labels and lines only, to fill in by hand
    ProfileOnly = 2, // the profile alone, printed into pages already filled in
};

// The print dialog's choices; they live for the whole run of the program.
struct PrintJob {
    JobKind kind = JobKind::Logbook;
    PrintMode mode = PrintMode::DivePages;
    DivePageOption option = DivePageOption::Complete;
    int fromNumber = -1; // dive numbers; -1 until a range was chosen
    int toNumber = -1;
    bool separator = true; // a cutting line across the middle of each dive sheet

    // Another logbook was opened or created: the range starts again from the current dive.
    void resetRange() { fromNumber = toNumber = -1; }
};

// Positions (1-based) of the first and last dive of a print range.
struct PrintRange {
    int first = 0;
    int last = 0;
};

// Before the dialog opens: a range not chosen yet becomes the current dive's number at both ends.
void prepareRange(PrintJob &job, const logbook::Logbook &logbook);
// After the dialog's OK: pulls the range into the logbook (the end first, then the start) and finds the
// positions of its ends; with several dives of one number the last one counts. Nothing to print (an empty
// logbook, an end not found) gives no range.
std::optional<PrintRange> settleRange(PrintJob &job, const logbook::Logbook &logbook);

// The comment of a dive page: lines of at most 40 characters, broken at a blank where a word would be cut;
// the first seven lines always (empty ones too), then up to seven more while they are not empty.
std::vector<std::string> commentLines(std::string_view comment);

// What the printed pages show beside the dives.
struct LogbookPrintInfo {
    std::string logbookPath; // its file name appears on the dive pages and in the footer
    std::string diverName; // the cover page's lines
    std::string club;
    // Whether a computer records tank pressure, which adds the signal lane to the warning strip.
    std::function<bool(std::uint8_t computerType)> airIntegrated;
};

// Draws one dive of a dive page with its top `topMm` millimetres below the printable area's top.
void drawDive(canvas::Canvas &canvas, const logbook::Logbook &logbook, const logbook::DiveRecord &dive, double topMm,
    DivePageOption option, const LogbookPrintInfo &info);

// Draws the pages of one print, one call per page.
class LogbookPrinter final : public PageSource {
public:
    LogbookPrinter(const logbook::Logbook &logbook, const PrintJob &job, PrintRange range, LogbookPrintInfo info);

    // Draws the next page; returns whether more pages follow.
    bool printPage(canvas::Canvas &canvas, PageSizeMm page) override;
    int pagesPrinted() const { return m_pages; }

private:
    bool printDivePage(canvas::Canvas &canvas, PageSizeMm page);
    bool printListPage(canvas::Canvas &canvas, PageSizeMm page);
    void printCoverPage(canvas::Canvas &canvas, PageSizeMm page);

    const logbook::Logbook &m_logbook;
    PrintJob m_job;
    PrintRange m_range;
    LogbookPrintInfo m_info;
    int m_next = 0; // the position the next page starts with
    int m_pages = 0;
};

// Prints every page of a source on a device that starts a new page on request; returns the page count.
using NewPage = std::function<void()>;
int printAllPages(PageSource &source, canvas::Canvas &canvas, PageSizeMm page, const NewPage &newPage);

} // namespace zorv::reports
