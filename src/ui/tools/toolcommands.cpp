#include "ui/tools/toolcommands.h"

#include "logbook/oemcharmap.h"
#include "logbook/suggestionlists.h"
#include "tools/divetools.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/tools/criteriadialog.h"
#include "ui/tools/diveeditdialog.h"
#include "ui/tools/filldialog.h"
#include "ui/tools/splitdialog.h"
#include "ui/tools/tooldialogs.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace zorv::ui {

namespace {

    QStringList listTexts(const logbook::ValueList &list)
    {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i)
            if (!list.get(i).empty())
                texts.append(toQt(list.get(i)));
        return texts;
    }

    bool askOkCancel(QWidget *parent, const QString &question)
    {
        QMessageBox box(QMessageBox::Question, qstr(StringId::AppTitle), question, QMessageBox::NoButton, parent);
        QPushButton *ok = box.addButton(ui::tr("OK"), QMessageBox::AcceptRole);
        QPushButton *cancel = box.addButton(ui::tr("Annuler"), QMessageBox::RejectRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(cancel);
        prompter().exec(box);
        return box.clickedButton() == ok;
    }

    // The dive numbers of the first and the last dive, which every range dialog proposes.
    std::pair<int, int> numberSpan(const logbook::Logbook &logbook)
    {
        return { logbook.diveNumberAt(1), logbook.diveNumberAt(logbook.diveCount()) };
    }

} // namespace

ToolCommands::ToolCommands(AppContext &context, QWidget *window)
    : m_context(context)
    , m_window(window)
{
}

void ToolCommands::describe(app::CommandEnvironment &environment) const
{
    environment.diveInClipboard = m_single.filled();
    environment.multiClipboardCount = m_multi.count();
    environment.lastSearchCriteria = m_quick.field;
}

bool ToolCommands::report(const common::Result &result)
{
    if (result)
        return true;
    if (!result.message().empty())
        showWarning(m_window, toQt(result.message()));
    return false;
}

void ToolCommands::inform(const std::string &message)
{
    if (message.empty())
        return;
    QMessageBox box(QMessageBox::Information, qstr(StringId::AppTitle), toQt(message), QMessageBox::NoButton, m_window);
    box.addButton(ui::tr("OK"), QMessageBox::AcceptRole);
    prompter().exec(box);
}

bool ToolCommands::renumberAll()
{
    logbook::Logbook &book = m_context.logbook;
    if (book.diveCount() == 0)
        return false;
    DiveNumbersDialog dialog(
        ui::tr("Numéroter les plongées"), { ui::tr("Premier n° de plongée:") }, { book.firstDiveNumber() }, m_window);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return false;
    const int first = dialog.values().value(0);
    if (!askOkCancel(m_window, toQt(tools::renumberAllQuestion(first))))
        return false;
    return report(tools::renumberAll(book, first).result());
}

bool ToolCommands::renumberPart()
{
    logbook::Logbook &book = m_context.logbook;
    if (book.diveCount() == 0)
        return false;
    const auto [first, last] = numberSpan(book);
    DiveNumbersDialog dialog(ui::tr("Numéroter les plongées"),
        { ui::tr("Première plongée"), ui::tr("Dernière plongée"), ui::tr("Nouveau n° de départ") },
        { first, last, first }, m_window);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return false;
    const QList<int> v = dialog.values();
    // Numbers that would repeat are the user's choice, but not without a word, as for renumbering all dives.
    if (const auto question = tools::renumberRangeQuestion(book, v[0], v[1], v[2]);
        question && !askOkCancel(m_window, toQt(*question)))
        return false;
    const tools::ToolResult result = tools::renumberRange(book, v[0], v[1], v[2]);
    return result ? result->changed > 0 : report(result.result());
}

bool ToolCommands::timeZone()
{
    logbook::Logbook &book = m_context.logbook;
    const logbook::DiveRecord *current = book.dive(book.currentDive());
    if (!current)
        return false;
    TimeZoneDialog dialog(current->diveNumber, current->diveNumber, m_window);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return false;
    const int minutes = dialog.minutes().value_or(0);
    if (minutes == 0)
        return false;
    if (!report(tools::checkTimeShift(book, dialog.fromNumber(), dialog.toNumber())))
        return false;
    if (!askOkCancel(m_window, toQt(tools::timeShiftQuestion(dialog.fromNumber(), dialog.toNumber(), minutes))))
        return false;
    const tools::ToolResult result = tools::shiftTimeZone(book, dialog.fromNumber(), dialog.toNumber(), minutes);
    return result ? result->changed > 0 : report(result.result());
}

bool ToolCommands::merge()
{
    const tools::ToolResult result = tools::mergeWithNext(m_context.logbook, m_context.logbook.currentDive());
    if (!report(result.result()))
        return false;
    inform(result->message);
    return true;
}

bool ToolCommands::split()
{
    logbook::Logbook &book = m_context.logbook;
    const int position = book.currentDive();
    if (!book.dive(position))
        return false;
    SplitDialog dialog(m_context, position, m_window);
    if (prompter().exec(dialog) != QDialog::Accepted || dialog.minute() == 0)
        return false;
    const tools::ToolResult result = tools::splitDive(book, position, dialog.minute());
    if (!report(result.result()))
        return false;
    inform(result->message);
    return true;
}

bool ToolCommands::fill()
{
    if (m_context.logbook.diveCount() == 0)
        return false;
    // The first opening of the run starts from a template that changes nothing.
    if (!m_fillOpened)
        m_fill.reset();
    m_fillOpened = true;
    FillDialog dialog(m_context.logbook, m_fill, m_window);
    prompter().exec(dialog);
    return dialog.filled();
}

