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

    constexpr int kComputerName = 1046;

    // In the order the window lists them.
    constexpr int kFields[]
        = { 1042, 1043, 1044, 1045, kComputerName, 1052, 1053, 1054, 1055, 1056, 1057, 1058, 1059, 1060, 1061, 1062 };

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
    setWindowTitle(QStringLiteral("Données plongée"));
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

    QHash<int, logbook::DivePageRow> rows;
    for (logbook::DivePageRow &row : divePageRows(context, 0))
        rows.insert(row.controlId, row);
    int line = 0;
    for (int id : kFields) {
        QLabel *value = newValueField(this);
        // The window grows with its texts rather than cutting them.
        value->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        m_values.insert(id, value);
        if (id == kComputerName) {
            // The computer's name reads as on the dive page: red on black, without a caption.
            value->setStyleSheet(kComputerStyle);
            value->setFrameStyle(QFrame::NoFrame);
            value->setAlignment(Qt::AlignCenter);
            grid->addWidget(value, line++, 1, 1, 2);
            continue;
        }
        grid->addWidget(new QLabel(toQt(rows.value(id).label)), line, 0);
        grid->addWidget(value, line, 1);
        if (rows.value(id).unitControlId != 0) {
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
    m_values.value(kComputerName)->setVisible(!m_values.value(kComputerName)->text().isEmpty());
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

QString DiveDataWindow::valueText(int controlId) const
{
    const QLabel *value = m_values.value(controlId);
    return value ? value->text() : QString();
}

QString DiveDataWindow::unitText(int controlId) const
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
