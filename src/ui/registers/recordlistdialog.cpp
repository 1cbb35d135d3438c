#include "ui/registers/recordlistdialog.h"

#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"
#include "ui/registers/registerwidgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace zorv::ui {

RecordListDialog::RecordListDialog(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("fileName"));
    m_grid = new QGridLayout;
    m_side = new QVBoxLayout;
    m_main = new QVBoxLayout;
    auto *fileLine = new QHBoxLayout;
    fileLine->addWidget(new QLabel(QStringLiteral("Fichier:"), this));
    fileLine->addWidget(m_file, 1);
    m_main->addLayout(fileLine);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(m_main, 1);
    layout->addLayout(m_side);
}

RecordListDialog::~RecordListDialog()
{
    if (m_view)
        storeColumnWidths(m_view, m_context.settings, m_columnList, m_columnCount);
}

void RecordListDialog::setUpList(std::span<const registers::ColumnSpec> columns, settings::ColumnList list,
    std::function<std::string(int row, int column)> cell)
{
    m_columnList = list;
    m_columnCount = static_cast<int>(columns.size());
    m_model = new RegisterListModel(
        columnTitles(columns), [this] { return count(); }, std::move(cell), this);
    m_view = registerView(this, m_model, columns, m_context.settings, list);
    m_view->setMinimumHeight(180);
    m_main->addWidget(m_view, 1);
    m_main->addLayout(m_grid);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        showSelected();
        updateState();
    });
}

void RecordListDialog::addField(const QString &label, const QString &name, int maxLength,
    std::function<QString(int row)> get, std::function<void(int row, const QString &text)> set, Apply apply,
    int columnSpan)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    const int row = m_grid->rowCount();
    m_grid->addWidget(new QLabel(label, this), row, 0);
    m_grid->addWidget(edit, row, 1, 1, columnSpan);
    const auto store = [this, edit, set] {
        const int selected = selectedRow();
        if (m_filling || selected < 0)
            return;
        set(selected, edit->text());
        m_model->rowChanged(selected);
        markChanged();
    };
    if (apply == Apply::AsTyped) {
        connect(edit, &QLineEdit::textEdited, this, store);
    } else {
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, store, get] {
            if (selectedRow() < 0 || edit->text() == get(selectedRow()))
                return;
            store();
            // Show the date as it was understood.
            m_filling = true;
            edit->setText(get(selectedRow()));
            m_filling = false;
        });
    }
    m_bindings.push_back({ edit, std::move(get) });
}

void RecordListDialog::addTextArea(const QString &label, const QString &name, int maxLength,
    std::function<QString(int row)> get, std::function<void(int row, const QString &text)> set)
{
    auto *edit = new QPlainTextEdit(this);
    edit->setObjectName(name);
    edit->setTabChangesFocus(true);
    edit->setMaximumHeight(90);
    const int row = m_grid->rowCount();
    m_grid->addWidget(new QLabel(label, this), row, 0, Qt::AlignTop);
    m_grid->addWidget(edit, row, 1, 1, 3);
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, set, maxLength] {
        const int selected = selectedRow();
        if (m_filling || selected < 0)
            return;
        QString text = edit->toPlainText();
        if (text.size() > maxLength) {
            // The field holds no more than the file keeps; the rest is refused at the keyboard.
            text.truncate(maxLength);
            m_filling = true;
            edit->setPlainText(text);
            edit->moveCursor(QTextCursor::End);
            m_filling = false;
        }
        set(selected, text);
        markChanged();
    });
    m_bindings.push_back({ edit, std::move(get) });
}

QPushButton *RecordListDialog::addButton(const QString &text, const QString &name, std::function<void()> action)
{
    QPushButton *button = registerButton(text, name, this);
    connect(button, &QPushButton::clicked, this, std::move(action));
    m_side->addWidget(button);
    return button;
}

void RecordListDialog::setRecords(std::string path, bool loaded, const common::Result &failure)
{
    m_state.modified = false;
    // A file that could not be read keeps its bytes: without a path, a save asks for a new name.
    m_state.path = loaded ? std::move(path) : std::string();
    if (!loaded)
        showFailure(this, failure);
    reloadList(count() > 0 ? 0 : -1);
}

int RecordListDialog::selectedRow() const
{
    const int row = currentRow(m_view);
    return row < count() ? row : -1;
}

void RecordListDialog::markChanged()
{
    m_state.modified = true;
    updateState();
}

void RecordListDialog::reloadList(int select)
{
    m_model->reload();
    selectRow(m_view, select);
    showSelected();
    updateState();
}

void RecordListDialog::showSelected()
{
    const int row = selectedRow();
    m_filling = true;
    for (const Binding &binding : m_bindings) {
        const QString text = row >= 0 ? binding.get(row) : QString();
        if (auto *line = qobject_cast<QLineEdit *>(binding.widget))
            line->setText(text);
        else if (auto *area = qobject_cast<QPlainTextEdit *>(binding.widget))
            area->setPlainText(text);
        binding.widget->setEnabled(row >= 0);
    }
    m_filling = false;
}

void RecordListDialog::updateState()
{
    m_file->setText(toQt(m_state.fileLabel()));
    for (QPushButton *button : m_needRecords)
        button->setEnabled(count() > 0);
    refreshSummary();
}

bool RecordListDialog::save()
{
    std::string path = m_state.path;
    if (path.empty()) {
        const QString chosen = askNewPath();
        if (chosen.isEmpty())
            return false;
        path = fromQt(chosen);
    }
    const common::Result saved = saveTo(path);
    if (!saved) {
        showFailure(this, saved);
        return false;
    }
    m_state.path = path;
    m_state.modified = false;
    pathSaved(path);
    updateState();
    return true;
}

bool RecordListDialog::maySave()
{
    if (!m_state.modified)
        return true;
    // A field being typed in is taken before the question.
    if (QWidget *focus = focusWidget())
        focus->clearFocus();
    return saveOrDiscard(this, m_saveQuestion, [this] { return save(); });
}

void RecordListDialog::done(int result)
{
    if (maySave())
        QDialog::done(result);
}

} // namespace zorv::ui
