#include "ui/stats/statisticswindow.h"

#include "app/windowplace.h"
#include "common/cformat.h"
#include "common/translation.h"
#include "logbook/units.h"
#include "qtcanvas/qpaintercanvas.h"
#include "stats/statprint.h"
#include "ui/colours/colourdialogs.h"
#include "ui/common/appcontext.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/common/windowplacement.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMoveEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <optional>

namespace zorv::ui {

using stats::PageKind;

namespace {

    constexpr std::array<const char *, 4> kColumnHeadings { N_("Total"), N_("Eau dce"), N_("Eau mer"), N_("Ch.-déco") };
    constexpr std::array<const char *, 5> kLegend { N_("Eau douce"), N_("Eau de mer"), N_("Ch. décompr."),
        N_("D. sous Ø"), N_("Donnée sur Ø") };

    QLabel *numberField(QWidget *parent)
    {
        auto *label = new QLabel(parent);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(56);
        return label;
    }

    QString numberText(const std::optional<float> &value, int decimals)
    {
        if (!value || decimals < 0 || decimals > 2)
            return {};
        return toQt(common::cformat("%.*f", decimals, static_cast<double>(*value)));
    }

    QRadioButton *addRadio(QButtonGroup *group, QLayout *layout, const char *text, int id)
    {
        auto *button = new QRadioButton(ui::tr(text));
        group->addButton(button, id);
        layout->addWidget(button);
        return button;
    }

} // namespace

stats::BarColours barColours(const AppContext &context)
{
    return context.settings.statisticsColours.colours;
}

stats::PageKind &rememberedStatisticsPage()
{
    static PageKind page = PageKind::Year;
    return page;
}

BarField::BarField(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(120, 12);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void BarField::setBar(const stats::BarValues &bar, float scale, const stats::BarColours &colours)
{
    m_bar = bar;
    m_scale = scale;
    m_colours = colours;
    m_swatch = false;
    update();
}

void BarField::setSwatch(canvas::Rgb colour)
{
    m_colours[0] = colour;
    m_swatch = true;
    update();
}

void BarField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    qtcanvas::QPainterCanvas canvas(painter);
    const canvas::Rect field { 0, 0, width(), height() };
    if (m_swatch) {
        stats::drawSwatch(canvas, field, m_colours[0]);
        return;
    }
    const QColor background = palette().color(QPalette::Window);
    stats::drawRowBar(
        canvas, field, m_bar, m_scale, m_colours, canvas::rgb(background.red(), background.green(), background.blue()));
}

StatisticsPageWindow::StatisticsPageWindow(AppContext &context, PageKind kind, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_page(kind)
{
    setWindowTitle(QString::fromUtf8(stats::pageTexts(kind).caption));
    setModal(false);
    auto *grid = new QGridLayout(this);
    buildOptions(grid);
    m_page.compute(m_context.logbook);
    buildRows(grid);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("uncountedNote"));
    m_note->setStyleSheet(QStringLiteral("color: rgb(160, 0, 0)"));
    grid->addWidget(m_note, grid->rowCount(), 0, 1, grid->columnCount());
    showPage();
}

void StatisticsPageWindow::buildOptions(QGridLayout *grid)
{
    const PageKind kind = m_page.kind();
    auto *options = new QHBoxLayout;
    if (stats::hasYearOption(kind)) {
        auto *box = new QGroupBox(ui::tr("Sélection"));
        auto *layout = new QHBoxLayout(box);
        m_mode = new QButtonGroup(this);
        addRadio(m_mode, layout, N_("&Total"), 0)->setChecked(true);
        addRadio(m_mode, layout, N_("&Année"), 1);
        m_year = new QSpinBox;
        m_year->setEnabled(false);
        layout->addWidget(m_year);
        options->addWidget(box);
        connect(m_mode, &QButtonGroup::idClicked, this, [this] { optionChanged(); });
        connect(m_year, &QSpinBox::valueChanged, this, [this] { optionChanged(); });
    }
    if (stats::isClassPage(kind) || stats::isCategoryPage(kind)) {
        auto *box = new QGroupBox(ui::tr("Valeur"));
        auto *layout = new QVBoxLayout(box);
        m_valueKind = new QButtonGroup(this);
        addRadio(m_valueKind, layout, N_("P&longées"), 0)->setChecked(true);
        addRadio(m_valueKind, layout, N_("&Pourcent"), 1);
        if (stats::isCategoryPage(kind)) {
            addRadio(m_valueKind, layout, N_("P&rofondeur"), 2);
            addRadio(m_valueKind, layout, N_("D&urée"), 3);
            addRadio(m_valueKind, layout, N_("Cons. mo&y."), 4);
            auto *aggregateBox = new QGroupBox(ui::tr("Valeurs"));
            auto *aggregateLayout = new QVBoxLayout(aggregateBox);
            m_aggregate = new QButtonGroup(this);
            addRadio(m_aggregate, aggregateLayout, N_("&Moyennes"), 0)->setChecked(true);
            addRadio(m_aggregate, aggregateLayout, N_("Min&imum"), 1);
            addRadio(m_aggregate, aggregateLayout, N_("Ma&ximum"), 2);
            options->addWidget(box);
            options->addWidget(aggregateBox);
            connect(m_aggregate, &QButtonGroup::idClicked, this, [this] { optionChanged(); });
        } else {
            options->addWidget(box);
        }
        connect(m_valueKind, &QButtonGroup::idClicked, this, [this] { optionChanged(); });
    }
    if (kind == PageKind::Depth) {
        auto *box = new QGroupBox(ui::tr("Profondeur"));
        auto *layout = new QVBoxLayout(box);
        m_depth = new QButtonGroup(this);
        addRadio(m_depth, layout, N_("P&rof. maxi."), 0)->setChecked(true);
        addRadio(m_depth, layout, N_("Profondeur &moyenne"), 1);
        options->addWidget(box);
        connect(m_depth, &QButtonGroup::idClicked, this, [this] { optionChanged(); });
    }
    options->addStretch();
    grid->addLayout(options, 0, 0, 1, 7);
}

void StatisticsPageWindow::buildRows(QGridLayout *grid)
{
    int line = 1;
    for (std::size_t c = 0; c < 4; ++c) {
        auto *heading = new QLabel(ui::tr(kColumnHeadings[c]));
        heading->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        grid->addWidget(heading, line, static_cast<int>(c) + 1);
    }
    ++line;
    const int shown = m_page.shownRowCount();
    const int firstRowLine = line;
    // The activity page's 25 rows must fit a 1000-pixel screen with the options above them.
    if (shown > 20)
        grid->setVerticalSpacing(2);
    for (int r = 0; r < shown; ++r, ++line) {
        RowWidgets row { new QLabel, {}, new BarField };
        grid->addWidget(row.label, line, 0);
        for (std::size_t c = 0; c < 4; ++c) {
            row.values[c] = numberField(this);
            grid->addWidget(row.values[c], line, static_cast<int>(c) + 1);
        }
        grid->addWidget(row.bar, line, 5);
        m_rows.push_back(row);
    }
    if (stats::isTimeline(m_page.kind())) {
        m_scroll = new QScrollBar(Qt::Vertical);
        grid->addWidget(m_scroll, firstRowLine, 6, shown, 1);
        connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) {
            if (!m_filling && m_page.scrollTo(value))
                showRows();
        });
        RowWidgets average { new QLabel(ui::tr("Ø:")), {}, new BarField };
        grid->addWidget(average.label, line, 0);
        for (std::size_t c = 0; c < 4; ++c) {
            average.values[c] = numberField(this);
            grid->addWidget(average.values[c], line, static_cast<int>(c) + 1);
        }
        grid->addWidget(average.bar, line, 5);
        m_averageRow = average;
        ++line;
    }
    grid->addWidget(new QLabel(ui::tr("Échelle:")), line, 4, Qt::AlignRight);
    m_scale = numberField(this);
    grid->addWidget(m_scale, line, 5, Qt::AlignLeft);
    ++line;
    if (stats::isClassPage(m_page.kind())) {
        const PageKind kind = m_page.kind();
        const char *minLabel = kind == PageKind::Depth ? N_("Prof. mini.:")
            : kind == PageKind::Duration               ? N_("Durée minimale:")
                                                       : N_("Temp. minimale:");
        const char *maxLabel = kind == PageKind::Depth ? N_("Prof. maximale:")
            : kind == PageKind::Duration               ? N_("Durée maximale:")
                                                       : N_("Temp. maximale:");
        const std::array<const char *, 5> labels { N_("Somme:"), "", N_("Moyenne:"), minLabel, maxLabel };
        for (std::size_t s = 0; s < 5; ++s) {
            const bool shown = (s != 0 || kind != PageKind::Temperature) && (s != 1 || kind == PageKind::Duration);
            if (!shown)
                continue;
            grid->addWidget(new QLabel(ui::tr(labels[s])), line, 0);
            for (std::size_t c = 0; c < 4; ++c) {
                m_summary[s][c] = numberField(this);
                grid->addWidget(m_summary[s][c], line, static_cast<int>(c) + 1);
            }
            ++line;
        }
    }
}

