#include "ui/profile/plannerdialog.h"

#include "canvas/scaledcanvas.h"
#include "common/cformat.h"
#include "common/clock.h"
#include "common/decimal.h"
#include "qtcanvas/qpaintercanvas.h"
#include "qtglue/qcolour.h"
#include "ui/colours/colourdialogs.h"
#include "ui/colours/colourpicker.h"
#include "ui/common/appcontext.h"
#include "ui/common/canvasview.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/reports/printdispatcher.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>

namespace zorv::ui {

namespace {

    std::optional<profile::PlannerState> s_state;
    profile::PlannedProfile s_planned;

    // Decimals are read as typed, "18,5" as "18.5": a validator for one locale would block the other
    // separator at the keyboard. Text that is no number is refused when the plan is computed.
    constexpr double kLargestDecimal = 10000.0;
    constexpr int kLargestWhole = 100000;

    QLineEdit *numberField(QWidget *parent, bool decimals)
    {
        auto *field = new QLineEdit(parent);
        if (decimals)
            field->setMaxLength(10);
        else
            field->setValidator(new QIntValidator(0, kLargestWhole, field));
        field->setMaximumWidth(80);
        return field;
    }

    std::optional<double> decimalOf(const QLineEdit *field, double largest = kLargestDecimal)
    {
        const std::optional<double> value = common::parseDecimal(fromQt(field->text()));
        return value && *value >= 0 && *value <= largest ? value : std::nullopt;
    }

    std::optional<int> wholeOf(const QLineEdit *field)
    {
        const std::optional<double> value = decimalOf(field, kLargestWhole);
        return value && *value == std::floor(*value) ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
    }

    QString decimalText(double value, const char *format)
    {
        return toQt(common::cformat(format, value));
    }

