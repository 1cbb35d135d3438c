#include "ui/registers/registerwindow.h"

#include "logbook/diverecord.h"
#include "logbook/fieldcatalogue.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
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
#include <algorithm>

namespace zorv::ui {

RegisterWindow::RegisterWindow(AppContext &context, FileKind file, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_kind(std::move(file))
{
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("fileName"));
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_grid = new QGridLayout;
    m_side = new QVBoxLayout;
    m_main = new QVBoxLayout;
    auto *fileLine = new QHBoxLayout;
    fileLine->addWidget(new QLabel(ui::tr("Fichier:"), this));
    fileLine->addWidget(m_file, 1);
    m_main->addLayout(fileLine);
    // The register's buttons go above the stretch, "&Quitter" stays at the bottom.
    m_side->addStretch(1);
    m_quit = registerButton(ui::tr("&Quitter"), QStringLiteral("quit"), this);
    connect(m_quit, &QPushButton::clicked, this, &QDialog::reject);
    m_side->addWidget(m_quit);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(m_main, 1);
    layout->addLayout(m_side);
}

RegisterWindow::~RegisterWindow()
{
    if (m_view)
        storeColumnWidths(m_view, m_context.settings, m_columnList, m_columnCount);
}

void RegisterWindow::setUpList(std::span<const registers::ColumnSpec> columns, settings::ColumnList list)
{
    m_columnList = list;
    m_columnCount = static_cast<int>(columns.size());
    m_model = new RegisterListModel(
        columnTitles(columns), [this] { return count(); }, [this](int row, int column) { return cell(row, column); },
        this);
    m_view = registerView(this, m_model, columns, m_context.settings, list);
    m_main->addWidget(m_view, 1);
    m_main->addLayout(m_grid);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        showSelected();
        updateState();
    });
    connect(m_view, &QTreeView::doubleClicked, this, &RegisterWindow::editSelected);
}

QPushButton *RegisterWindow::addButton(Action action, const QString &text, Enabled enabled)
{
    switch (action) {
    case Action::Open:
        return addButton(text, QStringLiteral("open"), enabled, [this] { openFile(); });
    case Action::Save:
        return addButton(text, QStringLiteral("save"), enabled, [this] { save(); });
    case Action::New:
        return addButton(text, QStringLiteral("new"), enabled, [this] { appendNew(); });
    case Action::Details:
        return addButton(text, QStringLiteral("details"), enabled, [this] { editSelected(); });
    case Action::Delete:
        return addButton(text, QStringLiteral("delete"), enabled, [this] { removeSelected(); });
    case Action::Sort:
        return addButton(text, QStringLiteral("sort"), enabled, [this] { sortAll(); });
    case Action::Print:
        return addButton(
            text, QStringLiteral("print"), enabled, [this] { printList(this, printout(), m_kind.printJob); });
    }
    return nullptr;
}

QPushButton *RegisterWindow::addButton(
    const QString &text, const QString &name, Enabled enabled, std::function<void()> action)
{
    QPushButton *button = registerButton(text, name, this);
    connect(button, &QPushButton::clicked, this, std::move(action));
    m_side->insertWidget(m_side->count() - 2, button);
    // "&Quitter" comes last in the tab order as it does on screen.
    setTabOrder(button, m_quit);
    m_buttons.emplace_back(button, enabled);
    return button;
}

int RegisterWindow::nextFieldRow()
{
    // The fields below take room from the list.
    if (m_bindings.empty())
        m_view->setMinimumHeight(180);
    return m_grid->rowCount();
}

void RegisterWindow::addField(const QString &label, const QString &name, int maxLength,
    std::function<QString(int row)> get, std::function<void(int row, const QString &text)> set, Apply apply,
    int columnSpan)
{
    QLineEdit *edit = newFieldEdit(label, name, maxLength, columnSpan);
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
            // Show the value as it was understood.
            m_filling = true;
            edit->setText(get(selectedRow()));
            m_filling = false;
        });
    }
    m_bindings.push_back({ edit, std::move(get) });
}

QLineEdit *RegisterWindow::newFieldEdit(const QString &label, const QString &name, int maxLength, int columnSpan)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    const int row = nextFieldRow();
    m_grid->addWidget(new QLabel(label, this), row, 0);
    m_grid->addWidget(edit, row, 1, 1, columnSpan);
    return edit;
}

void RegisterWindow::addWholeField(const QString &label, const QString &name, int maxLength,
    std::function<std::int32_t &(int row)> value, long long low, long long high)
{
    QLineEdit *edit = newFieldEdit(label, name, maxLength, 1);
    const auto shown = [value](int r) { return QString::number(value(r)); };
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, label, value, shown, low, high] {
        const int selected = selectedRow();
        if (m_filling || selected < 0 || edit->text() == shown(selected))
            return;
        const common::ResultOr<long long> read = registers::readWhole(fromQt(edit->text()), fromQt(label), low, high);
        if (read)
            value(selected) = static_cast<std::int32_t>(*read);
        // The field shows the number as understood, or the kept one, before the message takes the focus.
        m_filling = true;
        edit->setText(shown(selected));
        m_filling = false;
        if (!read) {
            showWarning(this, toQt(read.message()));
            edit->setFocus();
            edit->selectAll();
            return;
        }
        m_model->rowChanged(selected);
        markChanged();
    });
    m_bindings.push_back({ edit, shown });
}