void ToolCommands::copyDive()
{
    m_single.copyFrom(m_context.logbook, m_context.logbook.currentDive());
}

bool ToolCommands::pasteDive()
{
    if (!m_single.filled())
        return false;
    // The dialog edits the buffered dive itself, so that the next paste brings the edited one.
    return newDiveFrom(m_context, m_single.record(), m_window, &m_single.record());
}

void ToolCommands::multiCopy()
{
    logbook::Logbook &book = m_context.logbook;
    if (book.diveCount() == 0)
        return;
    const auto [first, last] = numberSpan(book);
    DiveNumbersDialog dialog(ui::tr("Entrée des plongées"), { ui::tr("Première plongée"), ui::tr("Dernière plongée") },
        { first, last }, m_window);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return;
    const QList<int> v = dialog.values();
    report(m_multi.copyFrom(book, v[0], v[1]));
}

bool ToolCommands::multiPaste()
{
    if (m_multi.count() == 0)
        return false;
    const tools::ToolResult result = m_multi.pasteInto(m_context.logbook);
    if (!report(result.result()))
        return false;
    inform(result->message);
    return true;
}

void ToolCommands::multiClear()
{
    m_multi.clear();
}

int ToolCommands::quickSearch()
{
    logbook::Logbook &book = m_context.logbook;
    if (book.diveCount() == 0)
        return 0;
    const logbook::SuggestionLists suggestions(book);
    const std::array<QStringList, 4> lists = { listTexts(suggestions.list(logbook::ListId::Places)),
        listTexts(suggestions.list(logbook::ListId::Sites)), listTexts(suggestions.list(logbook::ListId::Partners)),
        listTexts(suggestions.list(logbook::ListId::OtherActivities)) };
    QuickSearchDialog dialog(
        lists, m_quick.field, m_quick.activity, toQt(logbook::storedToDisplay(m_quick.text)), m_window);
    if (prompter().exec(dialog) != QDialog::Accepted) {
        m_quick.field = tools::QuickSearch::kNone;
        return 0;
    }
    m_quick.field = dialog.field();
    m_quick.activity = dialog.activity();
    m_quick.text = logbook::displayToStored(fromQt(dialog.text()));
    return repeatSearch(tools::SearchDirection::FromStart);
}

int ToolCommands::searchForward()
{
    return repeatSearch(tools::SearchDirection::Forward);
}

int ToolCommands::searchBackward()
{
    return repeatSearch(tools::SearchDirection::Backward);
}

int ToolCommands::repeatSearch(tools::SearchDirection direction)
{
    const common::ResultOr<int> found
        = tools::findQuick(m_context.logbook, m_quick, direction, m_context.logbook.currentDive());
    if (!found) {
        report(found.result());
        return 0;
    }
    return *found;
}

int ToolCommands::advancedSearch()
{
    if (m_context.logbook.diveCount() == 0)
        return 0;
    CriteriaDialog dialog(m_context.logbook, m_criteria, CriteriaDialog::Purpose::AdvancedSearch, m_window);
    prompter().exec(dialog);
    return dialog.chosenPosition();
}

int ToolCommands::createSelection(QString &pathToOpen)
{
    pathToOpen.clear();
    if (m_context.logbook.diveCount() == 0)
        return 0;
    CriteriaDialog dialog(m_context.logbook, m_criteria, CriteriaDialog::Purpose::Selection, m_window);
    if (prompter().exec(dialog) != QDialog::Accepted)
        return 0;
    if (dialog.chosenPosition() != 0)
        return dialog.chosenPosition();
    const QString written = dialog.writtenPath();
    if (!written.isEmpty() && QFileInfo::exists(written) && askYesNo(m_window, qstr(StringId::AskLoadFile)))
        pathToOpen = written;
    return 0;
}

bool ToolCommands::replace()
{
    logbook::Logbook &book = m_context.logbook;
    if (book.diveCount() == 0)
        return false;
    ReplaceDialog dialog(m_window);
    bool changed = false;
    const auto field = [&dialog] { return static_cast<tools::ReplaceField>(dialog.field()); };
    const auto stored = [](const QString &text) { return logbook::displayToStored(fromQt(text)); };
    QObject::connect(&dialog, &ReplaceDialog::findRequested, &dialog, [&] {
        QStringList lines;
        for (const tools::Replacement &r :
            tools::findReplacements(book, field(), stored(dialog.findText()), stored(dialog.replacementText()))) {
            const auto [found, replaced] = tools::replacementLines(book, r);
            lines << toQt(found) << toQt(replaced);
        }
        dialog.showFound(lines);
    });
    QObject::connect(&dialog, &ReplaceDialog::replaceRequested, &dialog, [&] {
        const tools::ToolResult result
            = tools::replaceAll(book, field(), stored(dialog.findText()), stored(dialog.replacementText()));
        dialog.replaced();
        if (!result) {
            showWarning(&dialog, toQt(result.message()));
            return;
        }
        changed = changed || result->changed > 0;
        if (!result->message.empty()) {
            QMessageBox box(QMessageBox::Information, qstr(StringId::AppTitle), toQt(result->message),
                QMessageBox::NoButton, &dialog);
            box.addButton(ui::tr("OK"), QMessageBox::AcceptRole);
            prompter().exec(box);
        }
    });
    prompter().exec(dialog);
    return changed;
}

} // namespace zorv::ui
