#include "ui/registers/tripsdialog.h"

#include "common/strings.h"
#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QPushButton>

namespace zorv::ui {

namespace {

    using registers::Trip;
    constexpr auto kCharset = registers::Charset::Windows;

} // namespace

TripsDialog::TripsDialog(AppContext &context, std::function<void(int position)> goToDive, QWidget *parent)
    : RecordListWindow(context,
        { qstr(StringId::AskSaveTrips), ui::tr("Voyages (*.trp);;Tous les fichiers (*)"), QStringLiteral("trp"),
            nullptr, reports::JobKind::Trips },
        { registers::loadTrips, registers::saveTrips, registers::sortTrips }, parent)
    , m_goToDive(std::move(goToDive))
{
    setObjectName(QStringLiteral("trips"));
    setWindowTitle(ui::tr("Voyages"));
    setUpList(registers::kTripColumns, settings::ColumnList::Trips);

    addDateField(ui::tr("Date du:"), QStringLiteral("firstDay"), &Trip::firstDay);
    addDateField(ui::tr("au:"), QStringLiteral("lastDay"), &Trip::lastDay);
    // Dive numbers are whole: "12,5" is refused naming the field rather than cut to 12.
    addWholeField(
        ui::tr("Plongée de:"), QStringLiteral("firstDive"), 11,
        [this](int r) -> std::int32_t & { return trip(r).firstDive; }, INT32_MIN, INT32_MAX);
    addWholeField(
        ui::tr("à:"), QStringLiteral("lastDive"), 11, [this](int r) -> std::int32_t & { return trip(r).lastDive; },
        INT32_MIN, INT32_MAX);
    addTextField(ui::tr("Destination:"), QStringLiteral("destination"), registers::trips::kDestination, kCharset,
        &Trip::destination, 3);
    addTextArea(ui::tr("Remarques:"), QStringLiteral("remarks"), static_cast<int>(registers::trips::kRemarksAccepted),
        kCharset, &Trip::remarks);

    addButton(Action::New, ui::tr("Nouve&au"));
    addButton(Action::Delete, ui::tr("Ef&facer"), Enabled::WithRecords);
    addButton(Action::Sort, ui::tr("T&rier"), Enabled::WithRecords);
    addButton(Action::Save, ui::tr("&Sauvegarder"), Enabled::WithRecords);
    addButton(Action::Print, ui::tr("&Imprimer"), Enabled::WithRecords);
    m_goTo = addButton(ui::tr("A&ller à"), QStringLiteral("goTo"), Enabled::Always, [this] {
        const int row = selectedRow();
        if (row < 0)
            return;
        if (const auto position = registers::tripGoToPosition(trip(row), m_context.logbook.diveCount()))
            m_goToDive(*position);
    });
    load(context.logbook.trpPath());
}

std::string TripsDialog::cell(int row, int column) const
{
    return registers::tripCell(trip(row), column);
}

common::Result TripsDialog::readFrom(const std::string &path)
{
    common::Result read = RecordListWindow::readFrom(path);
    if (read && m_records.empty())
        m_records.emplace_back(); // a logbook without trips opens on a first, empty one
    return read;
}

registers::ListPrintout TripsDialog::printout() const
{
    return registers::tripPrintout(m_records);
}

void TripsDialog::refreshSummary()
{
    const int row = selectedRow();
    m_goTo->setEnabled(row >= 0 && trip(row).firstDive != 0);
}

void showTrips(AppContext &context, const std::function<void(int position)> &goToDive, QWidget *parent)
{
    TripsDialog dialog(context, goToDive, parent);
    prompter().exec(dialog);
}

} // namespace zorv::ui
