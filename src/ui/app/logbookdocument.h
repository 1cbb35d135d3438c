// The one logbook document: new, open, save and reopen of the file set, and the question before closing it.
#pragma once

#include "common/editlock.h"
#include "logbook/logbook.h"
#include "logbook/logbooksnapshot.h"

#include <QObject>
#include <QString>
#include <memory>

class QUndoStack;
class QWidget;

namespace zorv::ui {

struct AppContext;

class LogbookDocument : public QObject, public logbook::LogbookObserver {
    Q_OBJECT
public:
    // Message boxes and file dialogs open over `window`.
    LogbookDocument(AppContext &context, QWidget *window);
    ~LogbookDocument() override;

    // The logbook named on the command line, else the most recent one. False
    // when a logbook named on the command line could not be opened.
    bool openAtStartUp(const QString &commandLinePath);

    // Each asks to save a modified logbook first and returns false when the
    // user cancelled or the file could not be read or written.
    bool newLogbook();
    bool open(); // asks for the file
    bool openPath(const QString &path);
    bool reopen();
    bool save(); // asks for a name when the logbook has no file yet
    bool saveAs();

    // Asks whether to save a modified logbook; false when the user cancelled
    // or the save failed, so that the logbook must stay open.
    bool maySave();

    // The logbook was read from or written to a file of its own, as opposed to
    // a new logbook that only has the default name.
    bool hasFile() const { return m_hasFile; }
    // Another running program edits this logbook and the user chose not to take it
    // over: saving over it is refused, "Enregistrer sous" makes a copy.
    bool isReadOnly() const { return m_readOnly; }
    // The file name shown in the window title.
    QString displayName() const;

    // Every change of the logbook becomes one undo step. A command that may
    // change it runs between beginCommand and endCommand, so that all it
    // changes is undone at once under its name; changes made outside a
    // command are gathered when control returns to the event loop.
    QUndoStack *undoStack() const { return m_undoStack; }
    void beginCommand();
    void endCommand(const QString &stepName);
    void undo();
    void redo();

    // Asks with the dive's number, then deletes the current dive; true when it was deleted.
    bool deleteCurrentDive();

    // LogbookObserver, for the logbook's own operations.
    void markModified() override;
    void diveChanged(int position) override;

signals:
    // Another logbook replaced the open one (new, open, reopen).
    void replaced();
    void modifiedChanged();
    void diveReplaced(int position);
    // Undo or redo put back another state of the dives.
    void restored();
    void recentFilesChanged();

private:
    bool load(const QString &path, bool quietWhenMissing);
    bool saveTo(const QString &path);
    void resetToNew();
    QString chooseFile(bool forSaving);
    void showError(const std::string &message);
    void resetHistory();
    void commitStep(const QString &stepName);
    void followStack();

    friend class LogbookStep;
    // Puts `state` back and makes `shownDive` (a position; 0 keeps the state's own) the current dive.
    void restore(const std::shared_ptr<const logbook::LogbookSnapshot> &state, int shownDive);
    // Takes the edit lock of the file just read or written, asking the user when another program holds it.
    void lockForEditing(const QString &path);
    // False when the file changed on disk since it was read or written here and the user keeps it.
    bool mayOverwrite(const QString &path);
    bool confirm(const QString &question);

    AppContext &m_context;
    QWidget *m_window;
    bool m_hasFile = false;
    QUndoStack *m_undoStack = nullptr;
    // The logbook as the undo stack's current step left it.
    std::shared_ptr<const logbook::LogbookSnapshot> m_state;
    bool m_changed = false; // the logbook changed since m_state was taken
    int m_commandDepth = 0;
    bool m_commitQueued = false;
    bool m_readOnly = false;
    common::EditLock m_editLock;
    common::FileStamp m_stamp; // of the .log as last read or written here
};

} // namespace zorv::ui
