// The one way the program prints: the printer chosen for the run, the print dialog, the preview and PDF.
#pragma once

#include "reports/logbookprint.h"

#include <QObject>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace zorv::ui {

struct AppContext;

class PrintDispatcher : public QObject {
    Q_OBJECT
public:
    explicit PrintDispatcher(AppContext &context, QObject *parent = nullptr);
    ~PrintDispatcher() override;

    // The program prints through one dispatcher, the main window's; windows shown without it (in tests)
    // get null and print through one of their own.
    static PrintDispatcher *current();

    // The printer and paper chosen by the user; kept for the whole run.
    QPrinter &printer();
    reports::PrintJob &job() { return m_job; }

    // The logbook's pages: the dialog "Imprimer Plongées", then Qt's print dialog or the preview.
    void printLogbook(QWidget *parent, bool preview);
    // The pages of a window that prints its own (statistics, planner, registers): Qt's print dialog or the preview.
    // `makeSource` gives a fresh source for each run through the pages (the preview repaints).
    using SourceFactory = std::function<std::unique_ptr<reports::PageSource>()>;
    void printPages(QWidget *parent, reports::JobKind kind, const SourceFactory &makeSource, bool preview);
    // "Config. Imprim&ante...": the page set-up of the kept printer.
    void pageSetup(QWidget *parent);

    // Draws every page of a source on a printer (or PDF writer) already set up; returns the page count.
    static int paint(QPrinter &printer, reports::PageSource &source);

    // Asks the dialog's choices for the logbook; false when the user cancelled. Tests replace it.
    std::function<bool(QWidget *parent)> askLogbookChoices;
    // Runs Qt's print dialog; false when cancelled. Tests replace it.
    std::function<bool(QWidget *parent, QPrinter &printer)> askPrinter;

    // The logbook print of the current choices, or none when there is nothing to print.
    std::unique_ptr<reports::PageSource> logbookSource();

private:
    AppContext &m_context;
    reports::PrintJob m_job;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace zorv::ui
