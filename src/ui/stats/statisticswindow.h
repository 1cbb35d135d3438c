// The statistics chooser "Statistiques" with its eleven modeless pages, and the monthly behaviour window.
#pragma once

#include "stats/statbars.h"
#include "stats/statisticspage.h"

#include <QDialog>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QAbstractButton;
class QPrinter;
class QButtonGroup;
class QGridLayout;
class QLabel;
class QScrollBar;
class QSpinBox;

namespace zorv::ui {

struct AppContext;

// A bar field: the row's bar drawn by the core routines.
class BarField : public QWidget {
    Q_OBJECT
public:
    explicit BarField(QWidget *parent = nullptr);
    void setBar(const stats::BarValues &bar, float scale, const stats::BarColours &colours);
    // A legend swatch instead of a bar.
    void setSwatch(canvas::Rgb colour);

    QSize sizeHint() const override { return { 220, 14 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    stats::BarValues m_bar;
    float m_scale = 0.0f;
    stats::BarColours m_colours {};
    bool m_swatch = false;
};

// One statistics page: options, rows with numbers and bars, the scale and summaries.
class StatisticsPageWindow : public QDialog {
    Q_OBJECT
public:
    StatisticsPageWindow(AppContext &context, stats::PageKind kind, QWidget *parent = nullptr);

    stats::StatisticsPage &page() { return m_page; }
    // Counts the logbook afresh and shows the result.
    void recompute();
    // Refills the fields and bars from the computed page.
    void showPage();
    QScrollBar *scrollBar() const { return m_scroll; }
    QSpinBox *yearField() const { return m_year; }
    // The text of a number field, for tests: row (0-based among shown rows) and column.
    QString fieldText(int row, int column) const;
    QString scaleText() const;

protected:
    void moveEvent(QMoveEvent *event) override;

private:
    void buildOptions(QGridLayout *grid);
    void buildRows(QGridLayout *grid);
    void optionChanged();
    void showRows();

    AppContext &m_context;
    stats::StatisticsPage m_page;
    QSpinBox *m_year = nullptr;
    QButtonGroup *m_mode = nullptr;
    QButtonGroup *m_valueKind = nullptr;
    QButtonGroup *m_depth = nullptr;
    QButtonGroup *m_aggregate = nullptr;
    QScrollBar *m_scroll = nullptr;
    QLabel *m_scale = nullptr;
    QLabel *m_note = nullptr; // the dives the page leaves out, and why
    struct RowWidgets {
        QLabel *label;
        std::array<QLabel *, 4> values;
        BarField *bar;
    };
    std::vector<RowWidgets> m_rows;
    std::optional<RowWidgets> m_averageRow;
    std::array<std::array<QLabel *, 4>, 5> m_summary {}; // sum, time, average, min, max
    bool m_filling = false;
};

class StatisticsWindow : public QDialog {
    Q_OBJECT
public:
    explicit StatisticsWindow(AppContext &context, QWidget *parent = nullptr);
    ~StatisticsWindow() override;

    // Hides the current page and opens the chosen one.
    void selectPage(stats::PageKind kind);
    StatisticsPageWindow *currentPage() const;
    void changeColours();
    // Prints the current page through the print dialog.
    void printCurrentPage();
    QAbstractButton *pageButton(stats::PageKind kind) const;
    BarField *swatch(int role) const { return m_swatches[static_cast<std::size_t>(role)]; }

protected:
    void moveEvent(QMoveEvent *event) override;
    void placeChart(StatisticsPageWindow *window);

private:
    StatisticsPageWindow *pageWindow(stats::PageKind kind);

    AppContext &m_context;
    QButtonGroup *m_pages;
    std::array<std::unique_ptr<StatisticsPageWindow>, stats::kPageCount> m_windows;
    std::array<BarField *, 5> m_swatches {};
    stats::PageKind m_current = stats::PageKind::Year;
};

// The chooser's colours, as the bar routines take them.
stats::BarColours barColours(const AppContext &context);

// Prints every sheet of a computed page on the printer (or into its PDF file).
void printStatisticsPage(const AppContext &context, const stats::StatisticsPage &page, QPrinter &printer);

// The commands of the main frame.
void showStatistics(AppContext &context, QWidget *parent);
void showMonthlyBehaviour(AppContext &context, QWidget *parent);
// Site (partners false) or partner frequency statistics.
void showFrequencies(AppContext &context, bool partners, QWidget *parent);

// The page the chooser selected last; it lives for the whole run, not in the settings.
stats::PageKind &rememberedStatisticsPage();

} // namespace zorv::ui
