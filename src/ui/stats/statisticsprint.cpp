// Printing the statistics page the chooser shows, on the paper of the printer that draws it.
#include "registers/certificates.h"
#include "stats/statprint.h"
#include "ui/common/appcontext.h"
#include "ui/reports/printdispatcher.h"
#include "ui/stats/statisticswindow.h"

#include <QPrinter>
#include <optional>

namespace zorv::ui {

namespace {

    // The sheets of one computed page, laid out for the paper of the printer that draws them.
    class StatisticsPages final : public reports::PageSource {
    public:
        StatisticsPages(const AppContext &context, const stats::StatisticsPage &page)
            : m_context(context)
            , m_page(page)
        {
        }

        bool printPage(canvas::Canvas &canvas, reports::PageSizeMm size) override
        {
            if (!m_job) {
                stats::PrintSetup setup;
                setup.pageWidthMm = size.width;
                setup.pageHeightMm = size.height;
                setup.logbookPath = m_context.logbook.path();
                auto [name, club] = registers::diverLines(m_context.logbook.infPath());
                setup.diverName = std::move(name);
                setup.club = std::move(club);
                m_job.emplace(m_page, setup);
                m_count = m_job->pageCount(canvas);
            }
            if (m_next < m_count)
                m_job->drawPage(canvas, m_next++);
            return m_next < m_count;
        }

    private:
        const AppContext &m_context;
        const stats::StatisticsPage &m_page;
        std::optional<stats::StatisticsPrint> m_job;
        int m_count = 0;
        int m_next = 0;
    };

} // namespace

void StatisticsWindow::printCurrentPage()
{
    StatisticsPageWindow *page = currentPage();
    if (!page)
        return;
    // The chart stays up while the print dialog asks: the user looks at what is about to be printed.
    PrintDispatcher local(m_context);
    PrintDispatcher *dispatcher = PrintDispatcher::current() ? PrintDispatcher::current() : &local;
    const stats::StatisticsPage &shown = page->page();
    dispatcher->printPages(
        this, reports::JobKind::Statistics,
        [this, &shown] { return std::make_unique<StatisticsPages>(m_context, shown); }, false);
}

void printStatisticsPage(const AppContext &context, const stats::StatisticsPage &page, QPrinter &printer)
{
    StatisticsPages pages(context, page);
    PrintDispatcher::paint(printer, pages);
}

} // namespace zorv::ui