void StatisticsPageWindow::optionChanged()
{
    if (m_filling)
        return;
    auto &options = m_page.options;
    if (m_mode) {
        options.yearMode = m_mode->checkedId() == 1 ? stats::YearMode::OneYear : stats::YearMode::Total;
        m_year->setEnabled(options.yearMode == stats::YearMode::OneYear);
        // A year outside the range is not taken; the previous one stays.
        if (!m_page.setSelectedYear(m_year->value())) {
            m_filling = true;
            m_year->setValue(options.selectedYear);
            m_filling = false;
        }
    }
    if (m_valueKind)
        options.valueKind = static_cast<stats::ValueKind>(m_valueKind->checkedId());
    if (m_aggregate)
        options.aggregate = static_cast<stats::Aggregate>(m_aggregate->checkedId());
    if (m_depth)
        options.depth = m_depth->checkedId() == 1 ? stats::DepthSource::Average : stats::DepthSource::Maximum;
    recompute();
}

void StatisticsPageWindow::recompute()
{
    m_page.compute(m_context.logbook);
    showPage();
}

void StatisticsPageWindow::showPage()
{
    m_filling = true;
    if (m_year) {
        m_year->setRange(m_page.firstDiveYear(), m_page.currentYear());
        m_year->setValue(m_page.options.selectedYear);
    }
    if (m_scroll) {
        m_scroll->setRange(0, m_page.maxFirstShownRow());
        m_scroll->setPageStep(1);
        m_scroll->setSingleStep(1);
        m_scroll->setValue(m_page.firstShownRow());
    }
    m_filling = false;
    m_scale->setText(toQt(common::cformat("%.0f", static_cast<double>(m_page.scale()))));
    m_note->setText(toQt(m_page.uncountedNote()));
    m_note->setVisible(!m_note->text().isEmpty());
    showRows();
    if (stats::isClassPage(m_page.kind())) {
        const bool duration = m_page.kind() == PageKind::Duration;
        const bool depth = m_page.kind() == PageKind::Depth;
        for (std::size_t c = 0; c < 4; ++c) {
            const stats::ValueSummary &s = m_page.summaries()[c];
            const int whole = duration ? 0 : 1;
            if (m_summary[0][c])
                m_summary[0][c]->setText(numberText(s.sum, depth ? 1 : whole));
            if (m_summary[1][c]) {
                const int minutes = static_cast<int>(s.sum);
                m_summary[1][c]->setText(toQt(common::cformat("%02d:%02d", minutes / 60, minutes % 60)));
            }
            m_summary[2][c]->setText(numberText(s.average, m_page.kind() == PageKind::Temperature ? 1 : 2));
            m_summary[3][c]->setText(numberText(s.min, whole));
            m_summary[4][c]->setText(numberText(s.max, whole));
        }
    }
}

