// Helpers for the window tests: screenshots, a scratch settings folder, and answering message boxes.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace zorv::uitest {

// Saves a PNG of the widget's window under build/screenshots/<name>.png, and
// fails the test when the window shows English words of Qt's untranslated
// texts or cuts a label's or button's text.
void saveScreenshot(QWidget *widget, const QString &name);

// Runs `action` on the next modal dialog or message box that opens, from the event loop.
// Use it before the call that opens the dialog.
void whenModalOpens(const std::function<void(QWidget *modal)> &action, int timeoutMs = 5000);

// Clicks the visible button of `modal` whose text is `text`, mnemonics ignored; fails the test when there is none.
void press(QWidget *modal, const QString &text);

// The texts the window shows in its visible labels, buttons, group boxes,
// tab bars, menus and its title.
QStringList visibleTexts(QWidget *window);

// The visible texts that hold one of the English words an untranslated Qt
// shows ("Yes", "Cancel", "File name", "No such file or directory", ...).
QStringList englishTexts(QWidget *window);

// Labels, buttons and check boxes whose text is wider or taller than the room
// the widget gives it, and a title wider than the window.
QStringList cutTexts(QWidget *window);

// Installs Qt's French translations as the program does; for the tests' main.
void installFrench();

} // namespace zorv::uitest

// QTEST_MAIN, with the program's French.
#define ZORV_UI_TEST_MAIN(TestObject) QTEST_MAIN_WRAPPER(TestObject, QTEST_MAIN_SETUP() zorv::uitest::installFrench();)
