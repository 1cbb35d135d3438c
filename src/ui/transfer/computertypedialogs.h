// The user's list of computer types with the form of one type, and the window of the computers the program reads.
#pragma once

#include "transfer/computertypeform.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace zorv::ui {

struct AppContext;

// "Données description ordinateur".
class ComputerTypeDataDialog : public QDialog {
    Q_OBJECT
public:
    explicit ComputerTypeDataDialog(const computers::ComputerType &entry, QWidget *parent = nullptr);

    computers::ComputerType result() const;

private:
    void updateEnabling();

    mutable transfer::ComputerTypeForm m_form;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_typeId = nullptr;
    QButtonGroup *m_gas = nullptr;
    QButtonGroup *m_air = nullptr;
    QButtonGroup *m_import = nullptr;
    QWidget *m_gasBox = nullptr;
    QWidget *m_airBox = nullptr;
    QWidget *m_importBox = nullptr;
};

// "Type d'ordinateurs": works on a copy that OK hands to the catalogue.
class ComputerTypesDialog : public QDialog {
    Q_OBJECT
public:
    explicit ComputerTypesDialog(AppContext &context, QWidget *parent = nullptr);
    ~ComputerTypesDialog() override;

    const transfer::ComputerTypeList &list() const { return m_list; }
    QTreeWidget *view() const { return m_view; }

    void editSelected();
    void deleteSelected();
    void addNew();

    // The pop-up menu of a row; the caller owns it.
    QMenu *rowMenu(int row);

    void accept() override;

private:
    void refill();
    void updateButtons();
    void showSelection();

    AppContext &m_context;
    transfer::ComputerTypeList m_list;
    QTreeWidget *m_view = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_new = nullptr;
};

// True when the catalogue was changed.
bool showComputerTypesDialog(AppContext &context, QWidget *parent);
// "Type d'ordinateur": which computers the program can read.
void showKnownComputersDialog(QWidget *parent);
// The same window, built but not run, for the tests.
QDialog *createKnownComputersDialog(QWidget *parent);

} // namespace zorv::ui
