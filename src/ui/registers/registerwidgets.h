// What the register windows share: the list model, the list view with stored column widths, questions, printing.
#pragma once

#include "common/result.h"
#include "registers/listprintout.h"
#include "registers/registerfile.h"
#include "reports/logbookprint.h"
#include "settings/settings.h"
#include "ui/common/messages.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <functional>
#include <span>
#include <string>

class QBoxLayout;
class QDialog;
class QPushButton;
class QTreeView;
class QWidget;

namespace zorv::ui {

struct AppContext;

// A read-only table over a register held by its dialog: the dialog says how many
// rows there are and what each cell reads; reload() after every change of the list.
class RegisterListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Cell = std::function<std::string(int row, int column)>;
    RegisterListModel(QStringList headers, std::function<int()> rows, Cell cell, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void reload();
    void rowChanged(int row);

private:
    QStringList m_headers;
    std::function<int()> m_rows;
    Cell m_cell;
    int m_count = 0;
};

// The titles of the columns, from the string table.
QStringList columnTitles(std::span<const registers::ColumnSpec> columns);

// A report list over the model, with the stored widths (or the built-in ones).
QTreeView *registerView(QWidget *parent, RegisterListModel *model, std::span<const registers::ColumnSpec> columns,
    const settings::Settings &settings, settings::ColumnList list);
// Keeps the widths the user left, as the dialog closes.
void storeColumnWidths(const QTreeView *view, settings::Settings &settings, settings::ColumnList list, int count);
// The row the view's current index is on, or -1.
int currentRow(const QTreeView *view);
void selectRow(QTreeView *view, int row);

QPushButton *registerButton(const QString &text, const QString &name, QWidget *parent);

// The save question before a register is closed or replaced (Oui, Non, Annuler): true when the caller
// may go on, after `save` succeeded or the changes were given up.
bool saveOrDiscard(QWidget *parent, const QString &question, const std::function<bool()> &save);
void showFailure(QWidget *parent, const common::Result &result);

// File dialogs for a register's files; `suffix` ("dat", "adr", "abn", ...) is given to a name typed
// without one. Empty when cancelled.
QString chooseOpenPath(QWidget *parent, const QString &filter, const QString &suffix, const std::string &current);
QString chooseSavePath(QWidget *parent, const QString &filter, const QString &suffix, const std::string &current);

// OK and Annuler below a record's form.
void addFormButtons(QDialog *form, QBoxLayout *layout);

// Prints every page of the list through the program's print dispatcher (kept printer, paper and
// dialog), or through a print dialog of its own when there is none; false when cancelled.
bool printList(QWidget *parent, const registers::ListPrintout &list, reports::JobKind kind);

// Today's month and year from the program's clock.
struct MonthAndYear {
    int month;
    int year;
};
MonthAndYear currentMonth();

} // namespace zorv::ui
