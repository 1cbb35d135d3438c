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
#include "ui/common/qtext.h"
#include "ui/common/valuefield.h"
#include "ui/common/windowplacement.h"
#include "ui/profile/divedatawindow.h"

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
    constexpr int kLevelCaptionWidth = 40;
    constexpr canvas::Rgb kLevelCaption = canvas::rgb(255, 0, 128);

    // The header's fields in three rows; None leaves a cell empty.
    constexpr C kHeaderRows[3][3] = { { C::Date, C::MaxDepth, C::MinWaterTemperature },
        { C::Place, C::AverageDepth, C::AirConsumption }, { C::Site, C::None, C::None } };

    bool hasProfile(const DiveRecord *dive)
    {
        return dive != nullptr && dive->profileLength != 0;
    }

    int samplesOf(const DiveRecord &dive)
    {
        return std::min<int>(dive.sampleCount, logbook::kMaxSamples);
    }

    const DiveRecord &orBlank(const DiveRecord *dive)
    {
        static const DiveRecord blank;
        return dive ? *dive : blank;
    }

    QPushButton *plainButton(const QString &text)
    {
        auto *button = new QPushButton(text);
        // Enter in the dive list must not copy a profile.
        button->setAutoDefault(false);
        return button;
    }

} // namespace

// The chart with its cursor. The cursor lines are drawn over the cached
// chart, and a mouse move repaints only the thin bands where they were and
// where they go.
class ProfileGraphView final : public CanvasView {
public:
    ProfileGraphView(AppContext &context, std::function<profile::GraphStyle()> style,
        std::function<void(int)> cursorMoved, QWidget *parent = nullptr)
        : CanvasView([this](canvas::Canvas &canvas,
                         canvas::Size size) { profile::drawProfileGraph(canvas, size, dive(), m_style()); },
            parent)
        , m_context(context)
        , m_style(std::move(style))
        , m_cursorMoved(std::move(cursorMoved))
    {
        setOverlay([this](canvas::Canvas &canvas, canvas::Size size) {
            if (m_vertical && hasProfile(dive()))
                profile::drawCursorLines(
                    canvas, size, m_mouse, horizontalShown() ? profile::Crosshair::On : profile::Crosshair::Off);
        });
        setMouseTracking(true);
        setCursor(Qt::CrossCursor);
        setMinimumSize(300, 160);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    void setDive(int position)
    {
        m_position = position;
        m_cursor = 0;
        m_vertical = false;
        m_horizontal = false;
        invalidate();
    }
    int cursor() const { return m_cursor; }
    // The crosshair switch changes only the overlay.
    void crosshairChanged() { update(); }

protected:
    void mouseMoveEvent(QMouseEvent *event) override
    {
        const QPoint p = event->position().toPoint();
        const DiveRecord *d = dive();
        if (!hasProfile(d))
            return;
        QRegion dirty = linesRegion();
        const profile::TrackingRect rect = profile::graphTrackingRect({ width(), height() });
        if (rect.contains({ p.x(), p.y() })) {
            m_vertical = true;
            m_horizontal = true;
            m_mouse = { p.x(), p.y() };
            m_cursor = profile::cursorIndexAt(p.x(), rect, samplesOf(*d), m_cursor);
            update(dirty + linesRegion());
            m_cursorMoved(m_cursor);
        } else {
            leavePlot(dirty);
        }
    }
    void leaveEvent(QEvent *event) override
    {
        leavePlot(linesRegion());
        CanvasView::leaveEvent(event);
    }

private:
    const DiveRecord *dive() const { return m_context.logbook.dive(m_position); }
    bool horizontalShown() const { return m_horizontal && m_context.settings.crosshair; }

    // Outside the plot the vertical line stays where it was, as a mark of the
    // sample the instruments still show; the horizontal one goes.
    void leavePlot(const QRegion &dirty)
    {
        if (!m_horizontal)
            return;
        m_horizontal = false;
        update(dirty);
    }

    QRegion linesRegion() const
    {
        if (!m_vertical || !hasProfile(dive()))
            return {};
        const canvas::Size size { width(), height() };
        const auto toQRect = [](const canvas::Rect &r) { return QRect(r.left, r.top, r.width(), r.height()); };
        QRegion region(toQRect(profile::cursorLineBand(size, m_mouse, profile::Crosshair::Off)));
        if (horizontalShown())
            region += toQRect(profile::cursorLineBand(size, m_mouse, profile::Crosshair::On));
        return region;
    }

    AppContext &m_context;
    std::function<profile::GraphStyle()> m_style;
    std::function<void(int)> m_cursorMoved;
    int m_position = 0;
    int m_cursor = 0;
    canvas::Point m_mouse; // where the lines cross: the last mouse point inside the plot
    bool m_vertical = false;
    bool m_horizontal = false;
};

// One line per dive: its profile mark and number.
class ProfileDiveListModel final : public QAbstractListModel {
public:
    ProfileDiveListModel(const logbook::Logbook &logbook, QObject *parent)
        : QAbstractListModel(parent)
        , m_logbook(logbook)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const DiveRecord *dive = index.isValid() ? m_logbook.dive(index.row() + 1) : nullptr;
        if (!dive)
            return {};
        if (role == Qt::DisplayRole)
            return toQt(profile::profileListLine(*dive));
        if (role == kProfileKindRole)
            return static_cast<int>(logbook::profileKind(*dive));
        return {};
    }

private:
    const logbook::Logbook &m_logbook;
    // The window only reads the logbook, so the count cannot change while it is open.
    const int m_rows = m_logbook.diveCount();
};

