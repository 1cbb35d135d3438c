// The one logbook document: new, open, save and reopen of the file set, and the question before closing it.
#pragma once

#include "logbook/logbook.h"

#include <QObject>
#include <QString>

class QWidget;

namespace zorv::ui {

struct AppContext;

class LogbookDocument : public QObject, public logbook::LogbookObserver, public logbook::Confirmer {
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
    // The file name shown in the window title.
    QString displayName() const;

    // LogbookObserver and Confirmer, for the logbook's own operations.
    void markModified() override;
    void diveChanged(int position) override;
    bool confirm(const std::string &questionUtf8) override;

signals:
    // Another logbook replaced the open one (new, open, reopen).
    void replaced();
    void modifiedChanged();
    void diveReplaced(int position);
    void recentFilesChanged();

private:
    bool load(const QString &path, bool quietWhenMissing);
    bool saveTo(const QString &path);
    void resetToNew();
    QString chooseFile(bool forSaving);
    void showError(const std::string &message);

    AppContext &m_context;
    QWidget *m_window;
    bool m_hasFile = false;
};

} // namespace zorv::ui