void StatisticsPageWindow::showRows()
{
    const auto rows = m_page.rows();
    const stats::BarColours colours = barColours(m_context);
    const int first = m_page.firstShownRow();
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        const std::size_t index = static_cast<std::size_t>(first) + r;
        const RowWidgets &w = m_rows[r];
        if (index >= rows.size()) {
            w.label->clear();
            continue;
        }
        const stats::PageRow &row = rows[index];
        w.label->setText(toQt(row.label));
        for (std::size_t c = 0; c < 4; ++c)
            w.values[c]->setText(numberText(row.values[c], row.decimals));
        w.bar->setBar(row.bar, m_page.scale(), colours);
    }
    if (m_averageRow) {
        const auto average = m_page.averageRow();
        for (std::size_t c = 0; c < 4; ++c)
            m_averageRow->values[c]->setText(numberText(average->values[c], average->decimals));
        m_averageRow->bar->setBar(average->bar, m_page.scale(), colours);
    }
}

void StatisticsPageWindow::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    if (isVisible())
        saveWindowPlacement(m_context, this, settings::Window::StatisticsChart);
}

QString StatisticsPageWindow::fieldText(int row, int column) const
{
    return m_rows.at(static_cast<std::size_t>(row)).values.at(static_cast<std::size_t>(column))->text();
}

