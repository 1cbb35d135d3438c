// The frame of every register window: the file line, the list of the register's records, the buttons down
// the side, the changed mark and the save question; each register fills it with its columns, its buttons
// and either the fields of the selected record or a form of its own.
#pragma once

#include "common/result.h"
#include "registers/listprintout.h"
#include "registers/registerfile.h"
#include "reports/logbookprint.h"
#include "settings/settings.h"
#include "ui/common/prompter.h"

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class QVBoxLayout;

namespace zorv::ui {

struct AppContext;
class RegisterListModel;

class RegisterWindow : public QDialog {
    Q_OBJECT
public:
    ~RegisterWindow() override;
    const registers::RegisterState &state() const { return m_state; }
    void done(int result) override;

protected:
    // What the frame needs to know of a register's file.
    struct FileKind {
        QString saveQuestion; // before unsaved changes would be lost
        QString filter; // of the file dialogs
        QString suffix; // given to a name typed without one
        // The settings entry that follows the file; none for the registers kept beside the logbook.
        std::string *remembered = nullptr;
        reports::JobKind printJob;
    };
    RegisterWindow(AppContext &context, FileKind file, QWidget *parent);

    // The records, held by the register.
    virtual int count() const = 0;
    virtual std::string cell(int row, int column) const = 0;
    // Replaces the records by the file's, or by none when it cannot be read.
    virtual common::Result readFrom(const std::string &path) = 0;
    virtual common::Result saveTo(const std::string &path) = 0;
    // Adds a record at the end; false when the user cancelled its form.
    virtual bool appendRecord() = 0;
    // Edits a record in a form of its own; false when cancelled, or when the register has no form.
    virtual bool editRecord(int) { return false; }
    virtual void removeRecord(int row) = 0;
    // Asked before a record is removed; none when removing is not asked.
    virtual QString removeQuestion(int) const { return {}; }
    virtual void sortRecords() = 0;
    virtual registers::ListPrintout printout() const = 0;
    // After any change: totals and other widgets that depend on the whole list or on the selection.
    virtual void refreshSummary() { }

    // The standard buttons, added down the side in the register's order with its texts; "&Quitter" closes it.
    enum class Action {
        Open,
        Save,
        New,
        Details,
        Delete,
        Sort,
        Print,
    };
    enum class Enabled {
        Always,
        WithRecords,
        WithSelection,
        WhenChanged,
    };
    QPushButton *addButton(Action action, const QString &text, Enabled enabled = Enabled::Always);
    QPushButton *addButton(const QString &text, const QString &name, Enabled enabled, std::function<void()> action);

    // Builds the list; call once from the register's constructor.
    void setUpList(std::span<const registers::ColumnSpec> columns, settings::ColumnList list);

    // The fields of the selected record, below the list, changing it as they are edited.
    enum class Apply {
        AsTyped,
        WhenLeft, // dates and sums: read when the field is left, so that half-typed text is not taken
    };
    void addField(const QString &label, const QString &name, int maxLength, std::function<QString(int row)> get,
        std::function<void(int row, const QString &text)> set, Apply apply = Apply::AsTyped, int columnSpan = 1);
    // A text kept in a buffer of `size` bytes (with its terminator) in the register's character set.
    using TextOf = std::function<std::string &(int row)>;
    void addTextField(const QString &label, const QString &name, std::size_t size, registers::Charset charset,
        TextOf text, int columnSpan = 1);
    void addTextArea(const QString &label, const QString &name, int maxLength, registers::Charset charset, TextOf text);
    void addDateField(const QString &label, const QString &name, std::function<std::uint32_t &(int row)> day);
    // A whole number, read when the field is left: "2,0" and "2.0" read as 2; a fraction, a text that is
    // no number or a number outside [low, high] is refused with a message naming the field, which then
    // shows the kept number again.
    void addWholeField(const QString &label, const QString &name, int maxLength,
        std::function<std::int32_t &(int row)> value, long long low, long long high);
    QGridLayout *fieldGrid() const { return m_grid; }
    QVBoxLayout *mainColumn() const { return m_main; }

    // Reads the register; the constructor of each register calls it last.
    void load(const std::string &path);
    int selectedRow() const;
    void markChanged();

