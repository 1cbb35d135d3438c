#include "ui/reports/printdialog.h"

#include "ui/common/qtext.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zorv::ui {

using reports::DivePageOption;
using reports::PrintMode;

LogbookPrintDialog::LogbookPrintDialog(const reports::PrintJob &job, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(ui::tr("Imprimer des plongées"));

    auto *modeBox = new QGroupBox(ui::tr("Imprimer"));
    auto *modeLayout = new QVBoxLayout(modeBox);
    const QString modeTexts[] = { ui::tr("&Plongée"), ui::tr("&Liste des plongées"), ui::tr("Pa&ge de garde") };
    for (int i = 0; i < 3; ++i) {
        m_modes[i] = new QRadioButton(modeTexts[i]);
        modeLayout->addWidget(m_modes[i]);
    }
    m_modes[static_cast<int>(job.mode)]->setChecked(true);

    auto *rangeBox = new QGroupBox(ui::tr("Plongées"));
    auto *rangeLayout = new QHBoxLayout(rangeBox);
    m_from = new QLineEdit(QString::number(job.fromNumber));
    m_to = new QLineEdit(QString::number(job.toNumber));
    for (QLineEdit *edit : { m_from, m_to }) {
        edit->setValidator(new QIntValidator(-32768, 32767, edit));
        edit->setMaximumWidth(80);
    }
    rangeLayout->addWidget(m_from);
    rangeLayout->addWidget(new QLabel(ui::tr("à")));
    rangeLayout->addWidget(m_to);
    rangeLayout->addStretch();

    m_separator = new QCheckBox(ui::tr("Utiliser un &séparateur"));
    m_separator->setChecked(job.separator);

    auto *optionBox = new QGroupBox(ui::tr("Page de plongée"));
    auto *optionLayout = new QVBoxLayout(optionBox);
    const QString optionTexts[] = { ui::tr("&Complet"), ui::tr("Lignes seules (&vierge)"), ui::tr("Profil se&ul") };
    for (int i = 0; i < 3; ++i) {
        m_options[i] = new QRadioButton(optionTexts[i]);
        optionLayout->addWidget(m_options[i]);
    }
    m_options[static_cast<int>(job.option)]->setChecked(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(ui::tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(ui::tr("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *columns = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(modeBox);
    left->addWidget(rangeBox);
    left->addWidget(m_separator);
    left->addStretch();
    columns->addLayout(left);
    auto *right = new QVBoxLayout;
    right->addWidget(optionBox);
    right->addStretch();
    columns->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    for (QRadioButton *mode : m_modes)
        connect(mode, &QRadioButton::toggled, this, &LogbookPrintDialog::updateEnabling);
    updateEnabling();
}

QRadioButton *LogbookPrintDialog::modeButton(PrintMode mode) const
{
    return m_modes[static_cast<int>(mode)];
}

QRadioButton *LogbookPrintDialog::optionButton(DivePageOption option) const
{
    return m_options[static_cast<int>(option)];
}

void LogbookPrintDialog::updateEnabling()
{
    // The cover page prints no dives.
    const bool cover = m_modes[static_cast<int>(PrintMode::CoverPage)]->isChecked();
    m_from->setEnabled(!cover);
    m_to->setEnabled(!cover);
}

reports::PrintJob LogbookPrintDialog::choices(const reports::PrintJob &job) const
{
    reports::PrintJob chosen = job;
    for (int i = 0; i < 3; ++i) {
        if (m_modes[i]->isChecked())
            chosen.mode = static_cast<PrintMode>(i);
        if (m_options[i]->isChecked())
            chosen.option = static_cast<DivePageOption>(i);
    }
    bool ok = false;
    if (const int from = m_from->text().toInt(&ok); ok)
        chosen.fromNumber = from;
    if (const int to = m_to->text().toInt(&ok); ok)
        chosen.toNumber = to;
    chosen.separator = m_separator->isChecked();
    return chosen;
}

} // namespace zorv::ui
