// The program's own questions and messages, with French buttons, and Qt's own French texts.
#pragma once

#include <QString>

class QCoreApplication;
class QWidget;

namespace zorv::ui {

// Loads Qt's French translations (file and colour dialogs, context menus,
// standard buttons) from the system's Qt translation folder. False when they
// are not installed: Qt's windows then speak English, ours stay French.
bool installFrenchTranslations(QCoreApplication &application);

// Opens the program's catalogue for the desktop's language and gives Qt's own dialogs the same
// language: qtbase's French when the texts are French, Qt's built-in English otherwise.
// False when Qt's French translations are missing.
bool installTranslations(QCoreApplication &application);

// A question with the buttons "&Oui" and "&Non"; true for yes.
bool askYesNo(QWidget *parent, const QString &question);

enum class Answer {
    Yes,
    No,
    Cancel,
};

// A question with the buttons "&Oui", "&Non" and "&Annuler"; Escape and closing the box cancel.
Answer askYesNoCancel(QWidget *parent, const QString &question);

// Makes the window at least as wide as the window manager's title bar needs
// for its title, so that a small dialog's title is not cut.
void fitTitle(QWidget *window);

// A warning with one "OK" button, titled with the program's name.
void showWarning(QWidget *parent, const QString &message);
// A notice of what was done, with one "OK" button, titled with the program's name.
void showInformation(QWidget *parent, const QString &message);

} // namespace zorv::ui
