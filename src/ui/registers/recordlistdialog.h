// The pattern of the trips, teaching and certificates windows: a list above, the selected record's fields
// below, edited in place, and the file's buttons.
#pragma once

#include "registers/listprintout.h"
#include "registers/registerfile.h"
#include "settings/settings.h"

#include <QDialog>
#include <functional>
#include <span>
#include <vector>

class QGridLayout;
class QLabel;
class QPushButton;
class QTreeView;
class QVBoxLayout;

namespace zorv::ui {

struct AppContext;
class RegisterListModel;

class RecordListDialog : public QDialog {
    Q_OBJECT
public:
    const registers::RegisterState &state() const { return m_state; }
    void done(int result) override;

protected:
    RecordListDialog(AppContext &context, QWidget *parent);

    // The records, held by the subclass.
    virtual int count() const = 0;
    virtual void appendRecord() = 0;
    virtual void removeRecord(int row) = 0;
    virtual void sortRecords() = 0;
    virtual common::Result saveTo(const std::string &path) = 0;
    virtual registers::ListPrintout printout() const = 0;
    // After any change: totals and other fields that depend on the whole list.
    virtual void refreshSummary() { }
    // A new name for a register whose file could not be read; empty when cancelled.
    virtual QString askNewPath() = 0;
    virtual void pathSaved(const std::string &) { }

    // Builds the list; call once from the subclass constructor.
    void setUpList(std::span<const registers::ColumnSpec> columns, settings::ColumnList list,
        std::function<std::string(int row, int column)> cell);
    enum class Apply {
        AsTyped,
        WhenLeft, // dates: parsed when the field is left, so that half-typed text is not read
    };
    // A one-line field of the selected record: `get` fills it, `set` stores what the user typed.
    void addField(const QString &label, const QString &name, int maxLength, std::function<QString(int row)> get,
        std::function<void(int row, const QString &text)> set, Apply apply = Apply::AsTyped, int columnSpan = 1);
    void addTextArea(const QString &label, const QString &name, int maxLength, std::function<QString(int row)> get,
        std::function<void(int row, const QString &text)> set);
    QGridLayout *fieldGrid() const { return m_grid; }
    QVBoxLayout *sideButtons() const { return m_side; }
    QVBoxLayout *mainColumn() const { return m_main; }
    QPushButton *addButton(const QString &text, const QString &name, std::function<void()> action);

    // The list was reloaded (load, new file): select the first record.
    void setRecords(std::string path, bool loaded, const common::Result &failure);
    int selectedRow() const;
    void markChanged();
    void reloadList(int select);
    void showSelected();
    void updateState();
    bool save();
    bool maySave();
    QString m_saveQuestion;
    std::vector<QPushButton *> m_needRecords; // enabled while the register holds records

    AppContext &m_context;
    registers::RegisterState m_state;

private:
    struct Binding {
        QWidget *widget;
        std::function<QString(int)> get;
    };
    std::vector<Binding> m_bindings;
    RegisterListModel *m_model = nullptr;
    QTreeView *m_view = nullptr;
    QLabel *m_file = nullptr;
    QGridLayout *m_grid = nullptr;
    QVBoxLayout *m_side = nullptr;
    QVBoxLayout *m_main = nullptr;
    settings::ColumnList m_columnList {};
    int m_columnCount = 0;
    bool m_filling = false;

public:
    ~RecordListDialog() override;
};

} // namespace zorv::ui
