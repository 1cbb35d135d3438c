#include "ui/profile/profilewindow.h"

#include "common/strings.h"
#include "profile/gauges.h"
#include "profile/levelbars.h"
#include "profile/planner.h"
#include "profile/previewdrawing.h"
#include "profile/profilewindowlayout.h"
#include "qtcanvas/qpaintercanvas.h"
#include "ui/colours/colourdialogs.h"
#include "ui/common/appcontext.h"
#include "ui/common/canvasview.h"
#include "ui/common/divelistdelegate.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/common/valuefield.h"
#include "ui/common/windowplacement.h"
#include "ui/profile/divedatawindow.h"
#include "ui/profile/profiledivelistmodel.h"
#include "ui/profile/profilegraphview.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <algorithm>

namespace zorv::ui {

using logbook::DiveRecord;
using logbook::UnitSystem;

namespace {

    using C = logbook::PageControl;
    constexpr int kStripHeight = 92;

} // namespace

ProfileWindow::ProfileWindow(AppContext &context, std::function<void()> mainViewChanged, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_mainViewChanged(std::move(mainViewChanged))
{
    qtcanvas::QPainterCanvas::installFontSubstitutions();
    setWindowTitle(ui::tr("Profil de plongée"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);

    m_model = new ProfileDiveListModel(context.logbook, this);
    m_list = new QListView;
    m_list->setObjectName(QStringLiteral("diveList"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new DiveListDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setFixedWidth(m_list->fontMetrics().horizontalAdvance(QStringLiteral("H    000000"))
        + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex &current) { chooseDive(current.row()); });

    m_graph = new ProfileGraphView(
        context, [this] { return graphStyle(); }, [this](int cursor) { cursorMoved(cursor); });
    m_graph->setObjectName(QStringLiteral("graph"));
    m_strip = new CanvasView([this](canvas::Canvas &canvas, canvas::Size size) {
        const DiveRecord *dive = m_context.logbook.dive(m_context.logbook.currentDive());
        profile::drawWarningStrip(canvas, size, dive, m_context.settings.profileColours, m_context.logbook.unitSystem(),
            traits().airIntegrated ? profile::SignalLane::On : profile::SignalLane::Off);
    });
    m_strip->setObjectName(QStringLiteral("strip"));
    m_strip->setFixedHeight(kStripHeight);

    // The chart and its strip share one time axis, so they touch.
    auto *chart = new QVBoxLayout;
    chart->setSpacing(0);
    chart->addWidget(m_graph, 1);
    chart->addWidget(m_strip);

    auto *right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(buildTopBand());
    right->addLayout(chart, 1);

    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(8);
    root->addWidget(m_list);
    root->addLayout(right, 1);

    resize(sizeHint().expandedTo(QSize(1040, 720)));
    restorePlacement();
    selectCurrentLine();
    showCurrentDive();
}

ProfileWindow::~ProfileWindow() = default;

QWidget *ProfileWindow::buildTopBand()
{
    auto *band = new QWidget;
    auto *layout = new QGridLayout(band);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(16);
    layout->setVerticalSpacing(8);
    layout->addWidget(buildHeaderFields(), 0, 0, 1, 2);
    layout->addWidget(buildInstruments(), 1, 0, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(buildButtons(), 1, 1, Qt::AlignRight | Qt::AlignBottom);
    layout->setColumnStretch(0, 1);
    return band;
}

profile::GraphStyle ProfileWindow::graphStyle() const
{
    profile::GraphStyle style;
    style.colours = m_context.settings.profileColours;
    style.units = m_context.logbook.unitSystem();
    style.grid = m_context.settings.grid ? profile::Grid::On : profile::Grid::Off;
    style.averageLine = m_averageLine ? profile::AverageLine::On : profile::AverageLine::Off;
    if (m_context.secondProfile.shown)
        style.secondProfile = &m_context.secondProfile.clipboard;
    return style;
}

profile::ComputerTraits ProfileWindow::traits() const
{
    profile::ComputerTraits traits;
    const DiveRecord *dive = m_context.logbook.dive(m_context.logbook.currentDive());
    if (!dive)
        return traits;
    traits.airIntegrated = m_context.catalogue.airIntegrated(dive->computerType);
    traits.fixedWorkload = dive->computerType == 0 || m_context.catalogue.isImport(dive->computerType);
    return traits;
}

int ProfileWindow::cursorIndex() const
{
    return m_graph->cursor();
}

int ProfileWindow::graphDrawCount() const
{
    return m_graph->drawCount();
}

QString ProfileWindow::headerText(logbook::PageControl controlId) const
{
    const QLabel *value = m_values.value(controlId);
    return value ? value->text() : QString();
}

QString ProfileWindow::headerUnit(logbook::PageControl controlId) const
{
    const QLabel *unit = m_units.value(controlId);
    return unit ? unit->text() : QString();
}

void ProfileWindow::selectCurrentLine()
{
    const int row = m_context.logbook.currentDive() - 1;
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_selecting = true;
    const QModelIndex index = m_model->index(row);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_list->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_selecting = false;
}

void ProfileWindow::chooseDive(int row)
{
    if (m_selecting || row < 0 || row >= m_model->rowCount() || row + 1 == m_context.logbook.currentDive())
        return;
    m_context.logbook.setCurrentDive(row + 1);
    showCurrentDive();
    if (m_mainViewChanged)
        m_mainViewChanged();
}

void ProfileWindow::showCurrentDive()
{
    m_graph->setDive(m_context.logbook.currentDive());
    m_strip->invalidate();
    refreshFields();
    refreshButtons();
}

void ProfileWindow::refreshFields()
{
    const int position = m_context.logbook.currentDive();
    std::string computerName;
    for (const logbook::DivePageRow &row : divePageRows(m_context, position)) {
        if (row.controlId == C::ComputerName)
            computerName = row.value;
        if (QLabel *value = m_values.value(row.controlId)) {
            value->setText(toQt(row.value));
            value->setToolTip(row.value.size() > 30 ? toQt(row.value) : QString());
        }
        if (QLabel *unit = m_units.value(row.controlId))
            unit->setText(toQt(row.unit));
    }
    m_pressureCaption->setText(
        qstr(m_context.logbook.unitSystem() == UnitSystem::Metric ? StringId::UnitBar : StringId::UnitPsi));
    const DiveRecord *dive = m_context.logbook.dive(position);
    m_readout = profile::cursorReadout(
        orBlank(dive), m_graph->cursor(), m_context.logbook.unitSystem(), traits(), computerName);
    m_instruments->invalidate();
    m_levelBars->invalidate();
    m_display->invalidate();
    if (m_dataWindow)
        m_dataWindow->showDive(position);
}

void ProfileWindow::cursorMoved(int)
{
    // Only the instruments follow the cursor; the chart and the header stay.
    const DiveRecord *dive = m_context.logbook.dive(m_context.logbook.currentDive());
    m_readout = profile::cursorReadout(
        orBlank(dive), m_graph->cursor(), m_context.logbook.unitSystem(), traits(), m_readout.computerName);
    m_instruments->invalidate();
    m_levelBars->invalidate();
    m_display->invalidate();
}

void ProfileWindow::refreshButtons()
{
    const profile::ProfileButtons buttons
        = profile::profileButtons(orBlank(m_context.logbook.dive(m_context.logbook.currentDive())),
            m_context.secondProfile.clipboard, m_context.secondProfile.shown);
    m_copy->setEnabled(buttons.copy);
    m_paste->setEnabled(buttons.paste);
    m_erase->setEnabled(buttons.erase);
    m_plan->setEnabled(buttons.plan);
}

void ProfileWindow::setDataWindowOpen(bool open)
{
    if (!open) {
        if (DiveDataWindow *window = m_dataWindow) {
            m_dataWindow = nullptr;
            window->close();
            window->deleteLater();
        }
        return;
    }
    if (!m_dataWindow) {
        auto *window = new DiveDataWindow(m_context, this);
        // Closing it by its own frame is the same as switching it off.
        connect(window, &QDialog::finished, this, [this, window] {
            if (window == m_dataWindow)
                m_dataBox->setChecked(false);
        });
        m_dataWindow = window;
        m_dataWindow->showDive(m_context.logbook.currentDive());
        placeDataWindow();
    } else {
        m_dataWindow->showDive(m_context.logbook.currentDive());
    }
    m_dataWindow->show();
    m_dataWindow->raise();
}

void ProfileWindow::placeDataWindow()
{
    const auto toRect = [](const QRect &r) {
        return canvas::Rect { r.left(), r.top(), r.right() + 1, r.bottom() + 1 };
    };
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect chart(m_graph->mapToGlobal(QPoint(0, 0)), m_graph->size());
    const std::optional<QRect> stored = m_dataWindow->storedRect();
    const canvas::Rect storedRect = stored ? toRect(*stored) : canvas::Rect {};
    const QSize size = m_dataWindow->size();
    const canvas::Rect place = profile::placeDataWindow(toRect(available), toRect(frameGeometry()), toRect(chart),
        { size.width(), size.height() }, stored ? &storedRect : nullptr);
    m_dataWindow->move(place.left, place.top);
}

void ProfileWindow::changeColours()
{
    if (!showProfileColoursDialog(m_context, this))
        return;
    if (m_mainViewChanged)
        m_mainViewChanged();
    m_graph->invalidate();
    m_strip->invalidate();
}

void ProfileWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // Opened once this window is up, so that the window manager puts it above, not behind.
    if (m_dataBox->isChecked())
        QTimer::singleShot(0, this, [this] {
            if (m_dataBox->isChecked() && !m_dataWindow)
                setDataWindowOpen(true);
        });
}

void ProfileWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // A window manager may stack the profile window over its data window when it activates it after the
    // data window was shown; the data window belongs on top of it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_dataWindow)
        m_dataWindow->raise();
}

void ProfileWindow::restorePlacement()
{
    const auto stored = storedPlacement(m_context, settings::Window::Profile, QSize(200, 150));
    if (!stored)
        return;
    // Never smaller than the instruments and the fields need.
    setGeometry(QRect(stored->rect.topLeft(), stored->rect.size().expandedTo(minimumSizeHint())));
    if (stored->maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void ProfileWindow::savePlacement()
{
    saveWindowPlacement(m_context, this, settings::Window::Profile);
}

void ProfileWindow::done(int result)
{
    if (isVisible())
        savePlacement();
    // The data window goes with the window; the switch keeps its state for the next opening.
    setDataWindowOpen(false);
    QDialog::done(result);
}

void showProfileWindow(AppContext &context, QWidget *parent, const std::function<void()> &mainViewChanged)
{
    ProfileWindow window(context, mainViewChanged, parent);
    prompter().exec(window);
    if (mainViewChanged)
        mainViewChanged();
}

} // namespace zorv::ui
