#include "ui/profile/manualdatadialog.h"

#include "common/strings.h"
#include "common/translation.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/units.h"
#include "profile/planner.h"
#include "profile/profilewindowlayout.h"
#include "qtcanvas/qpaintercanvas.h"
#include "ui/common/appcontext.h"
#include "ui/common/canvasview.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

namespace zorv::ui {

namespace {

    QPushButton *plainButton(const QString &text, QWidget *parent)
    {
        auto *button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        return button;
    }

} // namespace

// The chart the user draws the profile on with the mouse.
class ManualGraphView final : public CanvasView {
public:
    ManualGraphView(Draw draw, Draw overlay, std::function<void(QPoint, bool)> mouse, QWidget *parent)
        : CanvasView(std::move(draw), parent)
        , m_mouse(std::move(mouse))
    {
        setOverlay(std::move(overlay));
        setMouseTracking(true);
        setCursor(Qt::CrossCursor);
        setMinimumSize(500, 260);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

protected:
    void mouseMoveEvent(QMouseEvent *event) override
    {
        m_mouse(event->position().toPoint(), event->buttons().testFlag(Qt::LeftButton));
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        // A press starts a new stroke: the one before it ended with its release.
        m_mouse(event->position().toPoint(), false);
        m_mouse(event->position().toPoint(), event->button() == Qt::LeftButton);
    }
    void mouseReleaseEvent(QMouseEvent *event) override { m_mouse(event->position().toPoint(), false); }

private:
    std::function<void(QPoint, bool)> m_mouse;
};

ManualDataDialog::ManualDataDialog(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_position(context.logbook.currentDive())
{
    qtcanvas::QPainterCanvas::installFontSubstitutions();
    setWindowTitle(ui::tr("Données manuelles de la plongée"));
    if (const logbook::DiveRecord *dive = context.logbook.dive(m_position))
        m_work = *dive;
    if (m_work.profileLength == 0)
        profile::generateManualProfile(m_work);
    const logbook::UnitSystem units = context.logbook.unitSystem();
    m_axis = profile::manualAxis(m_work, units);

    m_panel = new CanvasView(
        [this](canvas::Canvas &canvas, canvas::Size) {
            const logbook::UnitSystem u = m_context.logbook.unitSystem();
            profile::drawInstrumentPanel(
                canvas, profile::manualGaugeValues(m_work, m_cursor, u), u, profile::FaceDisks::On);
        },
        this);
    m_panel->setFixedSize(profile::kInstrumentPanelSize.width, profile::kInstrumentPanelSize.height);
    m_graph = new ManualGraphView(
        [this](canvas::Canvas &canvas, canvas::Size size) {
            profile::drawManualGraph(canvas, size, m_work, m_axis, graphStyle());
        },
        [this](canvas::Canvas &canvas, canvas::Size size) {
            profile::drawManualCursorLines(
                canvas, size, m_work, m_axis, m_context.logbook.unitSystem(), m_cursor, m_context.settings.crosshair);
        },
        [this](QPoint point, bool drawing) { mouseAt(point, drawing); }, this);
    m_graph->setObjectName(QStringLiteral("graph"));

    using logbook::Quantity;
    auto *fields = new QFormLayout;
    auto addField = [&](const QString &name, const QString &caption, std::optional<Quantity> unit) {
        auto *value = new QLabel(this);
        value->setObjectName(name);
        value->setMinimumWidth(70);
        auto *row = new QHBoxLayout;
        row->addWidget(value);
        if (unit)
            row->addWidget(new QLabel(toQt(logbook::unitWord(*unit, units)), this));
        row->addStretch(1);
        fields->addRow(caption, row);
    };
    addField(QStringLiteral("maxDepth"), ui::tr("Prof. max.:"), Quantity::Depth);
    addField(QStringLiteral("avgDepth"), ui::tr("Prof. moyenne:"), Quantity::Depth);
    addField(QStringLiteral("breathingRate"), ui::tr("Cons.Moy:"), Quantity::AirConsumption);
    addField(QStringLiteral("airUsed"), ui::tr("Cons. air:"), Quantity::Pressure);
    addField(QStringLiteral("computer"), QString(), std::nullopt);

    // The computer's display: elapsed minutes, greatest depth, current depth and pressure, black on olive.
    auto *display = new QWidget(this);
    display->setAutoFillBackground(true);
    QPalette olive = display->palette();
    olive.setColor(QPalette::Window, QColor(128, 128, 64));
    olive.setColor(QPalette::WindowText, Qt::black);
    display->setPalette(olive);
    auto *displayLayout = new QFormLayout(display);
    for (const auto &[name, caption] : { std::pair { "elapsed", N_("min") }, std::pair { "greatest", N_("max") },
             std::pair { "depth", N_("prof.") }, std::pair { "pressure", N_("bout.") } }) {
        auto *value = new QLabel(display);
        value->setObjectName(QString::fromLatin1(name));
        displayLayout->addRow(ui::tr(caption), value);
    }

    auto *grid = new QCheckBox(ui::tr("&Grille"), this);
    auto *crosshair = new QCheckBox(ui::tr("Croi&x filée"), this);
    grid->setChecked(context.settings.grid);
    crosshair->setChecked(context.settings.crosshair);
    auto *copy = plainButton(ui::tr("&Copier"), this);
    m_paste = plainButton(ui::tr("C&oller"), this);
    m_erase = plainButton(ui::tr("&Effacer"), this);
    m_plan = plainButton(ui::tr("Déco &92"), this);
    auto *eraseProfile = plainButton(ui::tr("Effacer le &profil"), this);
    auto *ok = new QPushButton(ui::tr("OK"), this);
    ok->setDefault(true);
    auto *cancel = plainButton(ui::tr("Annuler"), this);

    m_limitNote = new QLabel(this);
    m_limitNote->setObjectName(QStringLiteral("limitNote"));
    m_limitNote->setStyleSheet(QStringLiteral("color: #c00000;"));
    if (profile::manualProfileLimited(m_work))
        m_limitNote->setText(ui::tr("Le profil dessiné s'arrête à %1 min: la plongée est plus longue.")
                                 .arg(profile::kManualProfileMaxMinutes));
    else
        m_limitNote->hide();

    auto *buttons = new QGridLayout;
    buttons->addWidget(ok, 0, 0);
    buttons->addWidget(cancel, 0, 1);
    buttons->addWidget(copy, 1, 0);
    buttons->addWidget(m_paste, 1, 1);
    buttons->addWidget(m_erase, 2, 0);
    buttons->addWidget(m_plan, 2, 1);
    buttons->addWidget(eraseProfile, 3, 0, 1, 2);
    buttons->addWidget(grid, 4, 0);
    buttons->addWidget(crosshair, 4, 1);

    auto *top = new QHBoxLayout;
    top->addLayout(fields);
    top->addWidget(display);
    top->addWidget(m_panel, 0, Qt::AlignTop);
    top->addLayout(buttons);
    auto *root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addWidget(m_limitNote);
    root->addWidget(m_graph, 1);

    connect(ok, &QPushButton::clicked, this, &ManualDataDialog::store);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(eraseProfile, &QPushButton::clicked, this, &ManualDataDialog::eraseProfile);
    connect(copy, &QPushButton::clicked, this, [this] {
        // All the drawn points, markers cleared, and the count the chart draws.
        std::vector<double> depths(std::min<std::size_t>(m_work.sampleCount + 1u, logbook::kMaxSamples));
        for (std::size_t i = 0; i < depths.size() && i < m_work.samples.size(); ++i)
            depths[i] = m_work.samples[i].depth;
        m_context.secondProfile.clipboard.setProfile(depths, {});
        refreshFields();
    });
    connect(m_paste, &QPushButton::clicked, this, [this] {
        m_context.secondProfile.shown = true;
        m_graph->invalidate();
        refreshFields();
    });
    connect(m_erase, &QPushButton::clicked, this, [this] {
        m_context.secondProfile.shown = false;
        m_graph->invalidate();
        refreshFields();
    });
    connect(m_plan, &QPushButton::clicked, this, [this] {
        if (!profile::planIntoClipboard(m_work, m_cursor, m_context.secondProfile.clipboard))
            return;
        m_context.secondProfile.shown = true;
        m_graph->invalidate();
        refreshFields();
    });
    connect(grid, &QCheckBox::toggled, this, [this](bool on) {
        m_context.settings.grid = on;
        m_graph->invalidate();
    });
    connect(crosshair, &QCheckBox::toggled, this, [this](bool on) {
        m_context.settings.crosshair = on;
        m_graph->update();
    });

    refreshFields();
    resize(sizeHint().expandedTo(QSize(1000, 620)));
}

QPushButton *ManualDataDialog::button(const QString &text) const
{
    for (QPushButton *b : findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}

QWidget *ManualDataDialog::graph() const
{
    return m_graph;
}

QLabel *ManualDataDialog::field(const QString &name) const
{
    return findChild<QLabel *>(name);
}

profile::ManualGraphStyle ManualDataDialog::graphStyle() const
{
    profile::ManualGraphStyle style;
    style.colours = m_context.settings.profileColours;
    style.units = m_context.logbook.unitSystem();
    style.grid = m_context.settings.grid ? profile::Grid::On : profile::Grid::Off;
    if (m_context.secondProfile.shown)
        style.secondProfile = &m_context.secondProfile.clipboard;
    return style;
}

void ManualDataDialog::mouseAt(QPoint point, bool drawing)
{
    const canvas::Size size { m_graph->width(), m_graph->height() };
    const profile::TrackingRect rect = profile::graphTrackingRect(size);
    if (!rect.contains({ point.x(), point.y() }))
        return;
    m_cursor = profile::cursorIndexAt(point.x(), rect, m_work.sampleCount, m_cursor);
    if (drawing) {
        // The pointer's row, counted from 1 at the top of the plot. Mouse events come far apart in a quick
        // drag: every sample between the last point and this one is drawn.
        const profile::ManualPoint here { m_cursor, point.y() - rect.top + 1 };
        if (profile::drawManualStroke(m_work, m_stroke.value_or(here), here, rect.bottom - rect.top + 1, m_axis,
                m_context.logbook.unitSystem()))
            m_graph->invalidate();
        m_stroke = here;
    } else {
        m_stroke.reset();
    }
    m_graph->update();
    m_panel->invalidate();
    refreshFields();
}

void ManualDataDialog::refreshFields()
{
    const logbook::UnitSystem units = m_context.logbook.unitSystem();
    const logbook::FieldCatalogue catalogue(units, m_context.logbook.computerInfo());
    const profile::ManualReadout readout = profile::manualReadout(m_work, m_cursor, units);
    field(QStringLiteral("maxDepth"))->setText(toQt(catalogue.fromRecord(logbook::Field::MaxDepth, m_work)));
    field(QStringLiteral("avgDepth"))->setText(toQt(readout.avgDepth));
    field(QStringLiteral("breathingRate"))->setText(toQt(readout.breathingRate));
    field(QStringLiteral("airUsed"))->setText(toQt(catalogue.fromRecord(logbook::Field::AirUsed, m_work)));
    field(QStringLiteral("computer"))->setText(toQt(catalogue.fromRecord(logbook::Field::ComputerName, m_work)));
    field(QStringLiteral("elapsed"))->setText(toQt(readout.elapsed));
    field(QStringLiteral("greatest"))->setText(toQt(catalogue.fromRecord(logbook::Field::MaxDepth, m_work)));
    field(QStringLiteral("depth"))->setText(toQt(readout.depth));
    field(QStringLiteral("pressure"))->setText(toQt(readout.pressure));
    const auto &second = m_context.secondProfile;
    m_paste->setEnabled(!second.clipboard.isEmpty() && !second.shown);
    m_erase->setEnabled(second.shown);
    m_plan->setEnabled(m_work.sampleCount != 0);
}

void ManualDataDialog::store()
{
    profile::storeManualProfile(m_work);
    m_context.logbook.putDive(m_work, m_position);
    accept();
}

void ManualDataDialog::eraseProfile()
{
    QMessageBox box(QMessageBox::Question, windowTitle(), toQt(common::str(StringId::AskDeleteProfile)),
        QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Ok);
    if (prompter().exec(box) != QMessageBox::Ok)
        return;
    profile::eraseManualProfile(m_work);
    m_context.logbook.putDive(m_work, m_position);
    accept();
}

bool showManualDataDialog(AppContext &context, QWidget *parent)
{
    if (context.logbook.diveCount() == 0)
        return false;
    ManualDataDialog dialog(context, parent);
    return prompter().exec(dialog) == QDialog::Accepted;
}

} // namespace zorv::ui