    AppContext &m_context;

private:
    void openFile();
    bool save();
    bool maySave();
    void appendNew();
    void editSelected();
    void removeSelected();
    void sortAll();
    void reloadList(int select);
    void showSelected();
    void updateState();
    int nextFieldRow();
    QLineEdit *newFieldEdit(const QString &label, const QString &name, int maxLength, int columnSpan);

    struct Binding {
        QWidget *widget;
        std::function<QString(int)> get;
    };
    FileKind m_kind;
    registers::RegisterState m_state;
    std::string m_lastPath; // where the file dialogs start
    std::vector<Binding> m_bindings;
    std::vector<std::pair<QPushButton *, Enabled>> m_buttons;
    RegisterListModel *m_model = nullptr;
    QTreeView *m_view = nullptr;
    QLabel *m_file = nullptr;
    QGridLayout *m_grid = nullptr;
    QVBoxLayout *m_side = nullptr;
    QPushButton *m_quit = nullptr;
    QVBoxLayout *m_main = nullptr;
    settings::ColumnList m_columnList {};
    int m_columnCount = 0;
    bool m_filling = false;
};

// Takes what loading a register gave: its records, or none when the file was refused; the result says why.
template <class Records> common::Result takeRecords(Records &records, common::ResultOr<Records> loaded)
{
    records = loaded ? std::move(loaded.value()) : Records {};
    return loaded.result();
}

// A register that is one list of records, read, saved and sorted by the core's functions for them. A new
// record is an empty one edited in the fields below the list, or, with a `Form`, one the user fills in and
// confirms in that form, which also edits a record after "De&tails" or a double click.
template <class Record, class Form = void> class RecordListWindow : public RegisterWindow {
public:
    const std::vector<Record> &records() const { return m_records; }

protected:
    struct Store {
        common::ResultOr<std::vector<Record>> (*load)(const std::filesystem::path &);
        common::Result (*save)(const std::filesystem::path &, const std::vector<Record> &);
        void (*sort)(std::vector<Record> &);
    };
    RecordListWindow(AppContext &context, FileKind file, Store store, QWidget *parent)
        : RegisterWindow(context, std::move(file), parent)
        , m_store(store)
    {
    }

    Record &record(int row) { return m_records[static_cast<std::size_t>(row)]; }
    const Record &record(int row) const { return m_records[static_cast<std::size_t>(row)]; }

    // Fields bound to a member of the selected record.
    using RegisterWindow::addDateField;
    using RegisterWindow::addTextArea;
    using RegisterWindow::addTextField;
    void addTextField(const QString &label, const QString &name, std::size_t size, registers::Charset charset,
        std::string Record::*text, int columnSpan = 1)
    {
        addTextField(
            label, name, size, charset, [this, text](int r) -> std::string & { return record(r).*text; }, columnSpan);
    }
    void addTextArea(
        const QString &label, const QString &name, int maxLength, registers::Charset charset, std::string Record::*text)
    {
        addTextArea(label, name, maxLength, charset, [this, text](int r) -> std::string & { return record(r).*text; });
    }
    void addDateField(const QString &label, const QString &name, std::uint32_t Record::*day)
    {
        addDateField(label, name, [this, day](int r) -> std::uint32_t & { return record(r).*day; });
    }

    int count() const override { return static_cast<int>(m_records.size()); }
    common::Result readFrom(const std::string &path) override { return takeRecords(m_records, m_store.load(path)); }
    common::Result saveTo(const std::string &path) override { return m_store.save(path, m_records); }
    void removeRecord(int row) override { m_records.erase(m_records.begin() + row); }
    void sortRecords() override { m_store.sort(m_records); }
    bool appendRecord() override
    {
        Record added {};
        if (!fillIn(added))
            return false;
        m_records.push_back(std::move(added));
        return true;
    }
    bool editRecord(int row) override { return !std::is_void_v<Form> && fillIn(record(row)); }

    std::vector<Record> m_records;

private:
    // Runs the form on a copy of `edited`; after OK the record is the form's.
    bool fillIn(Record &edited)
    {
        if constexpr (!std::is_void_v<Form>) {
            Form form(edited, this);
            if (prompter().exec(form) != QDialog::Accepted)
                return false;
            edited = form.result();
        }
        return true;
    }

    Store m_store;
};

} // namespace zorv::ui
