// The printed form of a statistics page: its subtitle, column table and summary lines, over one or more sheets.
#pragma once

#include "canvas/canvas.h"
#include "stats/statisticspage.h"

#include <string>
#include <vector>

namespace zorv::stats {

// What a printed statistics page needs besides the page itself.
struct PrintSetup {
    double pageWidthMm = 0.0;
    double pageHeightMm = 0.0;
    std::string diverName; // UTF-8, from the certificates register
    std::string club;
    std::string logbookPath;
};

// The subtitle above the table: for all dives, or for the selected year.
std::string printSubtitle(const StatisticsPage &page);

// A row's label on paper: class labels differ a little from the window's.
std::string printedRowLabel(const StatisticsPage &page, const PageRow &row);

// One printing job of one computed page. The sheets are laid out on the canvas
// they are drawn on, since the number of rows a sheet holds follows from its fonts.
class StatisticsPrint {
public:
    StatisticsPrint(const StatisticsPage &page, PrintSetup setup);

    int pageCount(canvas::Canvas &canvas) const;
    // Draws sheet `index` (from 0) of this job.
    void drawPage(canvas::Canvas &canvas, int index) const;

private:
    struct Sheet {
        std::size_t firstRow = 0;
        std::size_t endRow = 0;
        bool summary = false;
    };
    std::vector<Sheet> paginate(canvas::Canvas &canvas) const;
    std::vector<std::pair<std::string, std::array<std::string, 4>>> summaryLines() const;

    const StatisticsPage &m_page;
    PrintSetup m_setup;
    std::vector<PageRow> m_rows;
    std::size_t m_firstPrinted = 0;
};

} // namespace zorv::stats