QString StatisticsPageWindow::scaleText() const
{
    return m_scale->text();
}

StatisticsWindow::StatisticsWindow(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_pages(new QButtonGroup(this))
{
    setWindowTitle(ui::tr("Statistiques"));
    auto *layout = new QVBoxLayout(this);
    auto *pagesBox = new QGroupBox(ui::tr("Statistiques"));
    auto *pagesLayout = new QVBoxLayout(pagesBox);
    for (int k = 0; k < stats::kPageCount; ++k)
        addRadio(m_pages, pagesLayout, stats::pageTexts(static_cast<PageKind>(k)).button, k);
    layout->addWidget(pagesBox);

    auto *legendBox = new QGroupBox(ui::tr("Légende"));
    auto *legend = new QGridLayout(legendBox);
    for (std::size_t role = 0; role < 5; ++role) {
        m_swatches[role] = new BarField;
        m_swatches[role]->setMinimumWidth(24);
        m_swatches[role]->setFixedSize(24, 14);
        m_swatches[role]->setSwatch(barColours(context)[role]);
        legend->addWidget(m_swatches[role], static_cast<int>(role), 0);
        legend->addWidget(new QLabel(ui::tr(kLegend[role])), static_cast<int>(role), 1);
    }
    layout->addWidget(legendBox);

    auto *colours = new QPushButton(ui::tr("Cou&leur"));
    auto *print = new QPushButton(ui::tr("&Imprimer"));
    auto *quit = new QPushButton(ui::tr("&Quitter"));
    layout->addWidget(colours);
    layout->addWidget(print);
    layout->addWidget(quit);
    connect(colours, &QPushButton::clicked, this, &StatisticsWindow::changeColours);
    connect(print, &QPushButton::clicked, this, &StatisticsWindow::printCurrentPage);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pages, &QButtonGroup::idClicked, this, [this](int id) { selectPage(static_cast<PageKind>(id)); });

    if (const auto stored = storedPlacement(context, settings::Window::StatisticsChooser))
        move(stored->rect.topLeft());
    m_current = rememberedStatisticsPage();
    m_pages->button(static_cast<int>(m_current))->setChecked(true);
}

StatisticsWindow::~StatisticsWindow() = default;

void StatisticsWindow::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    if (isVisible())
        saveWindowPlacement(m_context, this, settings::Window::StatisticsChooser);
}

QAbstractButton *StatisticsWindow::pageButton(PageKind kind) const
{
    return m_pages->button(static_cast<int>(kind));
}

StatisticsPageWindow *StatisticsWindow::pageWindow(PageKind kind)
{
    auto &slot = m_windows[static_cast<std::size_t>(kind)];
    if (!slot)
        slot = std::make_unique<StatisticsPageWindow>(m_context, kind, this);
    return slot.get();
}

StatisticsPageWindow *StatisticsWindow::currentPage() const
{
    return m_windows[static_cast<std::size_t>(m_current)].get();
}

void StatisticsWindow::selectPage(PageKind kind)
{
    if (StatisticsPageWindow *old = currentPage(); old && kind != m_current)
        old->hide();
    m_current = kind;
    rememberedStatisticsPage() = kind;
    m_pages->button(static_cast<int>(kind))->setChecked(true);
    StatisticsPageWindow *window = pageWindow(kind);
    window->recompute();
    placeChart(window);
    window->show();
    window->raise();
}

