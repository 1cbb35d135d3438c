#include "ui/registers/teachingdialog.h"

#include "logbook/diverecord.h"
#include "logbook/fieldcatalogue.h"
#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    using registers::TeachingActivity;
    constexpr auto kCharset = registers::Charset::Windows;
    const QString kFilter = QStringLiteral("Suivi de qualification (*.abn);;Tous les fichiers (*)");
    const QString kSuffix = QStringLiteral("abn");

    QString dateText(std::uint32_t day)
    {
        return toQt(logbook::formatDate(day, logbook::DateForm::Medium));
    }

    std::uint32_t parsedDate(const QString &text)
    {
        const std::uint32_t day = logbook::parseDate(fromQt(text));
        return day == logbook::kNoDate ? 0 : day;
    }

    std::int32_t whole(const QString &text)
    {
        return static_cast<std::int32_t>(registers::parseWhole(fromQt(text), INT32_MIN, INT32_MAX));
    }

} // namespace

TeachingDialog::TeachingDialog(AppContext &context, QWidget *parent)
    : RecordListDialog(context, parent)
{
    using namespace registers::teaching;
    setObjectName(QStringLiteral("teaching"));
    setWindowTitle(QStringLiteral("Suivi de qualification"));
    m_saveQuestion = QStringLiteral("Sauvegarder le suivi de qualification?");
    setUpList(registers::kTeachingColumns, settings::ColumnList::TrainingRecord,
        [this](int row, int column) { return registers::teachingCell(record(row), column); });

    addField(
        QStringLiteral("Activité"), QStringLiteral("activity"), static_cast<int>(kActivity) - 1,
        [this](int r) { return toQt(registers::toDisplay(record(r).activity, kCharset)); },
        [this](int r, const QString &t) { record(r).activity = registers::toStored(fromQt(t), kCharset); },
        Apply::AsTyped, 3);
    addField(
        QStringLiteral("Date"), QStringLiteral("firstDay"), 12, [this](int r) { return dateText(record(r).firstDay); },
        [this](int r, const QString &t) { record(r).firstDay = parsedDate(t); }, Apply::WhenLeft);
    addField(
        QStringLiteral("à"), QStringLiteral("lastDay"), 12, [this](int r) { return dateText(record(r).lastDay); },
        [this](int r, const QString &t) { record(r).lastDay = parsedDate(t); }, Apply::WhenLeft);
    addField(
        QStringLiteral("Heures de théorie"), QStringLiteral("theory"), 11,
        [this](int r) { return QString::number(record(r).theoryHours); },
        [this](int r, const QString &t) { record(r).theoryHours = whole(t); });
    addField(
        QStringLiteral("Heures de pratique"), QStringLiteral("practice"), 11,
        [this](int r) { return QString::number(record(r).practiceHours); },
        [this](int r, const QString &t) { record(r).practiceHours = whole(t); });
    addField(
        QStringLiteral("Nombre de personnes"), QStringLiteral("persons"), 11,
        [this](int r) { return QString::number(record(r).persons); },
        [this](int r, const QString &t) { record(r).persons = whole(t); });
    addField(
        QStringLiteral("Remarques"), QStringLiteral("remarks"), static_cast<int>(kRemarks) - 1,
        [this](int r) { return toQt(registers::toDisplay(record(r).remarks, kCharset)); },
        [this](int r, const QString &t) { record(r).remarks = registers::toStored(fromQt(t), kCharset); },
        Apply::AsTyped, 3);

    auto *totals = new QGroupBox(QStringLiteral("Total heures"), this);
    auto *totalsLayout = new QGridLayout(totals);
    m_theory = new QLabel(totals);
    m_theory->setObjectName(QStringLiteral("totalTheory"));
    m_practice = new QLabel(totals);
    m_practice->setObjectName(QStringLiteral("totalPractice"));
    m_total = new QLabel(totals);
    m_total->setObjectName(QStringLiteral("total"));
    for (QLabel *label : { m_theory, m_practice, m_total }) {
        // Room for any sum, so that the box does not reflow as the hours grow.
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-99999999999")));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    totalsLayout->addWidget(new QLabel(QStringLiteral("Théorie"), totals), 0, 0);
    totalsLayout->addWidget(m_theory, 0, 1);
    totalsLayout->addWidget(new QLabel(QStringLiteral("Pratique"), totals), 0, 2);
    totalsLayout->addWidget(m_practice, 0, 3);
    totalsLayout->addWidget(new QLabel(QStringLiteral("Total"), totals), 0, 4);
    totalsLayout->addWidget(m_total, 0, 5);
    mainColumn()->addWidget(totals);

    addButton(QStringLiteral("&Nouvelle"), QStringLiteral("new"), [this] { appendRecord(); });
    m_needRecords.push_back(addButton(QStringLiteral("Ef&facer"), QStringLiteral("delete"), [this] {
        if (selectedRow() >= 0)
            removeRecord(selectedRow());
    }));
    m_needRecords.push_back(addButton(QStringLiteral("Tri&er"), QStringLiteral("sort"), [this] { sortRecords(); }));
    m_needRecords.push_back(addButton(QStringLiteral("&Imprimer"), QStringLiteral("print"),
        [this] { printList(this, printout(), reports::JobKind::InstructorRecord); }));
    addButton(QStringLiteral("&Ouvrir"), QStringLiteral("open"), [this] { openFile(); });
    m_needRecords.push_back(addButton(QStringLiteral("&Sauvegarder"), QStringLiteral("save"), [this] { save(); }));
    sideButtons()->addStretch(1);
    addButton(QStringLiteral("&Quitter"), QStringLiteral("quit"), [this] { reject(); });

    load(context.settings.trainingRecordFile);
}

void TeachingDialog::load(const std::string &path)
{
    auto loaded = registers::loadTeaching(path);
    m_records = loaded ? std::move(loaded.value()) : std::vector<TeachingActivity> {};
    setRecords(path, loaded.ok(), loaded.result());
}

void TeachingDialog::openFile()
{
    if (!maySave())
        return;
    const QString chosen = chooseOpenPath(this, kFilter, kSuffix, m_context.settings.trainingRecordFile);
    if (chosen.isEmpty())
        return;
    m_context.settings.trainingRecordFile = fromQt(chosen);
    load(m_context.settings.trainingRecordFile);
}

void TeachingDialog::appendRecord()
{
    m_records.emplace_back();
    reloadList(count() - 1);
    markChanged();
}

void TeachingDialog::removeRecord(int row)
{
    m_records.erase(m_records.begin() + row);
    reloadList(std::min(row, count() - 1));
    markChanged();
}

void TeachingDialog::sortRecords()
{
    registers::sortTeaching(m_records);
    reloadList(0);
    markChanged();
}

common::Result TeachingDialog::saveTo(const std::string &path)
{
    return registers::saveTeaching(path, m_records);
}

registers::ListPrintout TeachingDialog::printout() const
{
    return registers::teachingPrintout(m_records);
}

void TeachingDialog::refreshSummary()
{
    const registers::TeachingTotals totals = registers::teachingTotals(m_records);
    m_theory->setText(QString::number(totals.theory));
    m_practice->setText(QString::number(totals.practice));
    m_total->setText(QString::number(totals.total()));
}

QString TeachingDialog::askNewPath()
{
    return chooseSavePath(this, kFilter, kSuffix, m_context.settings.trainingRecordFile);
}

void TeachingDialog::pathSaved(const std::string &path)
{
    m_context.settings.trainingRecordFile = path;
}

void showTeachingRecord(AppContext &context, QWidget *parent)
{
    TeachingDialog dialog(context, parent);
    dialog.exec();
}

} // namespace zorv::ui
