#include "ui/profile/divedatawindow.h"

#include "logbook/fieldcatalogue.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"
#include "ui/common/valuefield.h"
#include "ui/common/windowplacement.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <algorithm>

namespace zorv::ui {

namespace {

    using C = logbook::PageControl;

    // In the order the window lists them.
    constexpr C kFields[] = { C::Date, C::EntryTime, C::Place, C::Site, C::ComputerName, C::TankVolume, C::MaxDepth,
        C::AverageDepth, C::Duration, C::MinWaterTemperature, C::AirUsed, C::AirConsumption, C::DiveType, C::Activities,
        C::Warnings, C::Partners };

    const QString kComputerStyle = QStringLiteral("QLabel { color: rgb(255, 64, 64); background: black; }");

} // namespace

std::vector<logbook::DivePageRow> divePageRows(const AppContext &context, int position)
{
    const logbook::Logbook &lb = context.logbook;
    const logbook::FieldCatalogue catalogue(lb);
    const logbook::DivePageOptions options { lb.mode(), false };
    std::vector<logbook::DivePageRow> rows = logbook::divePage(lb, catalogue, position, options);
    // Without a dive the fields stay empty rather than describing the blank record.
    if (!lb.dive(position))
        for (logbook::DivePageRow &row : rows)
            row.value.clear();
    return rows;
}

DiveDataWindow::DiveDataWindow(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setWindowTitle(ui::tr("Données de la plongée"));
    setModal(false);
    // A tool window of the profile window: it stays above it, and the window
    // manager does not give it a place of its own behind the others.
    setWindowFlag(Qt::Tool);
    // The profile window is modal: a window manager such as Openbox stacks a modal window above every window
    // of its program, its own tool windows included, at each click in it. Only "above" keeps this one in sight.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->setContentsMargins(10, 10, 10, 10);

    QMap<C, logbook::DivePageRow> rows;
    for (logbook::DivePageRow &row : divePageRows(context, 0))
        rows.insert(row.controlId, row);
    int line = 0;
    for (const C id : kFields) {
        QLabel *value = newValueField(this);
        // The window grows with its texts rather than cutting them.
        value->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        m_values.insert(id, value);
        if (id == C::ComputerName) {
            // The computer's name reads as on the dive page: red on black, without a caption.
            value->setStyleSheet(kComputerStyle);
            value->setFrameStyle(QFrame::NoFrame);
            value->setAlignment(Qt::AlignCenter);
            grid->addWidget(value, line++, 1, 1, 2);
            continue;
        }
        grid->addWidget(new QLabel(toQt(rows.value(id).label)), line, 0);
        grid->addWidget(value, line, 1);
        if (rows.value(id).unitControlId != C::None) {
            auto *unit = new QLabel;
            unit->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("cft/min")) + 2);
            m_units.insert(id, unit);
            grid->addWidget(unit, line, 2);
        }
        ++line;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(line, 1);
    resize(sizeHint());
}

DiveDataWindow::~DiveDataWindow() = default;

void DiveDataWindow::showDive(int position)
{
    for (const logbook::DivePageRow &row : divePageRows(m_context, position)) {
        if (QLabel *value = m_values.value(row.controlId)) {
            value->setText(toQt(row.value));
            value->setToolTip(row.value.size() > 30 ? toQt(row.value) : QString());
        }
        if (QLabel *unit = m_units.value(row.controlId))
            unit->setText(toQt(row.unit));
    }
    m_values.value(C::ComputerName)->setVisible(!m_values.value(C::ComputerName)->text().isEmpty());
    // Wide enough for the longest text, within reason: a long list of partners stays in its tool tip.
    int widest = 0;
    for (const QLabel *value : std::as_const(m_values))
        widest = std::max(widest, value->fontMetrics().horizontalAdvance(value->text()) + 12);
    const int cap = screen() ? screen()->availableGeometry().width() / 2 : 600;
    for (QLabel *value : std::as_const(m_values))
        value->setMinimumWidth(std::min(widest, cap));
    if (width() < sizeHint().width())
        resize(sizeHint().width(), height());
}

std::optional<QRect> DiveDataWindow::storedRect() const
{
    if (const auto stored = storedPlacement(m_context, settings::Window::ProfileData))
        return stored->rect;
    return std::nullopt;
}

QString DiveDataWindow::valueText(logbook::PageControl controlId) const
{
    const QLabel *value = m_values.value(controlId);
    return value ? value->text() : QString();
}

QString DiveDataWindow::unitText(logbook::PageControl controlId) const
{
    const QLabel *unit = m_units.value(controlId);
    return unit ? unit->text() : QString();
}

void DiveDataWindow::savePlacement()
{
    saveWindowPlacement(m_context, this, settings::Window::ProfileData);
}

void DiveDataWindow::done(int result)
{
    if (isVisible())
        savePlacement();
    QDialog::done(result);
}

} // namespace zorv::ui