    QPushButton *plainButton(const QString &text, QWidget *parent)
    {
        auto *button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        return button;
    }

} // namespace

// The chart of the planned dive with cursor lines that follow the mouse; the chart is composed once per change, the
// lines are laid over it at each paint.
class PlannerChartView final : public CanvasView {
public:
    PlannerChartView(Draw draw, std::function<bool()> crosshair, QWidget *parent)
        : CanvasView(std::move(draw), parent)
        , m_crosshair(std::move(crosshair))
    {
        setOverlay([this](canvas::Canvas &canvas, canvas::Size size) {
            if (m_mouse)
                profile::drawPlannerCursorLines(canvas, size, { m_mouse->x(), m_mouse->y() }, m_crosshair());
        });
        setMouseTracking(true);
        setCursor(Qt::CrossCursor);
        setMinimumSize(400, 220);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    std::optional<QPoint> mousePoint() const { return m_mouse; }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        if (isEnabled()) {
            CanvasView::paintEvent(event);
            return;
        }
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        const QPoint p = event->position().toPoint();
        const profile::TrackingRect rect = profile::graphTrackingRect({ width(), height() });
        m_mouse = rect.contains({ p.x(), p.y() }) ? std::optional<QPoint>(p) : std::nullopt;
        update();
    }
    void leaveEvent(QEvent *event) override
    {
        m_mouse.reset();
        update();
        CanvasView::leaveEvent(event);
    }

private:
    std::function<bool()> m_crosshair;
    std::optional<QPoint> m_mouse;
};

profile::PlannerState &plannerState(AppContext &context)
{
    if (!s_state) {
        const auto now = static_cast<std::int32_t>(common::SystemClock().now());
        s_state = profile::initialPlannerState(now, context.logbook.meanAirConsumption());
    }
    return *s_state;
}

profile::PlannedProfile &plannedProfile()
{
    return s_planned;
}

void paintPlannerPage(QPainter &painter, const profile::PlannerState &state, const profile::PlannedProfile &planned,
    const profile::PlannerChartStyle &style)
{
    qtcanvas::QPainterCanvas device(painter);
    canvas::ScaledCanvas page(device, canvas::ScaledCanvas::tenthMillimetreScale(device.dpi()));
    profile::drawPlannerPage(page, state, planned, style);
}

PlannerDialog::PlannerDialog(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    qtcanvas::QPainterCanvas::installFontSubstitutions();
    setWindowTitle(ui::tr("Calcul de plongée d'après DECO 92"));
    profile::PlannerState &state = plannerState(context);
    if (context.logbook.meanValid())
        state.breathingRate = context.logbook.meanAirConsumption();
    state.resultValid = 0;
    state.resultText.clear();

    auto *dive = new QGroupBox(ui::tr("Données"), this);
    auto *diveForm = new QFormLayout(dive);
    m_depth = numberField(dive, true);
    m_time = numberField(dive, false);
    diveForm->addRow(ui::tr("Prof. max. (m)"), m_depth);
    diveForm->addRow(ui::tr("Temps au fond (min)"), m_time);
    m_seaLevel = new QRadioButton(ui::tr("Niv. de la mer (0-700 m)"), dive);
    m_mountain = new QRadioButton(ui::tr("Lac de mont. (701-1500 m)"), dive);
    diveForm->addRow(m_seaLevel);
    diveForm->addRow(m_mountain);

    auto *repetitive = new QGroupBox(this);
    auto *repetitiveForm = new QFormLayout(repetitive);
    m_repetitive = new QCheckBox(ui::tr("Plongées successives"), repetitive);
    m_group = new QLineEdit(repetitive);
    m_group->setMaxLength(1);
    m_group->setMaximumWidth(40);
    m_group->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z]?")), m_group));
    // The tables name groups in capitals.
    connect(m_group, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (text != text.toUpper())
            m_group->setText(text.toUpper());
    });
    m_interval = numberField(repetitive, false);
    repetitiveForm->addRow(m_repetitive);
    repetitiveForm->addRow(ui::tr("Groupe de pression"), m_group);
    repetitiveForm->addRow(ui::tr("Intervalle de surface (min)"), m_interval);

    auto *air = new QGroupBox(ui::tr("Air"), this);
    auto *airForm = new QFormLayout(air);
    m_rate = numberField(air, true);
    m_tank = numberField(air, true);
    m_pressure = numberField(air, false);
    airForm->addRow(ui::tr("Cons. air (l/min)"), m_rate);
    airForm->addRow(ui::tr("Bouteille (l)"), m_tank);
    airForm->addRow(ui::tr("Pression (bar)"), m_pressure);

    m_result = new QPlainTextEdit(this);
    m_result->setObjectName(QStringLiteral("result"));
    m_result->setReadOnly(true);
    m_result->setFocusPolicy(Qt::NoFocus);
    m_result->setMinimumWidth(300);
    const auto &colours = context.settings.profileColours;
    QPalette palette = m_result->palette();
    palette.setColor(QPalette::Base, qtglue::toQColor(colours[settings::ProfileColour::Background]));
    palette.setColor(QPalette::Text, qtglue::toQColor(colours[settings::ProfileColour::Text]));
    m_result->setPalette(palette);

    auto *calculate = new QPushButton(ui::tr("&Calculer"), this);
    calculate->setDefault(true);
    auto *quit = plainButton(ui::tr("Quitter"), this);
    m_copy = plainButton(ui::tr("Co&pier"), this);
    m_paste = plainButton(ui::tr("C&oller"), this);
    m_erase = plainButton(ui::tr("&Effacer"), this);
    auto *colour = plainButton(ui::tr("Cou&leur"), this);
    m_print = plainButton(ui::tr("&Imprimer"), this);
    m_grid = new QCheckBox(ui::tr("&Grille"), this);
    m_crosshair = new QCheckBox(ui::tr("Croi&x filée"), this);
    m_grid->setChecked(context.settings.grid);
    m_crosshair->setChecked(context.settings.crosshair);

    m_chart = new PlannerChartView(
        [this](canvas::Canvas &canvas, canvas::Size size) {
            // Metres always: the tables know no feet.
            profile::drawPlannerChart(canvas, size, s_planned, chartStyle());
        },
        [this] { return m_context.settings.crosshair; }, this);
    m_chart->setObjectName(QStringLiteral("chart"));

    auto *inputs = new QVBoxLayout;
    inputs->addWidget(dive);
    inputs->addWidget(repetitive);
    inputs->addWidget(air);
    inputs->addStretch(1);
    auto *buttons = new QVBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *> {
             calculate, quit, m_copy, m_paste, m_erase, colour, m_print, m_grid, m_crosshair })
        buttons->addWidget(w);
    buttons->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addLayout(inputs);
    top->addWidget(m_result, 1);
    top->addLayout(buttons);
    auto *root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addWidget(m_chart, 1);

    connect(calculate, &QPushButton::clicked, this, &PlannerDialog::calculate);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_repetitive, &QCheckBox::toggled, this, &PlannerDialog::refreshEnabling);
    connect(m_copy, &QPushButton::clicked, this, [this] {
        const auto points = static_cast<std::size_t>(s_planned.pointCount());
        m_context.secondProfile.clipboard.setProfile(std::span<const double>(s_planned.depths.data(), points),
            std::span<const std::uint8_t>(s_planned.markers.data(), points));
        refreshEnabling();
    });
    connect(m_paste, &QPushButton::clicked, this, [this] {
        m_context.secondProfile.shown = true;
        m_chart->invalidate();
        refreshEnabling();
    });
    connect(m_erase, &QPushButton::clicked, this, [this] {
        m_context.secondProfile.shown = false;
        m_chart->invalidate();
        refreshEnabling();
    });
    connect(colour, &QPushButton::clicked, this, [this] {
        if (showProfileColoursDialog(m_context, this)) {
            const auto &c = m_context.settings.profileColours;
            QPalette p = m_result->palette();
            p.setColor(QPalette::Base, qtglue::toQColor(c[settings::ProfileColour::Background]));
            p.setColor(QPalette::Text, qtglue::toQColor(c[settings::ProfileColour::Text]));
            m_result->setPalette(p);
            m_chart->invalidate();
        }
    });
    connect(m_grid, &QCheckBox::toggled, this, [this](bool on) {
        m_context.settings.grid = on;
        m_chart->invalidate();
    });
    connect(m_crosshair, &QCheckBox::toggled, this, [this](bool on) {
        m_context.settings.crosshair = on;
        m_chart->update();
    });
    connect(m_print, &QPushButton::clicked, this, &PlannerDialog::print);

    showFields();
    resize(sizeHint().expandedTo(QSize(900, 680)));
}

