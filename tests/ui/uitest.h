// Helpers for the window tests: screenshots, a scratch settings folder, and scripted answers to the program's dialogs.
#pragma once

#include "ui/common/prompter.h"

#include <QAbstractButton>
#include <QDialog>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>

class QFileDialog;
class QTemporaryDir;

namespace zorv::logbook {
class Logbook;
}

namespace zorv::ui {
struct AppContext;
class Application;
class MainWindow;
} // namespace zorv::ui

namespace zorv::uitest {

// Saves a PNG of the widget's window under build/screenshots/<name>.png, and
// fails the test when the window shows English words of Qt's untranslated
// texts or cuts a label's or button's text.
void saveScreenshot(QWidget *widget, const QString &name);

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

// Types a key into `window`: shortcuts reach only the active window, and a closed
// message box leaves none active off screen.
void typeKey(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = {});

// Replaces the text of the line edit `name` in `dialog`.
void setField(QWidget *dialog, const char *name, const QString &text);

// Clicks a button with the mouse; check boxes and radio buttons on their indicator, since a
// stretched one ignores clicks beyond its text.
void click(QAbstractButton *button);

// The child widget `name`; the test program stops when there is none.
template <typename T> T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// The child widget showing `text`; the test program stops when there is none.
template <typename T = QAbstractButton> T *findByText(QWidget *parent, const QString &text)
{
    for (T *widget : parent->findChildren<T *>())
        if (widget->text() == text)
            return widget;
    qFatal("no control \"%s\"", qPrintable(text));
    return nullptr;
}

// Answers the program's dialogs in the order a test expects them, as they open, without a timer.
// While one lives it is the program's prompter; a dialog nobody expected, of another kind, or
// showing another text fails the test, and so does an expected dialog that never came.
// Every message box is screenshot (so checked for English and cut texts) before it is answered.
class Prompts : public ui::Prompter {
public:
    Prompts();
    ~Prompts() override;
    Prompts(const Prompts &) = delete;
    Prompts &operator=(const Prompts &) = delete;

    // A message box whose text holds `fragment`, answered with the button `button` (mnemonics
    // ignored); its whole text goes to `seen`.
    Prompts &message(const QString &fragment, const QString &button = QStringLiteral("OK"), QString *seen = nullptr);
    // Any dialog, answered with its button `button` after `before` ran on it; a message box's text goes to `seen`.
    Prompts &answer(const QString &button, QString *seen = nullptr, const std::function<void(QWidget *)> &before = {});
    // Any dialog, given to `action`; a dialog `action` leaves open is closed by its title bar.
    Prompts &modal(const std::function<void(QDialog *)> &action);
    // A file dialog, answered by typing `path` into its name field (none: cancelled); `check` sees it first.
    Prompts &file(const QString &path, const std::function<void(QFileDialog &)> &check = {});
    // A dialog of type T that `fill` drives as a user would, after a screenshot named `screenshot`
    // (none: no screenshot); a dialog `fill` leaves open is closed by its title bar.
    template <typename T = QDialog, typename F> Prompts &dialog(F fill, const QString &screenshot = {})
    {
        expect(&T::staticMetaObject, {}, screenshot, [fill](QDialog &d) { fill(static_cast<T &>(d)); });
        return *this;
    }
    // Answers every dialog that comes when none is expected; `answer` may leave it open.
    Prompts &everyDialog(std::function<void(QDialog &)> answer)
    {
        m_every = std::move(answer);
        return *this;
    }
    // True when every expected dialog came.
    bool done() const { return m_expected.empty(); }

protected:
    int run(QDialog &dialog) override;

private:
    struct Expected {
        const QMetaObject *type;
        QString text;
        QString screenshot;
        std::function<void(QDialog &)> answer;
    };
    void expect(
        const QMetaObject *type, const QString &text, const QString &screenshot, std::function<void(QDialog &)> answer);

    std::deque<Expected> m_expected;
    std::function<void(QDialog &)> m_every;
    ui::Prompter *m_previous;
    Prompts *m_outer;
    int m_boxes = 0;
};

// The innermost Prompts alive: the one the program's dialogs are answered by.
Prompts &prompts();

// How many pixels of `image` are exactly `colour`.
int countPixels(const QImage &image, const QColor &colour);

// The bytes of the file at `path`, none when it cannot be read.
QByteArray fileBytes(const QString &path);
// Replaces the file at `path` with `bytes`; false when that failed.
bool writeFile(const QString &path, const QByteArray &bytes);

// The whole program, started on a copy of examples/sample.log (and .add) in a scratch
// settings folder. Call prepare() from init() and stop() from cleanup().
class AppFixture {
public:
    AppFixture();
    ~AppFixture();

    // A fresh scratch folder holding sample.log and sample.add, used as the settings folder.
    void prepare();
    // Starts the program on `logbook` (none: the most recent one) and waits until its window is
    // active. `notice` lets the compatibility notice show; the window need not become active then.
    bool start(const QString &logbook = {}, bool notice = false);
    // Closes the window and ends the program as a user would, for tests of the next start.
    bool quit();
    // Throws the program and the scratch folder away.
    void stop();

    QString sample() const { return path(QStringLiteral("sample.log")); }
    QString path(const QString &name) const;
    QString folder() const;
    ui::Application &app() { return *m_app; }
    ui::MainWindow *window();
    ui::AppContext &context();
    logbook::Logbook &logbook();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ui::Application> m_app;
};

// Installs Qt's French translations as the program does, and a prompter that
// fails on any dialog no test expects; for the tests' main.
void installFrench();

} // namespace zorv::uitest

// QTEST_MAIN, with the program's French.
#define ZORV_UI_TEST_MAIN(TestObject) QTEST_MAIN_WRAPPER(TestObject, QTEST_MAIN_SETUP() zorv::uitest::installFrench();)
