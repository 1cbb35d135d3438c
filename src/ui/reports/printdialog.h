// The dialog "Imprimer Plongées": what to print of the logbook, and which dives.
#pragma once

#include "reports/logbookprint.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace zorv::ui {

class LogbookPrintDialog : public QDialog {
    Q_OBJECT
public:
    LogbookPrintDialog(const reports::PrintJob &job, QWidget *parent = nullptr);

    // The choices as they stand; a range field left empty keeps the job's number.
    reports::PrintJob choices(const reports::PrintJob &job) const;

    QRadioButton *modeButton(reports::PrintMode mode) const;
    QRadioButton *optionButton(reports::DivePageOption option) const;
    QLineEdit *fromEdit() const { return m_from; }
    QLineEdit *toEdit() const { return m_to; }
    QCheckBox *separatorBox() const { return m_separator; }

private:
    void updateEnabling();

    QRadioButton *m_modes[3] {};
    QRadioButton *m_options[3] {};
    QLineEdit *m_from = nullptr;
    QLineEdit *m_to = nullptr;
    QCheckBox *m_separator = nullptr;
};

} // namespace zorv::ui