ProfileWindow::ProfileWindow(AppContext &context, std::function<void()> mainViewChanged, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_mainViewChanged(std::move(mainViewChanged))
{
    qtcanvas::QPainterCanvas::installFontSubstitutions();
    setWindowTitle(QStringLiteral("Profil de plongée"));
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

QWidget *ProfileWindow::buildHeaderFields()
{
    auto *box = new QWidget;
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    QMap<C, logbook::DivePageRow> rows;
    for (logbook::DivePageRow &row : divePageRows(m_context, 0))
        rows.insert(row.controlId, row);
    // Label, value and unit per field; a gap column between the fields.
    constexpr int kColumnsPerField = 4;
    for (int r = 0; r < 3; ++r) {
        for (int f = 0; f < 3; ++f) {
            const C id = kHeaderRows[r][f];
            if (id == C::None)
                continue;
            const int column = f * kColumnsPerField;
            grid->addWidget(new QLabel(toQt(rows.value(id).label)), r, column);
            QLabel *value = newValueField(this);
            m_values.insert(id, value);
            // The site runs across the whole header; the numbers need little room.
            const bool wide = r == 2;
            if (f > 0) {
                value->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000.0")) + 12);
                value->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            }
            grid->addWidget(value, r, column + 1, 1, wide ? 3 * kColumnsPerField - 2 : 1);
            if (!wide && rows.value(id).unitControlId != C::None) {
                auto *unit = new QLabel;
                unit->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("cft/min")) + 2);
                m_units.insert(id, unit);
                grid->addWidget(unit, r, column + 2);
            }
        }
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(3, 8);
    grid->setColumnMinimumWidth(7, 8);
    return box;
}

QWidget *ProfileWindow::buildInstruments()
{
    const auto currentDive = [this] { return m_context.logbook.dive(m_context.logbook.currentDive()); };

    m_instruments = new CanvasView([this, currentDive](canvas::Canvas &canvas, canvas::Size) {
        const DiveRecord *dive = currentDive();
        const UnitSystem units = m_context.logbook.unitSystem();
        const profile::GaugeValues values = hasProfile(dive)
            ? profile::gaugeValuesAt(*dive, m_graph->cursor(), units, traits())
            : profile::GaugeValues {};
        profile::drawInstrumentPanel(
            canvas, values, units, profile::faceDisksFor(units, m_context.settings.clockBackground));
    });
    m_instruments->setObjectName(QStringLiteral("instruments"));
    m_instruments->setFixedSize(profile::kInstrumentPanelSize.width, profile::kInstrumentPanelSize.height);

    m_levelBars = new CanvasView([this, currentDive](canvas::Canvas &canvas, canvas::Size size) {
        const DiveRecord *dive = currentDive();
        profile::drawLevelBars(canvas, profile::sampleAtCursor(orBlank(dive), m_graph->cursor()),
            hasProfile(dive) ? profile::BarsActive::Yes : profile::BarsActive::No);
        // The words beside the bars belong to the same grey panel.
        const int left = profile::kLevelBarsSize.width;
        canvas.fillRect({ left, 0, size.width, size.height }, profile::kLevelBarsGrey);
        canvas.setFont(profile::axisFont());
        canvas.setTextColour(kLevelCaption);
        const char *levels[] = { "sehr", "hoch", "norm" };
        for (int i = 0; i < 3; ++i)
            canvas.drawText(canvas::Rect { left + 2, 4 + i * 30, size.width - 2, 18 + i * 30 }, levels[i],
                canvas::HAlign::Left, canvas::VAlign::Top);
    });
    m_levelBars->setObjectName(QStringLiteral("levelBars"));
    m_levelBars->setFixedSize(profile::kLevelBarsSize.width + kLevelCaptionWidth, profile::kLevelBarsSize.height);

    m_display = new CanvasView([this](canvas::Canvas &canvas, canvas::Size) {
        profile::drawComputerDisplay(canvas, m_readout, m_context.logbook.unitSystem());
    });
    m_display->setObjectName(QStringLiteral("display"));
    m_display->setFixedSize(profile::kComputerDisplaySize.width, profile::kComputerDisplaySize.height);

    // The captions stand over the gauges' centres, 85 pixels apart.
    auto *captions = new QHBoxLayout;
    captions->setContentsMargins(2, 0, 0, 0);
    captions->setSpacing(0);
    const auto caption = [captions](const QString &text) {
        auto *label = new QLabel(text);
        label->setAlignment(Qt::AlignCenter);
        label->setFixedWidth(85);
        captions->addWidget(label);
        return label;
    };
    caption(QStringLiteral("Cons.Moy"));
    caption(QStringLiteral("Prof."));
    m_pressureCaption = caption(qstr(StringId::UnitBar));
    captions->addStretch(1);

    auto *gauges = new QVBoxLayout;
    gauges->setSpacing(2);
    gauges->addLayout(captions);
    gauges->addWidget(m_instruments);

    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);
    row->addLayout(gauges);
    row->addWidget(m_levelBars, 0, Qt::AlignBottom);
    row->addWidget(m_display, 0, Qt::AlignBottom);
    return box;
}