void StatisticsWindow::placeChart(StatisticsPageWindow *window)
{
    // Beside the chooser, never over its buttons, and on the screen; a remembered place only when it is so too.
    const auto toRect = [](const QRect &r) {
        return canvas::Rect { r.left(), r.top(), r.right() + 1, r.bottom() + 1 };
    };
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const canvas::Rect available = toRect(screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
    const canvas::Rect owner = toRect(frameGeometry());
    window->adjustSize();
    // The frame the window manager adds is not known before the first showing; the chooser's is alike.
    const QSize frame = frameGeometry().size() - size();
    const QSize outer = window->size() + frame;
    if (const auto stored = storedPlacement(m_context, settings::Window::StatisticsChart)) {
        const canvas::Rect remembered = toRect(QRect(stored->rect.topLeft(), outer));
        if (app::clearOfOwner(available, owner, remembered)) {
            window->move(stored->rect.topLeft());
            return;
        }
    }
    const canvas::Rect place = app::placeBeside(available, owner, { outer.width(), outer.height() });
    if (place.height() < outer.height() || place.width() < outer.width())
        window->resize(place.width() - frame.width(), place.height() - frame.height());
    window->move(place.left, place.top);
}

void StatisticsWindow::changeColours()
{
    if (!showStatisticsColoursDialog(m_context, this))
        return;
    for (std::size_t role = 0; role < 5; ++role)
        m_swatches[role]->setSwatch(barColours(m_context)[role]);
    if (StatisticsPageWindow *page = currentPage())
        page->showPage();
}

void showMonthlyBehaviour(AppContext &context, QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(ui::tr("Comportement de plongée mensuel"));
    auto *grid = new QGridLayout(&dialog);
    const stats::MonthlyBehaviour counts = stats::countMonthlyBehaviour(context.logbook);
    const stats::BarColours colours = barColours(context);
    for (std::size_t c = 0; c < 4; ++c) {
        auto *heading = new QLabel(ui::tr(kColumnHeadings[c]));
        heading->setAlignment(Qt::AlignRight);
        grid->addWidget(heading, 0, static_cast<int>(c) + 1);
    }
    for (int m = 0; m < 12; ++m) {
        const auto month = static_cast<std::size_t>(m);
        grid->addWidget(new QLabel(QString::fromUtf8(stats::monthName(m + 1))), m + 1, 0);
        for (std::size_t c = 0; c < 4; ++c) {
            QLabel *field = numberField(&dialog);
            field->setText(QString::number(counts.counts[c][month]));
            grid->addWidget(field, m + 1, static_cast<int>(c) + 1);
        }
        auto *bar = new BarField;
        bar->setBar({ stats::BarKind::Count, static_cast<float>(counts.counts[0][month]),
                        static_cast<float>(counts.counts[1][month]), static_cast<float>(counts.counts[2][month]),
                        static_cast<float>(counts.counts[3][month]), false },
            static_cast<float>(counts.scale), colours);
        grid->addWidget(bar, m + 1, 5);
    }
    grid->addWidget(new QLabel(ui::tr("Échelle:")), 13, 4, Qt::AlignRight);
    QLabel *scale = numberField(&dialog);
    scale->setText(toQt(common::cformat("%.0f", static_cast<double>(counts.scale))));
    grid->addWidget(scale, 13, 5, Qt::AlignLeft);
    auto *legend = new QHBoxLayout;
    for (std::size_t role = 0; role < 3; ++role) {
        auto *swatch = new BarField;
        swatch->setFixedSize(24, 14);
        swatch->setSwatch(colours[role]);
        legend->addWidget(swatch);
        legend->addWidget(new QLabel(ui::tr(role == 2 ? N_("Chambre de déco") : kLegend[role])));
    }
    legend->addStretch();
    grid->addLayout(legend, 14, 0, 1, 6);
    auto *quit = new QPushButton(ui::tr("&Quitter"));
    QObject::connect(quit, &QPushButton::clicked, &dialog, &QDialog::accept);
    grid->addWidget(quit, 15, 5, Qt::AlignRight);
    prompter().exec(dialog);
}

void showStatistics(AppContext &context, QWidget *parent)
{
    StatisticsWindow window(context, parent);
    window.show();
    window.selectPage(rememberedStatisticsPage());
    prompter().exec(window);
}

} // namespace zorv::ui
