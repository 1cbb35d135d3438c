// The spreadsheet export: the file chooser, the dialog of its choices, and the writing of the file.
#pragma once

#include "reports/csvexport.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace zorv::ui {

struct AppContext;

class CsvExportDialog : public QDialog {
    Q_OBJECT
public:
    CsvExportDialog(AppContext &context, QString targetFile, QWidget *parent = nullptr);

    QLineEdit *firstEdit() const { return m_first; }
    QLineEdit *lastEdit() const { return m_last; }
    QCheckBox *fieldBox(reports::CsvField field) const { return m_fields.at(static_cast<int>(field)); }
    QComboBox *separatorList() const { return m_separator; }
    QRadioButton *positiveButton() const { return m_positive; }
    QRadioButton *hoursButton() const { return m_hours; }

    reports::CsvChoices choices() const;

public slots:
    // Checks the choices, writes the file and closes; a refused choice is said and the dialog stays.
    void accept() override;

private:
    AppContext &m_context;
    QString m_target;
    QLineEdit *m_first = nullptr;
    QLineEdit *m_last = nullptr;
    QList<QCheckBox *> m_fields; // by bit
    QComboBox *m_separator = nullptr;
    QRadioButton *m_negative = nullptr;
    QRadioButton *m_positive = nullptr;
    QRadioButton *m_seconds = nullptr;
    QRadioButton *m_hours = nullptr;
};

// The whole command: asks for the file, then shows the dialog.
void exportCsv(AppContext &context, QWidget *parent);

} // namespace zorv::ui
