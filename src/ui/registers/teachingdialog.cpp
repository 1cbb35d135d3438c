#include "ui/registers/teachingdialog.h"

#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace zorv::ui {

namespace {

    using registers::TeachingActivity;
    constexpr auto kCharset = registers::Charset::Windows;

    // Hours and persons are kept whole in the file; no course has this many.
    constexpr long long kMostHours = 99999;

} // namespace

TeachingDialog::TeachingDialog(AppContext &context, QWidget *parent)
    : RecordListWindow(context,
        { ui::tr("Enregistrer le suivi de qualification ?"),
            ui::tr("Suivi de qualification (*.abn);;Tous les fichiers (*)"), QStringLiteral("abn"),
            &context.settings.trainingRecordFile, reports::JobKind::InstructorRecord },
        { registers::loadTeaching, registers::saveTeaching, registers::sortTeaching }, parent)
{
    using namespace registers::teaching;
    setObjectName(QStringLiteral("teaching"));
    setWindowTitle(ui::tr("Suivi de qualification"));
    setUpList(registers::kTeachingColumns, settings::ColumnList::TrainingRecord);

    addTextField(ui::tr("Activité"), QStringLiteral("activity"), kActivity, kCharset, &TeachingActivity::activity, 3);
    addDateField(ui::tr("Date"), QStringLiteral("firstDay"), &TeachingActivity::firstDay);
    addDateField(ui::tr("à"), QStringLiteral("lastDay"), &TeachingActivity::lastDay);
    addWholeField(
        ui::tr("Heures de théorie"), QStringLiteral("theory"), 11,
        [this](int r) -> std::int32_t & { return record(r).theoryHours; }, 0, kMostHours);
    addWholeField(
        ui::tr("Heures de pratique"), QStringLiteral("practice"), 11,
        [this](int r) -> std::int32_t & { return record(r).practiceHours; }, 0, kMostHours);
    addWholeField(
        ui::tr("Nombre de personnes"), QStringLiteral("persons"), 11,
        [this](int r) -> std::int32_t & { return record(r).persons; }, 0, kMostHours);
    addTextField(ui::tr("Remarques"), QStringLiteral("remarks"), kRemarks, kCharset, &TeachingActivity::remarks, 3);

    auto *totals = new QGroupBox(ui::tr("Total heures"), this);
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
    totalsLayout->addWidget(new QLabel(ui::tr("Théorie"), totals), 0, 0);
    totalsLayout->addWidget(m_theory, 0, 1);
    totalsLayout->addWidget(new QLabel(ui::tr("Pratique"), totals), 0, 2);
    totalsLayout->addWidget(m_practice, 0, 3);
    totalsLayout->addWidget(new QLabel(ui::tr("Total"), totals), 0, 4);
    totalsLayout->addWidget(m_total, 0, 5);
    mainColumn()->addWidget(totals);

    addButton(Action::New, ui::tr("&Nouvelle"));
    addButton(Action::Delete, ui::tr("Ef&facer"), Enabled::WithRecords);
    addButton(Action::Sort, ui::tr("Tri&er"), Enabled::WithRecords);
    addButton(Action::Print, ui::tr("&Imprimer"), Enabled::WithRecords);
    addButton(Action::Open, ui::tr("&Ouvrir"));
    addButton(Action::Save, ui::tr("&Sauvegarder"), Enabled::WithRecords);
    load(context.settings.trainingRecordFile);
}

std::string TeachingDialog::cell(int row, int column) const
{
    return registers::teachingCell(record(row), column);
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

void showTeachingRecord(AppContext &context, QWidget *parent)
{
    TeachingDialog dialog(context, parent);
    prompter().exec(dialog);
}

} // namespace zorv::ui
