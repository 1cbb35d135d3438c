#include "ui/reports/csvexportdialog.h"

#include "common/atomicfile.h"
#include "common/strings.h"
#include "ui/common/appcontext.h"
#include "ui/common/filefolders.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zorv::ui {

using reports::CsvChoices;
using reports::CsvField;

namespace {
    constexpr int kFieldColumns = 3;
} // namespace

CsvExportDialog::CsvExportDialog(AppContext &context, QString targetFile, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_target(std::move(targetFile))
{
    setWindowTitle(ui::tr("Export vers tableur"));
    const logbook::Logbook &book = context.logbook;
    const settings::Settings &s = context.settings;
    const CsvChoices stored = CsvChoices::fromSettings(s.csvFields, s.csvSeparator, s.csvDecimalSign, s.csvTimeFormat);

    auto *range = new QGridLayout;
    m_first = new QLineEdit;
    m_last = new QLineEdit;
    for (QLineEdit *edit : { m_first, m_last }) {
        edit->setValidator(new QIntValidator(-32768, 32767, edit));
        edit->setMaximumWidth(90);
    }
    if (book.diveCount() > 0) {
        m_first->setText(QString::number(book.diveNumberAt(1)));
        m_last->setText(QString::number(book.diveNumberAt(book.diveCount())));
    }
    range->addWidget(new QLabel(ui::tr("Première plongée")), 0, 0);
    range->addWidget(m_first, 0, 1);
    range->addWidget(new QLabel(ui::tr("Dernière plongée")), 0, 2);
    range->addWidget(m_last, 0, 3);
    range->setColumnStretch(4, 1);

    auto *fieldsBox = new QGroupBox(ui::tr("Champs de données"));
    auto *fieldsGrid = new QGridLayout(fieldsBox);
    const auto &infos = reports::csvFields();
    const int rows = (static_cast<int>(infos.size()) + kFieldColumns - 1) / kFieldColumns;
    for (int i = 0; i < static_cast<int>(infos.size()); ++i) {
        auto *box = new QCheckBox(toQt(infos[static_cast<std::size_t>(i)].checkBox));
        box->setChecked((stored.fieldSet & reports::csvBit(infos[static_cast<std::size_t>(i)].field)) != 0);
        m_fields.append(box);
        fieldsGrid->addWidget(box, i % rows, i / rows);
    }

    m_separator = new QComboBox;
    m_separator->addItem(ui::tr("Point-virgule ;"));
    m_separator->addItem(ui::tr("Tabulation"));
    m_separator->setCurrentIndex(stored.separator == reports::CsvSeparator::Tab ? 1 : 0);
    auto *separatorRow = new QHBoxLayout;
    separatorRow->addWidget(new QLabel(ui::tr("Séparateur de champs")));
    separatorRow->addWidget(m_separator);
    separatorRow->addStretch();

    auto *signBox = new QGroupBox(ui::tr("Signe du profil"));
    auto *signLayout = new QVBoxLayout(signBox);
    m_negative = new QRadioButton(ui::tr("Négatif"));
    m_positive = new QRadioButton(ui::tr("Positif"));
    signLayout->addWidget(m_negative);
    signLayout->addWidget(m_positive);
    (stored.sign == reports::CsvDepthSign::Positive ? m_positive : m_negative)->setChecked(true);

    auto *timeBox = new QGroupBox(ui::tr("Formater temps de profil"));
    auto *timeLayout = new QVBoxLayout(timeBox);
    m_seconds = new QRadioButton(ui::tr("Secondes"));
    m_hours = new QRadioButton(QStringLiteral("0:00:00"));
    timeLayout->addWidget(m_seconds);
    timeLayout->addWidget(m_hours);
    (stored.timeFormat == reports::CsvTimeFormat::HoursMinutesSeconds ? m_hours : m_seconds)->setChecked(true);

    auto *profileRow = new QHBoxLayout;
    profileRow->addWidget(signBox);
    profileRow->addWidget(timeBox);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(ui::tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(ui::tr("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CsvExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CsvExportDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(fieldsBox);
    layout->addLayout(separatorRow);
    layout->addLayout(profileRow);
    layout->addWidget(buttons);
}

CsvChoices CsvExportDialog::choices() const
{
    CsvChoices choices;
    for (int bit = 0; bit < m_fields.size(); ++bit) {
        if (m_fields.at(bit)->isChecked())
            choices.fieldSet |= 1u << bit;
    }
    choices.separator
        = m_separator->currentIndex() == 1 ? reports::CsvSeparator::Tab : reports::CsvSeparator::Semicolon;
    choices.sign = m_positive->isChecked() ? reports::CsvDepthSign::Positive : reports::CsvDepthSign::Negative;
    choices.timeFormat
        = m_hours->isChecked() ? reports::CsvTimeFormat::HoursMinutesSeconds : reports::CsvTimeFormat::Seconds;
    return choices;
}

void CsvExportDialog::accept()
{
    const CsvChoices chosen = choices();
    const auto text = reports::exportCsv(m_context.logbook, m_first->text().toInt(), m_last->text().toInt(), chosen);
    if (!text.ok()) {
        ui::warn(this, qstr(StringId::AppTitle), toQt(text.message()));
        return;
    }
    settings::Settings &s = m_context.settings;
    s.csvFields = static_cast<int>(chosen.fieldSet);
    s.csvSeparator = static_cast<int>(chosen.separator);
    s.csvDecimalSign = static_cast<int>(chosen.sign);
    s.csvTimeFormat = static_cast<int>(chosen.timeFormat);

    const auto saved = common::saveFileAtomically(QFile::encodeName(m_target).toStdString(), text.value());
    if (!saved) {
        // The file could not be written: say so rather than end as if it had been.
        ui::warn(this, qstr(StringId::AppTitle),
            ui::tr("Impossible d'écrire « %1 » : %2").arg(m_target, toQt(saved.message())));
        return;
    }
    QDialog::accept();
}

void exportCsv(AppContext &context, QWidget *parent)
{
    FileRequest request;
    request.parent = parent;
    request.mode = FileRequest::Mode::Save;
    request.filter = ui::tr("Fichiers CSV (*.csv);;Tous les fichiers (*)");
    request.defaultSuffix = QStringLiteral("csv");
    request.title = ui::tr("Export vers CSV");
    request.context = &context;
    request.folder = FileFolder::CsvExport;
    const QString target = chooseFile(request);
    if (target.isEmpty())
        return;
    CsvExportDialog dialog(context, target, parent);
    prompter().exec(dialog);
}

} // namespace zorv::ui
