// Every question the program asks the user goes through one prompter: Qt's dialogs in the program, scripted answers in
// tests.
#pragma once

#include "ui/common/filefolders.h"

#include <QString>
#include <optional>
#include <vector>

class QDialog;
class QWidget;

namespace zorv::ui {

struct AppContext;

// Runs the program's modal dialogs. The program's own runs them with exec(); a test's answers them
// without an event loop of their own, so no timer has to find the dialog.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows `dialog` modally until it is closed; returns what exec() would. A message box is
    // widened first so that a window manager shows its whole title.
    int exec(QDialog &dialog);

protected:
    virtual int run(QDialog &dialog) = 0;
};

// The prompter in use: Qt's, unless a test put its own in place.
Prompter &prompter();
// Puts `replacement` in place of the prompter in use (none: Qt's again); returns the one it replaces.
Prompter *setPrompter(Prompter *replacement);

// A message box: its buttons in order, and which of them Enter and Escape press.
struct Message {
    enum class Icon {
        Information,
        Warning,
        Critical,
        Question,
    };
    enum class Role {
        Accept,
        Reject,
        Destructive,
        Yes,
        No,
    };
    struct Button {
        QString text;
        Role role;
    };
    QWidget *parent = nullptr;
    Icon icon = Icon::Information;
    QString title;
    QString text;
    // None: Qt's own "OK" alone.
    std::vector<Button> buttons;
    int defaultButton = -1;
    int escapeButton = -1;
};

// Asks `message`; the index of the button pressed, -1 when the box was closed without one.
int ask(const Message &message);
// A warning with Qt's own "OK", as QMessageBox::warning shows it.
void warn(QWidget *parent, const QString &title, const QString &text);
// A notice with Qt's own "OK", as QMessageBox::information shows it.
void inform(QWidget *parent, const QString &title, const QString &text);

// A file dialog: the desktop's own is used only when `native` says so.
struct FileRequest {
    enum class Mode {
        Open, // an existing file
        OpenAny, // any name may be typed, so that a missing file gets the program's own message
        Save,
    };
    QWidget *parent = nullptr;
    Mode mode = Mode::Open;
    QString title;
    QString directory;
    QString filter; // filters separated by ";;"
    QString selectedFilter;
    QString defaultSuffix;
    QString selectFile;
    bool confirmOverwrite = true;
    bool native = false;
    // Starts in, and remembers, the folder of this kind of file.
    const AppContext *context = nullptr;
    std::optional<FileFolder> folder;
};

// The file the user chose, empty when the dialog was cancelled.
QString chooseFile(const FileRequest &request);

} // namespace zorv::ui
