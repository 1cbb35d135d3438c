#include "common/strings.h"
#include "common/translation.h"
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
#include "ui/profile/profiledivelistmodel.h"
#include "ui/profile/profilegraphview.h"
#include "ui/profile/profilewindow.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMap>
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

    constexpr int kLevelCaptionWidth = 40;
    constexpr canvas::Rgb kLevelCaption = canvas::rgb(255, 0, 128);

    using C = logbook::PageControl;

    // The header's fields in three rows; None leaves a cell empty.
    constexpr C kHeaderRows[3][3] = { { C::Date, C::MaxDepth, C::MinWaterTemperature },
        { C::Place, C::AverageDepth, C::AirConsumption }, { C::Site, C::None, C::None } };

    QPushButton *plainButton(const QString &text)
    {
        auto *button = new QPushButton(text);
        // Enter in the dive list must not copy a profile.
        button->setAutoDefault(false);
        return button;
    }

} // namespace

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
        const char *levels[] = { N_("très"), N_("haut"), N_("normal") };
        for (int i = 0; i < 3; ++i)
            canvas.drawText(canvas::Rect { left + 2, 4 + i * 30, size.width - 2, 18 + i * 30 }, common::tr(levels[i]),
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
    caption(ui::tr("Cons.Moy"));
    caption(ui::tr("Prof."));
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
    m_gridBox = new QCheckBox(ui::tr("&Grille"));
    m_gridBox->setChecked(s.grid);
    m_crosshairBox = new QCheckBox(ui::tr("Croi&x filée"));
    m_crosshairBox->setChecked(s.crosshair);
    m_averageBox = new QCheckBox(ui::tr("Ø &Profondeur"));
    m_averageBox->setChecked(m_averageLine);
    m_dataBox = new QCheckBox(ui::tr("&Données"));
    m_dataBox->setChecked(s.dataWindow);
    grid->addWidget(m_gridBox, 0, 0);
    grid->addWidget(m_crosshairBox, 0, 1);
    grid->addWidget(m_averageBox, 1, 0);
    grid->addWidget(m_dataBox, 1, 1);
    grid->setRowMinimumHeight(2, 6);

    m_copy = plainButton(ui::tr("&Copier"));
    m_paste = plainButton(ui::tr("C&oller"));
    m_erase = plainButton(ui::tr("&Effacer"));
    QPushButton *colours = plainButton(ui::tr("Cou&leur"));
    m_plan = plainButton(ui::tr("Déco &92"));
    auto *quit = new QPushButton(ui::tr("&Quitter"));
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

} // namespace zorv::ui