QPushButton *PlannerDialog::button(const QString &text) const
{
    for (QPushButton *b : findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}

profile::PlannerChartStyle PlannerDialog::chartStyle() const
{
    profile::PlannerChartStyle style;
    style.colours = m_context.settings.profileColours;
    style.grid = m_context.settings.grid ? profile::Grid::On : profile::Grid::Off;
    if (m_context.secondProfile.shown)
        style.secondProfile = &m_context.secondProfile.clipboard;
    return style;
}

void PlannerDialog::showFields()
{
    const profile::PlannerState &s = plannerState(m_context);
    m_depth->setText(decimalText(s.depth, "%g"));
    m_time->setText(QString::number(s.bottomTime));
    (s.altitude == 1 ? m_mountain : m_seaLevel)->setChecked(true);
    m_repetitive->setChecked(s.repetitive != 0);
    m_group->setText(toQt(s.group).toUpper());
    m_interval->setText(QString::number(s.interval));
    m_rate->setText(decimalText(s.breathingRate, "%.1f"));
    m_tank->setText(decimalText(s.tankLitres, "%g"));
    m_pressure->setText(QString::number(s.fillPressure));
    // One tab between label and value, the stop past the widest label: the values line up in one column.
    QStringList lines;
    int widest = 0;
    for (const profile::ResultRow &row : profile::resultRows(s.resultText)) {
        const QString label = toQt(row.label);
        widest = std::max(widest, m_result->fontMetrics().horizontalAdvance(label));
        lines << (row.value.empty() ? label : label + QLatin1Char('\t') + toQt(row.value));
    }
    m_result->setTabStopDistance(widest + m_result->fontMetrics().horizontalAdvance(QStringLiteral("xx")));
    m_result->setPlainText(lines.join(QLatin1Char('\n')));
    refreshEnabling();
}

bool PlannerDialog::readFields()
{
    // Every field is checked before any is taken, so a refused field changes nothing.
    const struct {
        QLineEdit *field;
        bool decimals;
    } fields[] = { { m_depth, true }, { m_time, false }, { m_interval, false }, { m_rate, true }, { m_tank, true },
        { m_pressure, false } };
    for (const auto &f : fields) {
        const bool ok = f.decimals ? decimalOf(f.field).has_value() : wholeOf(f.field).has_value();
        if (!ok && (f.field->isEnabled() || f.field != m_interval)) {
            ui::warn(this, windowTitle(), ui::tr("Entrez un nombre."));
            f.field->setFocus();
            f.field->selectAll();
            return false;
        }
    }
    profile::PlannerState &s = plannerState(m_context);
    s.depth = *decimalOf(m_depth);
    s.bottomTime = *wholeOf(m_time);
    s.altitude = m_mountain->isChecked() ? 1 : 0;
    s.repetitive = m_repetitive->isChecked() ? 1 : 0;
    s.group = m_group->text().toUpper().toStdString();
    s.interval = wholeOf(m_interval).value_or(0);
    s.breathingRate = *decimalOf(m_rate);
    s.tankLitres = *decimalOf(m_tank);
    s.fillPressure = *wholeOf(m_pressure);
    return true;
}

bool PlannerDialog::calculate()
{
    if (!readFields())
        return false;
    profile::PlannerState &s = plannerState(m_context);
    if (profile::calculate(s, s_planned))
        m_computedHere = s.resultValid != 0;
    showFields();
    m_chart->invalidate();
    return true;
}

void PlannerDialog::refreshEnabling()
{
    const profile::PlannerState &s = plannerState(m_context);
    const bool repetitive = m_repetitive->isChecked();
    m_group->setEnabled(repetitive);
    m_interval->setEnabled(repetitive);
    const bool result = s.resultValid != 0 && m_computedHere;
    m_chart->setEnabled(result);
    m_print->setEnabled(result);
    m_copy->setEnabled(result);
    m_paste->setEnabled(result && !m_context.secondProfile.clipboard.isEmpty() && !m_context.secondProfile.shown);
    m_erase->setEnabled(m_context.secondProfile.shown);
    m_chart->update();
}

namespace {

    // The planner's one page, drawn in tenths of a millimetre like every printed page.
    class PlannerPage final : public reports::PageSource {
    public:
        PlannerPage(const profile::PlannerState &state, const profile::PlannedProfile &planned,
            const profile::PlannerChartStyle &style)
            : m_state(state)
            , m_planned(planned)
            , m_style(style)
        {
        }

        bool printPage(canvas::Canvas &canvas, reports::PageSizeMm) override
        {
            canvas::ScaledCanvas page(canvas, canvas::ScaledCanvas::tenthMillimetreScale(canvas.dpi()));
            profile::drawPlannerPage(page, m_state, m_planned, m_style);
            return false;
        }

    private:
        const profile::PlannerState &m_state;
        const profile::PlannedProfile &m_planned;
        profile::PlannerChartStyle m_style;
    };

} // namespace

void PlannerDialog::print()
{
    PrintDispatcher local(m_context);
    PrintDispatcher *dispatcher = PrintDispatcher::current() ? PrintDispatcher::current() : &local;
    const profile::PlannerChartStyle style = chartStyle();
    dispatcher->printPages(
        this, reports::JobKind::Planner,
        [this, style] { return std::make_unique<PlannerPage>(plannerState(m_context), s_planned, style); }, false);
}

void showPlannerDialog(AppContext &context, QWidget *parent)
{
    PlannerDialog dialog(context, parent);
    prompter().exec(dialog);
}

} // namespace zorv::ui
