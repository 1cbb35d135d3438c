#include "ui/reports/printdispatcher.h"

#include "qtcanvas/pagepainter.h"
#include "registers/certificates.h"
#include "ui/common/appcontext.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/reports/printdialog.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace zorv::ui {

namespace {
    PrintDispatcher *g_current = nullptr;
} // namespace

PrintDispatcher *PrintDispatcher::current()
{
    return g_current;
}

PrintDispatcher::PrintDispatcher(AppContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{
    if (!g_current)
        g_current = this;
    askLogbookChoices = [this](QWidget *parent) {
        LogbookPrintDialog dialog(m_job, parent);
        if (prompter().exec(dialog) != QDialog::Accepted)
            return false;
        m_job = dialog.choices(m_job);
        return true;
    };
    askPrinter = [](QWidget *parent, QPrinter &printer) {
        QPrintDialog dialog(&printer, parent);
        dialog.setOption(QAbstractPrintDialog::PrintToFile);
        return prompter().exec(dialog) == QDialog::Accepted;
    };
}

PrintDispatcher::~PrintDispatcher()
{
    if (g_current == this)
        g_current = nullptr;
}

QPrinter &PrintDispatcher::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
        m_printer->setDocName(QStringLiteral("Zorv"));
    }
    return *m_printer;
}

int PrintDispatcher::paint(QPrinter &printer, reports::PageSource &source)
{
    return qtcanvas::paintPages(printer, source);
}

std::unique_ptr<reports::PageSource> PrintDispatcher::logbookSource()
{
    const logbook::Logbook &book = m_context.logbook;
    const auto range = reports::settleRange(m_job, book);
    if (!range)
        return nullptr;
    reports::LogbookPrintInfo info;
    info.logbookPath = book.path();
    auto [name, club] = registers::diverLines(book.infPath());
    info.diverName = std::move(name);
    info.club = std::move(club);
    info.airIntegrated = [this](std::uint8_t type) { return m_context.catalogue.airIntegrated(type); };
    return std::make_unique<reports::LogbookPrinter>(book, m_job, *range, std::move(info));
}

void PrintDispatcher::printLogbook(QWidget *parent, bool preview)
{
    m_job.kind = reports::JobKind::Logbook;
    // With an empty logbook there is nothing to choose from.
    if (m_context.logbook.diveCount() == 0)
        return;
    m_job.separator = m_context.settings.printSeparatorLine;
    reports::prepareRange(m_job, m_context.logbook);
    if (!askLogbookChoices(parent))
        return;
    m_context.settings.printSeparatorLine = m_job.separator;
    if (!logbookSource())
        return;
    printPages(
        parent, reports::JobKind::Logbook, [this] { return logbookSource(); }, preview);
}

void PrintDispatcher::printPages(QWidget *parent, reports::JobKind kind, const SourceFactory &makeSource, bool preview)
{
    m_job.kind = kind;
    QPrinter &device = printer();
    if (preview) {
        QPrintPreviewDialog dialog(&device, parent);
        dialog.setWindowTitle(ui::tr("Aperçu avant impression"));
        connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&makeSource](QPrinter *target) {
            if (auto source = makeSource())
                paint(*target, *source);
        });
        prompter().exec(dialog);
        return;
    }
    if (!askPrinter(parent, device))
        return;
    if (auto source = makeSource())
        paint(device, *source);
}

void PrintDispatcher::pageSetup(QWidget *parent)
{
    QPageSetupDialog dialog(&printer(), parent);
    prompter().exec(dialog);
}

} // namespace zorv::ui