void RegisterWindow::addTextField(const QString &label, const QString &name, std::size_t size,
    registers::Charset charset, TextOf text, int columnSpan)
{
    addField(
        label, name, static_cast<int>(size) - 1,
        [text, charset](int r) { return toQt(registers::toDisplay(text(r), charset)); },
        [text, charset](int r, const QString &t) { text(r) = registers::toStored(fromQt(t), charset); }, Apply::AsTyped,
        columnSpan);
}

void RegisterWindow::addDateField(const QString &label, const QString &name, std::function<std::uint32_t &(int)> day)
{
    addField(
        label, name, 12, [day](int r) { return toQt(logbook::formatDate(day(r), logbook::DateForm::Medium)); },
        [day](int r, const QString &t) {
            const std::uint32_t parsed = logbook::parseDate(fromQt(t));
            day(r) = parsed == logbook::kNoDate ? 0 : parsed;
        },
        Apply::WhenLeft);
}

void RegisterWindow::addTextArea(
    const QString &label, const QString &name, int maxLength, registers::Charset charset, TextOf text)
{
    auto *edit = new QPlainTextEdit(this);
    edit->setObjectName(name);
    edit->setTabChangesFocus(true);
    edit->setMaximumHeight(90);
    const int row = nextFieldRow();
    m_grid->addWidget(new QLabel(label, this), row, 0, Qt::AlignTop);
    m_grid->addWidget(edit, row, 1, 1, 3);
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, text, charset, maxLength] {
        const int selected = selectedRow();
        if (m_filling || selected < 0)
            return;
        QString typed = edit->toPlainText();
        if (typed.size() > maxLength) {
            // The field holds no more than the file keeps; the rest is refused at the keyboard.
            typed.truncate(maxLength);
            m_filling = true;
            edit->setPlainText(typed);
            edit->moveCursor(QTextCursor::End);
            m_filling = false;
        }
        text(selected) = registers::toStored(fromQt(typed), charset);
        markChanged();
    });
    m_bindings.push_back({ edit, [text, charset](int r) { return toQt(registers::toDisplay(text(r), charset)); } });
}

void RegisterWindow::load(const std::string &path)
{
    const common::Result read = readFrom(path);
    m_state.modified = false;
    // A file that could not be read keeps its bytes: without a path, a save asks for a new name.
    m_state.path = read ? path : std::string();
    m_lastPath = path;
    showFailure(this, read);
    reloadList(count() > 0 ? 0 : -1);
}

void RegisterWindow::openFile()
{
    if (!maySave())
        return;
    const QString chosen = chooseOpenPath(this, m_kind.filter, m_kind.suffix, m_lastPath);
    if (chosen.isEmpty())
        return;
    if (m_kind.remembered)
        *m_kind.remembered = fromQt(chosen);
    load(fromQt(chosen));
}

bool RegisterWindow::save()
{
    std::string path = m_state.path;
    if (path.empty()) {
        const QString chosen = chooseSavePath(this, m_kind.filter, m_kind.suffix, m_lastPath);
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
    m_lastPath = path;
    if (m_kind.remembered)
        *m_kind.remembered = path;
    updateState();
    return true;
}

bool RegisterWindow::maySave()
{
    if (!m_state.modified)
        return true;
    // A field being typed in is taken before the question.
    if (QWidget *focus = focusWidget(); focus && !m_bindings.empty())
        focus->clearFocus();
    return saveOrDiscard(this, m_kind.saveQuestion, [this] { return save(); });
}

void RegisterWindow::done(int result)
{
    if (maySave())
        QDialog::done(result);
}

void RegisterWindow::appendNew()
{
    if (!appendRecord())
        return;
    reloadList(count() - 1);
    markChanged();
    // The new record is typed in at once.
    if (!m_bindings.empty())
        m_bindings.front().widget->setFocus();
}

void RegisterWindow::editSelected()
{
    const int row = selectedRow();
    if (row < 0 || !editRecord(row))
        return;
    m_model->rowChanged(row);
    markChanged();
}

void RegisterWindow::removeSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (const QString question = removeQuestion(row); !question.isEmpty() && !askYesNo(this, question))
        return;
    removeRecord(row);
    reloadList(std::min(row, count() - 1));
    markChanged();
}

void RegisterWindow::sortAll()
{
    sortRecords();
    reloadList(0);
    markChanged();
}

int RegisterWindow::selectedRow() const
{
    const int row = currentRow(m_view);
    return row < count() ? row : -1;
}

void RegisterWindow::markChanged()
{
    m_state.modified = true;
    updateState();
}

void RegisterWindow::reloadList(int select)
{
    m_model->reload();
    selectRow(m_view, select);
    showSelected();
    updateState();
}

void RegisterWindow::showSelected()
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

void RegisterWindow::updateState()
{
    m_file->setText(toQt(m_state.fileLabel()));
    for (const auto &[button, enabled] : m_buttons) {
        switch (enabled) {
        case Enabled::Always:
            button->setEnabled(true);
            break;
        case Enabled::WithRecords:
            button->setEnabled(count() > 0);
            break;
        case Enabled::WithSelection:
            button->setEnabled(selectedRow() >= 0);
            break;
        case Enabled::WhenChanged:
            button->setEnabled(m_state.modified);
            break;
        }
    }
    refreshSummary();
}

} // namespace zorv::ui
