#include "ui/registers/tripsdialog.h"

#include "logbook/diverecord.h"
#include "logbook/fieldcatalogue.h"
#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    using registers::Trip;
    constexpr auto kCharset = registers::Charset::Windows;

    QString dateText(std::uint32_t day)
    {
        return toQt(logbook::formatDate(day, logbook::DateForm::Medium));
    }

    std::uint32_t parsedDate(const QString &text)
    {
        const std::uint32_t day = logbook::parseDate(fromQt(text));
        return day == logbook::kNoDate ? 0 : day;
    }

    std::int32_t diveNumber(const QString &text)
    {
        return static_cast<std::int32_t>(registers::parseWhole(fromQt(text), INT32_MIN, INT32_MAX));
    }

} // namespace

TripsDialog::TripsDialog(AppContext &context, std::function<void(int position)> goToDive, QWidget *parent)
    : RecordListDialog(context, parent)
    , m_goToDive(std::move(goToDive))
{
    setObjectName(QStringLiteral("trips"));
    setWindowTitle(QStringLiteral("Voyages"));
    m_saveQuestion = qstr(StringId::AskSaveTrips);
    setUpList(registers::kTripColumns, settings::ColumnList::Trips,
        [this](int row, int column) { return registers::tripCell(trip(row), column); });

    addField(
        QStringLiteral("Date du:"), QStringLiteral("firstDay"), 12,
        [this](int r) { return dateText(trip(r).firstDay); },
        [this](int r, const QString &t) { trip(r).firstDay = parsedDate(t); }, Apply::WhenLeft);
    addField(
        QStringLiteral("au:"), QStringLiteral("lastDay"), 12, [this](int r) { return dateText(trip(r).lastDay); },
        [this](int r, const QString &t) { trip(r).lastDay = parsedDate(t); }, Apply::WhenLeft);
    addField(
        QStringLiteral("Plongée de:"), QStringLiteral("firstDive"), 11,
        [this](int r) { return QString::number(trip(r).firstDive); },
        [this](int r, const QString &t) { trip(r).firstDive = diveNumber(t); });
    addField(
        QStringLiteral("à:"), QStringLiteral("lastDive"), 11,
        [this](int r) { return QString::number(trip(r).lastDive); },
        [this](int r, const QString &t) { trip(r).lastDive = diveNumber(t); });
    addField(
        QStringLiteral("Déstination:"), QStringLiteral("destination"),
        static_cast<int>(registers::trips::kDestination) - 1,
        [this](int r) { return toQt(registers::toDisplay(trip(r).destination, kCharset)); },
        [this](int r, const QString &t) { trip(r).destination = registers::toStored(fromQt(t), kCharset); },
        Apply::AsTyped, 3);
    addTextArea(
        QStringLiteral("Remarques:"), QStringLiteral("remarks"), static_cast<int>(registers::trips::kRemarksAccepted),
        [this](int r) { return toQt(registers::toDisplay(trip(r).remarks, kCharset)); },
        [this](int r, const QString &t) { trip(r).remarks = registers::toStored(fromQt(t), kCharset); });

    addButton(QStringLiteral("Nouve&au"), QStringLiteral("new"), [this] { appendRecord(); });
    m_needRecords.push_back(addButton(QStringLiteral("Ef&facer"), QStringLiteral("delete"), [this] {
        if (selectedRow() >= 0)
            removeRecord(selectedRow());
    }));
    m_needRecords.push_back(addButton(QStringLiteral("T&rier"), QStringLiteral("sort"), [this] { sortRecords(); }));
    m_needRecords.push_back(addButton(QStringLiteral("&Sauvegarder"), QStringLiteral("save"), [this] { save(); }));
    m_needRecords.push_back(addButton(QStringLiteral("&Imprimer"), QStringLiteral("print"),
        [this] { printList(this, printout(), reports::JobKind::Trips); }));
    m_goTo = addButton(QStringLiteral("A&ller à"), QStringLiteral("goTo"), [this] {
        const int row = selectedRow();
        if (row < 0)
            return;
        if (const auto position = registers::tripGoToPosition(trip(row), m_context.logbook.diveCount()))
            m_goToDive(*position);
    });
    sideButtons()->addStretch(1);
    addButton(QStringLiteral("&Quitter"), QStringLiteral("quit"), [this] { reject(); });

    const std::string path = context.logbook.trpPath();
    auto loaded = registers::loadTrips(path);
    if (loaded)
        m_trips = std::move(loaded.value());
    const bool start = loaded && m_trips.empty();
    if (start)
        m_trips.emplace_back(); // a logbook without trips opens on a first, empty one
    setRecords(path, loaded.ok(), loaded.result());
}

void TripsDialog::appendRecord()
{
    m_trips.emplace_back();
    reloadList(count() - 1);
    markChanged();
}

void TripsDialog::removeRecord(int row)
{
    m_trips.erase(m_trips.begin() + row);
    reloadList(std::min(row, count() - 1));
    markChanged();
}

void TripsDialog::sortRecords()
{
    registers::sortTrips(m_trips);
    reloadList(0);
    markChanged();
}

common::Result TripsDialog::saveTo(const std::string &path)
{
    return registers::saveTrips(path, m_trips);
}

registers::ListPrintout TripsDialog::printout() const
{
    return registers::tripPrintout(m_trips);
}

void TripsDialog::refreshSummary()
{
    const int row = selectedRow();
    m_goTo->setEnabled(row >= 0 && m_trips[static_cast<std::size_t>(row)].firstDive != 0);
}

QString TripsDialog::askNewPath()
{
    return chooseSavePath(this, QStringLiteral("Voyages (*.trp);;Tous les fichiers (*)"), m_context.logbook.trpPath());
}

void showTrips(AppContext &context, const std::function<void(int position)> &goToDive, QWidget *parent)
{
    TripsDialog dialog(context, goToDive, parent);
    dialog.exec();
}

} // namespace zorv::ui
