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
        { qstr(StringId::AskSaveTrips), QStringLiteral("Voyages (*.trp);;Tous les fichiers (*)"), QStringLiteral("trp"),
            nullptr, reports::JobKind::Trips },
        { registers::loadTrips, registers::saveTrips, registers::sortTrips }, parent)
    , m_goToDive(std::move(goToDive))
{
    setObjectName(QStringLiteral("trips"));
    setWindowTitle(QStringLiteral("Voyages"));
    setUpList(registers::kTripColumns, settings::ColumnList::Trips);

    addDateField(QStringLiteral("Date du:"), QStringLiteral("firstDay"), &Trip::firstDay);
    addDateField(QStringLiteral("au:"), QStringLiteral("lastDay"), &Trip::lastDay);
    // Dive numbers are whole: "12,5" is refused naming the field rather than cut to 12.
    addWholeField(
        QStringLiteral("Plongée de:"), QStringLiteral("firstDive"), 11,
        [this](int r) -> std::int32_t & { return trip(r).firstDive; }, INT32_MIN, INT32_MAX);
    addWholeField(
        QStringLiteral("à:"), QStringLiteral("lastDive"), 11,
        [this](int r) -> std::int32_t & { return trip(r).lastDive; }, INT32_MIN, INT32_MAX);
    addTextField(QStringLiteral("Déstination:"), QStringLiteral("destination"), registers::trips::kDestination,
        kCharset, &Trip::destination, 3);
    addTextArea(QStringLiteral("Remarques:"), QStringLiteral("remarks"),
        static_cast<int>(registers::trips::kRemarksAccepted), kCharset, &Trip::remarks);

    addButton(Action::New, QStringLiteral("Nouve&au"));
    addButton(Action::Delete, QStringLiteral("Ef&facer"), Enabled::WithRecords);
    addButton(Action::Sort, QStringLiteral("T&rier"), Enabled::WithRecords);
    addButton(Action::Save, QStringLiteral("&Sauvegarder"), Enabled::WithRecords);
    addButton(Action::Print, QStringLiteral("&Imprimer"), Enabled::WithRecords);
    m_goTo = addButton(QStringLiteral("A&ller à"), QStringLiteral("goTo"), Enabled::Always, [this] {
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