QWidget *ProfileWindow::buildButtons()
{
    auto *box = new QWidget;
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    const settings::Settings &s = m_context.settings;
    m_gridBox = new QCheckBox(QStringLiteral("&Grille"));
    m_gridBox->setChecked(s.grid);
    m_crosshairBox = new QCheckBox(QStringLiteral("Croi&x filée"));
    m_crosshairBox->setChecked(s.crosshair);
    m_averageBox = new QCheckBox(QStringLiteral("Ø &Profondeur"));
    m_averageBox->setChecked(m_averageLine);
    m_dataBox = new QCheckBox(QStringLiteral("&Données"));
    m_dataBox->setChecked(s.dataWindow);
    grid->addWidget(m_gridBox, 0, 0);
    grid->addWidget(m_crosshairBox, 0, 1);
    grid->addWidget(m_averageBox, 1, 0);
    grid->addWidget(m_dataBox, 1, 1);
    grid->setRowMinimumHeight(2, 6);

    m_copy = plainButton(QStringLiteral("&Copier"));
    m_paste = plainButton(QStringLiteral("C&oller"));
    m_erase = plainButton(QStringLiteral("&Effacer"));
    QPushButton *colours = plainButton(QStringLiteral("Cou&leur"));
    m_plan = plainButton(QStringLiteral("Déco &92"));
    auto *quit = new QPushButton(QStringLiteral("&Quitter"));
    quit->setDefault(true);
    grid->addWidget(m_copy, 3, 0);
    grid->addWidget(m_paste, 3, 1);
    grid->addWidget(m_erase, 4, 0);
    grid->addWidget(colours, 4, 1);
    grid->addWidget(m_plan, 5, 0);
    grid->addWidget(quit, 5, 1);

    connect(m_gridBox, &QCheckBox::toggled, this, [this](bool on) {
        m_context.settings.grid = on;
        m_graph->invalidate();
    });
    connect(m_crosshairBox, &QCheckBox::toggled, this, [this](bool on) {
        m_context.settings.crosshair = on;
        m_graph->crosshairChanged();
    });
    connect(m_averageBox, &QCheckBox::toggled, this, [this](bool on) {
        m_averageLine = on;
        m_graph->invalidate();
    });
    connect(m_dataBox, &QCheckBox::toggled, this, [this](bool on) {
        m_context.settings.dataWindow = on;
        setDataWindowOpen(on);
    });
    connect(m_copy, &QPushButton::clicked, this, [this] {
        if (const DiveRecord *dive = m_context.logbook.dive(m_context.logbook.currentDive()))
            m_context.secondProfile.clipboard.copyDive(*dive);
        refreshButtons();
    });
    connect(m_paste, &QPushButton::clicked, this, [this] {
        m_context.secondProfile.shown = true;
        m_graph->invalidate();
        refreshButtons();
    });
    connect(m_erase, &QPushButton::clicked, this, [this] {
        m_context.secondProfile.shown = false;
        m_graph->invalidate();
        refreshButtons();
    });
    connect(m_plan, &QPushButton::clicked, this, [this] {
        // A plan the table cannot give leaves everything as it was, without a word.
        const DiveRecord *dive = m_context.logbook.dive(m_context.logbook.currentDive());
        if (!dive || !profile::planIntoClipboard(*dive, m_graph->cursor(), m_context.secondProfile.clipboard))
            return;
        m_context.secondProfile.shown = true;
        m_graph->invalidate();
        refreshButtons();
    });
    connect(colours, &QPushButton::clicked, this, &ProfileWindow::changeColours);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    return box;
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
    window.exec();
    if (mainViewChanged)
        mainViewChanged();
}

} // namespace zorv::ui
