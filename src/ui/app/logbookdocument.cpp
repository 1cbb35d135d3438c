#include "ui/app/logbookdocument.h"

#include "common/cformat.h"
#include "common/fileset.h"
#include "common/strings.h"
#include "logbook/logbookfile.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QUndoStack>
#include <QWidget>
#include <filesystem>

namespace zorv::ui {

namespace {

    // The fourth and fifth fields of the document string: filter name and extension.
    QString documentField(int index)
    {
        return qstr(StringId::DocumentTemplate).split(QLatin1Char('\n')).value(index);
    }

    bool fileExists(const QString &path)
    {
        return !path.isEmpty() && QFileInfo(path).isFile();
    }

    // Enough to walk back through an afternoon's work; each step holds only the records it changed.
    constexpr int kUndoLimit = 100;

} // namespace

// One undo step: the logbook before and after a command. Both states share the
// records the command left alone.
class LogbookStep : public QUndoCommand {
public:
    LogbookStep(LogbookDocument &document, const QString &text, std::shared_ptr<const logbook::LogbookSnapshot> before,
        std::shared_ptr<const logbook::LogbookSnapshot> after)
        : QUndoCommand(text)
        , m_document(document)
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_changedAt(m_after->firstDifference(*m_before))
    {
    }

    // Both ways the page shows the dive the step changed, so that the next command acts on it.
    void undo() override { m_document.restore(m_before, m_changedAt); }
    void redo() override
    {
        // The stack redoes a step as it is pushed; the logbook is already in that state then.
        if (m_pushed)
            m_document.restore(m_after, m_changedAt);
        m_pushed = true;
    }

private:
    LogbookDocument &m_document;
    std::shared_ptr<const logbook::LogbookSnapshot> m_before;
    std::shared_ptr<const logbook::LogbookSnapshot> m_after;
    int m_changedAt; // position of the first dive the step changed; 0 for none
    bool m_pushed = false;
};

LogbookDocument::LogbookDocument(AppContext &context, QWidget *window)
    : QObject(window)
    , m_context(context)
    , m_window(window)
    , m_undoStack(new QUndoStack(this))
{
    m_undoStack->setUndoLimit(kUndoLimit);
    connect(m_undoStack, &QUndoStack::indexChanged, this, &LogbookDocument::followStack);
    connect(m_undoStack, &QUndoStack::cleanChanged, this, &LogbookDocument::followStack);
    m_context.logbook.setObserver(this);
    resetHistory();
}

LogbookDocument::~LogbookDocument()
{
    // The stack clears itself as it goes and would tell windows already half destroyed.
    m_undoStack->blockSignals(true);
    m_context.logbook.setObserver(nullptr);
}

bool LogbookDocument::openAtStartUp(const QString &commandLinePath)
{
    if (!commandLinePath.isEmpty())
        return load(commandLinePath, false);
    const QString recent = toQt(m_context.settings.recentFiles[0]);
    if (!fileExists(recent)) {
        // A most recent logbook that was deleted meanwhile is no error.
        resetToNew();
        return true;
    }
    load(recent, true);
    return true;
}

bool LogbookDocument::newLogbook()
{
    if (!maySave())
        return false;
    resetToNew();
    return true;
}

bool LogbookDocument::open()
{
    if (!maySave())
        return false;
    const QString path = chooseFile(false);
    return !path.isEmpty() && load(path, false);
}

bool LogbookDocument::openPath(const QString &path)
{
    return maySave() && load(path, false);
}

bool LogbookDocument::reopen()
{
    // Reloading throws away whatever was changed since the last save, so the
    // user is asked first like before any other replacement of the logbook.
    if (!m_hasFile || !maySave())
        return false;
    return load(toQt(m_context.logbook.path()), false);
}

bool LogbookDocument::save()
{
    if (!m_hasFile)
        return saveAs();
    return saveTo(toQt(m_context.logbook.path()));
}

bool LogbookDocument::saveAs()
{
    QString path = chooseFile(true);
    if (path.isEmpty())
        return false;
    const QString extension = documentField(4);
    if (!path.endsWith(extension, Qt::CaseInsensitive))
        path += extension;
    return saveTo(path);
}

bool LogbookDocument::maySave()
{
    if (!m_context.logbook.isModified())
        return true;
    switch (askYesNoCancel(m_window, ui::tr("Enregistrer les modifications de %1 ?").arg(displayName()))) {
    case Answer::Yes:
        return save();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

QString LogbookDocument::displayName() const
{
    const QString path = toQt(m_context.logbook.path());
    return path.isEmpty() ? qstr(StringId::UntitledLogbook) : QFileInfo(path).fileName();
}

void LogbookDocument::beginCommand()
{
    // A change made before the command, outside any, is a step of its own.
    if (m_commandDepth == 0)
        commitStep(QString());
    ++m_commandDepth;
}

void LogbookDocument::endCommand(const QString &stepName)
{
    if (m_commandDepth > 0)
        --m_commandDepth;
    if (m_commandDepth == 0)
        commitStep(stepName);
}

void LogbookDocument::undo()
{
    commitStep(QString());
    m_undoStack->undo();
}

void LogbookDocument::redo()
{
    commitStep(QString());
    m_undoStack->redo();
}

void LogbookDocument::resetHistory()
{
    m_undoStack->clear();
    m_state = std::make_shared<const logbook::LogbookSnapshot>(logbook::LogbookSnapshot::take(m_context.logbook));
    m_changed = false;
}

void LogbookDocument::commitStep(const QString &stepName)
{
    if (!m_changed)
        return;
    m_changed = false;
    auto after = std::make_shared<const logbook::LogbookSnapshot>(
        logbook::LogbookSnapshot::take(m_context.logbook, m_state.get()));
    if (after->sameDives(*m_state)) {
        // Stored back as it was: nothing to undo, and nothing to save either.
        m_context.logbook.setModified(!m_undoStack->isClean());
        emit modifiedChanged();
        return;
    }
    auto before = std::exchange(m_state, after);
    // Changes that came from no command are named as an edit of a dive, the only kind there is.
    const QString name = stepName.isEmpty() ? ui::tr("Modifier la plongée") : stepName;
    m_undoStack->push(new LogbookStep(*this, name, std::move(before), std::move(after)));
}

void LogbookDocument::restore(const std::shared_ptr<const logbook::LogbookSnapshot> &state, int shownDive)
{
    state->restoreInto(m_context.logbook);
    // The snapshot's own current dive is wherever the page stood when it was taken.
    if (shownDive > 0)
        m_context.logbook.setCurrentDive(shownDive);
    m_state = state;
    m_changed = false;
    emit restored();
}

void LogbookDocument::followStack()
{
    // Whether the logbook differs from its file is where the stack stands, not
    // whether anything was ever changed: undoing back to the saved state needs no save.
    m_context.logbook.setModified(!m_undoStack->isClean());
    emit modifiedChanged();
}

void LogbookDocument::markModified()
{
    m_changed = true;
    if (m_commandDepth == 0 && !m_commitQueued) {
        m_commitQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_commitQueued = false;
            if (m_commandDepth == 0)
                commitStep(QString());
        });
    }
    emit modifiedChanged();
}

void LogbookDocument::diveChanged(int position)
{
    emit diveReplaced(position);
}

bool LogbookDocument::deleteCurrentDive()
{
    logbook::Logbook &book = m_context.logbook;
    const int position = book.currentDive();
    const logbook::DiveRecord *dive = book.dive(position);
    if (!dive)
        return false;
    const std::string question(common::str(StringId::AskDeleteDive));
    if (!confirm(toQt(common::cformat(question.c_str(), dive->diveNumber))))
        return false;
    book.deleteDive(position);
    return true;
}

bool LogbookDocument::confirm(const QString &question)
{
    return ask({ m_window, Message::Icon::Question, qstr(StringId::AppTitle), question,
               { { ui::tr("OK"), Message::Role::Accept }, { ui::tr("Annuler"), Message::Role::Reject } }, 0, 1 })
        == 0;
}

bool LogbookDocument::load(const QString &path, bool quietWhenMissing)
{
    // A file that is refused must not cost the logbook that was open: the
    // reader empties the logbook it was given, so it is given back afterwards.
    logbook::Logbook kept = m_context.logbook;
    const common::Result result = logbook::LogbookFile::loadFromPath(m_context.logbook, fromQt(path));
    if (result.status() == common::Status::NotFound) {
        if (quietWhenMissing) {
            resetToNew();
            return true;
        }
        // Nothing was read, so the open logbook stays as it was.
        showError(result.message());
        return false;
    }
    if (!result) {
        // The open logbook keeps its own name, so it is never saved over the file that was refused.
        m_context.logbook = std::move(kept);
        // "Mauvais format" alone does not say which file it was.
        std::string message = result.message();
        if (message.find(fromQt(QFileInfo(path).fileName())) == std::string::npos)
            message = "« " + fromQt(QDir::toNativeSeparators(path)) + " » :\n" + message;
        showError(message);
        emit restored();
        return false;
    }
    m_hasFile = true;
    resetHistory();
    m_stamp = common::fileStamp(common::LogbookPaths::resolve(fromQt(path)).log());
    lockForEditing(path);
    m_context.settings.addRecentFile(fromQt(path));
    emit recentFilesChanged();
    emit replaced();
    if (const std::string notice = logbook::LogbookFile::loadNotice(fromQt(path)); !notice.empty())
        warn(m_window, qstr(StringId::AppTitle), toQt(notice));
    return true;
}

bool LogbookDocument::saveTo(const QString &path)
{
    // A change still waiting for its step belongs before the clean mark.
    commitStep(QString());
    const bool sameFile = m_hasFile && fromQt(path) == m_context.logbook.path();
    if (sameFile && m_readOnly) {
        showError(fromQt(ui::tr("« %1 » est ouvert en lecture seule : un autre programme le modifie. "
                                "Enregistrez-le sous un autre nom.")
                             .arg(displayName())));
        return false;
    }
    // The path is resolved once; the writer lock makes a zorv-cli command that changes
    // the same logbook wait for this commit (and this one for it), and the stamp check
    // under it sees any change that came first.
    const common::LogbookPaths files = common::LogbookPaths::resolve(fromQt(path));
    auto writer = common::WriterLock::acquire(files, common::kWriterWaitMs);
    if (writer && sameFile && common::fileStamp(files.log()) != m_stamp) {
        // No question is asked under the lock: another writer would wait on the user.
        *writer = common::WriterLock();
        if (!mayOverwrite(path))
            return false;
        writer = common::WriterLock::acquire(files, common::kWriterWaitMs);
    }
    if (!writer) {
        showError(writer.message());
        return false;
    }
    const common::Result result = logbook::LogbookFile::save(m_context.logbook, files);
    *writer = common::WriterLock();
    if (!result) {
        showError(result.message());
        return false;
    }
    m_stamp = common::fileStamp(files.log());
    if (!sameFile)
        lockForEditing(path);
    m_hasFile = true;
    m_undoStack->setClean();
    m_context.settings.addRecentFile(fromQt(path));
    emit recentFilesChanged();
    emit modifiedChanged();
    return true;
}

void LogbookDocument::resetToNew()
{
    m_context.logbook.reset();
    m_hasFile = false;
    resetHistory();
    m_readOnly = false;
    m_editLock = common::EditLock();
    emit replaced();
}

QString LogbookDocument::chooseFile(bool forSaving)
{
    FileRequest request;
    request.parent = m_window;
    request.filter = documentField(3);
    request.defaultSuffix = documentField(4).mid(1);
    if (forSaving) {
        request.mode = FileRequest::Mode::Save;
        const QString current = toQt(m_context.logbook.path());
        if (m_hasFile)
            request.selectFile = current;
        else
            request.selectFile = displayName();
    } else if (m_hasFile) {
        request.directory = QFileInfo(toQt(m_context.logbook.path())).absolutePath();
    }
    return ui::chooseFile(request);
}

void LogbookDocument::lockForEditing(const QString &path)
{
    m_readOnly = false;
    m_editLock = common::EditLock();
    common::EditLock lock = common::EditLock::acquire(fromQt(path));
    if (lock.state() == common::EditLock::State::HeldByOther) {
        const int answer = ask({ m_window, Message::Icon::Warning, qstr(StringId::AppTitle),
            ui::tr("« %1 » est déjà ouvert pour modification par %2.\n\n"
                   "Ouvert en lecture seule, il ne peut être enregistré que sous un autre nom.")
                .arg(QFileInfo(path).fileName(), toQt(lock.holder())),
            { { ui::tr("Lecture seule"), Message::Role::Accept },
                { ui::tr("Modifier quand même"), Message::Role::Destructive } },
            0, 0 });
        if (answer == 0) {
            m_readOnly = true;
            return;
        }
        lock = common::EditLock::takeOver(fromQt(path));
    }
    m_editLock = std::move(lock);
}

bool LogbookDocument::mayOverwrite(const QString &path)
{
    if (common::fileStamp(common::LogbookPaths::resolve(fromQt(path)).log()) == m_stamp)
        return true;
    return ask({ m_window, Message::Icon::Warning, qstr(StringId::AppTitle),
               ui::tr("« %1 » a été modifié par un autre programme depuis qu'il a été ouvert ici.\n\n"
                      "L'écraser avec ce carnet, et perdre ces modifications ?")
                   .arg(QFileInfo(path).fileName()),
               { { ui::tr("Écraser"), Message::Role::Destructive }, { ui::tr("Annuler"), Message::Role::Reject } }, 1,
               1 })
        == 0;
}

void LogbookDocument::showError(const std::string &message)
{
    warn(m_window, qstr(StringId::AppTitle), message.empty() ? qstr(StringId::OpenError) : toQt(message));
}

} // namespace zorv::ui
