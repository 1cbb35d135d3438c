#include "uitest.h"

#include "ui/app/application.h"
#include "ui/app/mainwindow.h"
#include "ui/common/messages.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <memory>

namespace zorv::uitest {

namespace {

    Prompts *innermost = nullptr;
    // The test main's own, which expects nothing.
    const Prompts *refusing = nullptr;

    QString withoutMnemonic(QString text)
    {
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
        text.remove(QLatin1Char('&'));
        text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
        return text;
    }

    QString plainLabelText(const QLabel *label)
    {
        if (Qt::mightBeRichText(label->text()) && label->textFormat() != Qt::PlainText) {
            QTextDocument document;
            document.setHtml(label->text());
            return document.toPlainText();
        }
        return label->text();
    }

    bool shown(const QWidget *widget, const QWidget *window)
    {
        return widget->isVisibleTo(window) && widget->width() > 0 && widget->height() > 0;
    }

    // Room a window manager's title bar leaves for the title: icon and three buttons.
    constexpr int kTitleBarControls = 110;

} // namespace

QStringList visibleTexts(QWidget *window)
{
    QStringList texts { window->windowTitle() };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!shown(w, window))
            continue;
        if (auto *label = qobject_cast<QLabel *>(w))
            texts << plainLabelText(label);
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            texts << withoutMnemonic(button->text()) << button->toolTip();
        else if (auto *group = qobject_cast<QGroupBox *>(w))
            texts << withoutMnemonic(group->title());
        else if (auto *tabs = qobject_cast<QTabBar *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << withoutMnemonic(tabs->tabText(i));
        else if (auto *header = qobject_cast<QHeaderView *>(w); header && header->model())
            for (int i = 0; i < header->count(); ++i)
                texts << header->model()->headerData(i, header->orientation()).toString();
        else if (auto *edit = qobject_cast<QLineEdit *>(w))
            texts << edit->placeholderText();
    }
    for (QAction *action : window->findChildren<QAction *>())
        if (action->isVisible())
            texts << withoutMnemonic(action->text()) << action->toolTip();
    texts.removeAll(QString());
    return texts;
}

QStringList englishTexts(QWidget *window)
{
    static const QRegularExpression english(
        QStringLiteral(
            "\\b(Yes|No|Cancel|Open|Save|Save As|File name|Files of type|Look in|Copy|Select All|Paste|Cut|Undo|Redo|"
            "Delete|Cannot|File not found|No such file or directory|Permission denied|Basic colors|Custom colors|"
            "Pick Screen Color|Add to Custom Colors|Close|Apply|Reset|Help|Abort|Retry|Ignore|Discard|Directory|"
            "Detail View|List View|Back|Forward|Parent Directory|Create New Folder|Computer|Size|Date Modified)\\b"),
        QRegularExpression::UseUnicodePropertiesOption);
    // The program's own labels that read as English words: the fill dialog's
    // "&Reset" button has always been called so.
    static const QStringList ownTexts { QStringLiteral("Reset") };
    QStringList found;
    for (const QString &text : visibleTexts(window))
        if (english.match(text).hasMatch() && !ownTexts.contains(text))
            found << text;
    return found;
}

QStringList cutTexts(QWidget *window)
{
    QStringList cut;
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    if (!window->windowTitle().isEmpty()
        && QFontMetrics(titleFont).horizontalAdvance(window->windowTitle()) + kTitleBarControls > window->width())
        cut << QStringLiteral("title: ") + window->windowTitle();
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!shown(w, window))
            continue;
        const QFontMetrics metrics = w->fontMetrics();
        const QString name
            = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
        if (auto *label = qobject_cast<QLabel *>(w)) {
            // Value fields that may shrink (their policy says so) are left to their tool tips.
            if (label->wordWrap() || label->text().isEmpty() || Qt::mightBeRichText(label->text())
                || label->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored)
                continue;
            const QRect room
                = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
            const QSize text = metrics.size(Qt::TextShowMnemonic, label->text());
            if (text.width() > room.width() + 1 || metrics.height() > room.height() + 1)
                cut << name + QStringLiteral(": ") + label->text();
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (button->text().isEmpty())
                continue;
            const int needed = qobject_cast<QPushButton *>(w)
                ? metrics.horizontalAdvance(withoutMnemonic(button->text())) + 6
                : button->sizeHint().width() - 2;
            if (needed > button->width() || metrics.height() > button->height())
                cut << name + QStringLiteral(": ") + button->text();
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            if (combo->height() < combo->minimumSizeHint().height())
                cut << name + QStringLiteral(" (too low): ") + combo->currentText();
        } else if (auto *edit = qobject_cast<QLineEdit *>(w);
                   edit && !qobject_cast<QComboBox *>(w->parent()) && !qobject_cast<QAbstractSpinBox *>(w->parent())) {
            if (edit->height() < edit->minimumSizeHint().height())
                cut << name + QStringLiteral(" (too low): ") + edit->text();
            else if (edit->isReadOnly() && metrics.horizontalAdvance(edit->text()) + 8 > edit->width())
                cut << name + QStringLiteral(": ") + edit->text();
        }
    }
    return cut;
}

void installFrench()
{
    // Answers every dialog no test expected: the test fails instead of waiting for a click.
    static Prompts none;
    refusing = &none;
    QVERIFY2(ui::installFrenchTranslations(*QCoreApplication::instance()),
        "Qt's French translations are missing: scripts/install-deps installs them");
}

void saveScreenshot(QWidget *widget, const QString &name)
{
    // A run in a translated language keeps its pictures beside the French ones and may show English.
    const bool translated = qEnvironmentVariableIsSet("ZORV_TEST_TRANSLATED");
    QDir().mkpath(QStringLiteral(ZORV_SCREENSHOT_DIR));
    QWidget *window = widget->window();
    window->grab().save(QStringLiteral(ZORV_SCREENSHOT_DIR) + QLatin1Char('/') + name
        + (translated ? QStringLiteral("-en.png") : QStringLiteral(".png")));
    const QStringList english = translated ? QStringList() : englishTexts(window);
    QVERIFY2(
        english.isEmpty(), qPrintable(name + QStringLiteral(" shows English: ") + english.join(QStringLiteral(" | "))));
    const QStringList cut = cutTexts(window);
    QVERIFY2(cut.isEmpty(), qPrintable(name + QStringLiteral(" cuts: ") + cut.join(QStringLiteral(" | "))));
}

void press(QWidget *modal, const QString &text)
{
    const auto plain = [](QString t) { return t.remove(QLatin1Char('&')); };
    for (QAbstractButton *button : modal->findChildren<QAbstractButton *>())
        if (plain(button->text()) == plain(text) && button->isVisible()) {
            button->click();
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no button ") + text));
}

Prompts &prompts()
{
    return *innermost;
}

Prompts::Prompts()
    : m_previous(ui::setPrompter(this))
    , m_outer(innermost)
{
    innermost = this;
}

Prompts::~Prompts()
{
    ui::setPrompter(m_previous);
    innermost = m_outer;
    if (!m_expected.empty() && !QTest::currentTestFailed()) {
        const Expected &first = m_expected.front();
        QTest::qFail(qPrintable(QStringLiteral("expected dialog never came: %1 %2")
                                    .arg(QLatin1String(first.type->className()), first.text)),
            __FILE__, __LINE__);
    }
}

void Prompts::expect(
    const QMetaObject *type, const QString &text, const QString &screenshot, std::function<void(QDialog &)> answer)
{
    if (this == refusing)
        qFatal("a test expects a dialog without a uitest::Prompts of its own");
    m_expected.push_back({ type, text, screenshot, std::move(answer) });
}

Prompts &Prompts::message(const QString &fragment, const QString &button, QString *seen)
{
    expect(&QMessageBox::staticMetaObject, fragment, {}, [button, seen](QDialog &box) {
        if (seen)
            *seen = static_cast<QMessageBox &>(box).text();
        press(&box, button);
    });
    return *this;
}

Prompts &Prompts::answer(const QString &button, QString *seen, const std::function<void(QWidget *)> &before)
{
    expect(&QDialog::staticMetaObject, {}, {}, [button, seen, before](QDialog &dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(&dialog); box && seen)
            *seen = box->text();
        if (before)
            before(&dialog);
        press(&dialog, button);
    });
    return *this;
}

Prompts &Prompts::modal(const std::function<void(QDialog *)> &action)
{
    expect(&QDialog::staticMetaObject, {}, {}, [action](QDialog &dialog) { action(&dialog); });
    return *this;
}

Prompts &Prompts::file(const QString &path, const std::function<void(QFileDialog &)> &check)
{
    expect(&QFileDialog::staticMetaObject, {}, {}, [path, check](QDialog &d) {
        auto &dialog = static_cast<QFileDialog &>(d);
        if (check)
            check(dialog);
        if (path.isEmpty()) {
            dialog.reject();
            return;
        }
        // Typed as a user would: selectFile() races with the dialog's own directory loading.
        auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(path);
        static_cast<QDialog &>(dialog).accept();
    });
    return *this;
}

int Prompts::run(QDialog &dialog)
{
    auto *box = qobject_cast<QMessageBox *>(&dialog);
    const QString shown = dialog.windowTitle() + QStringLiteral(": ") + (box ? box->text() : QString());
    if (m_expected.empty() && !m_every) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected dialog ") + shown), __FILE__, __LINE__);
        return QDialog::Rejected;
    }
    Expected next { &QDialog::staticMetaObject, {}, {}, m_every };
    if (!m_expected.empty()) {
        next = m_expected.front();
        m_expected.pop_front();
    }
    if (!dialog.inherits(next.type->className()) || (box && !box->text().contains(next.text))) {
        QTest::qFail(qPrintable(QStringLiteral("expected %1 \"%2\", came %3 %4")
                                    .arg(QLatin1String(next.type->className()), next.text,
                                        QLatin1String(dialog.metaObject()->className()), shown)),
            __FILE__, __LINE__);
        return QDialog::Rejected;
    }
    // As exec() would: modal, with no result yet.
    const bool wasModal = dialog.testAttribute(Qt::WA_ShowModal);
    if (dialog.windowModality() == Qt::NonModal)
        dialog.setAttribute(Qt::WA_ShowModal, true);
    dialog.setResult(0);
    dialog.show();
    if (!next.screenshot.isEmpty())
        saveScreenshot(&dialog, next.screenshot);
    else if (box)
        saveScreenshot(&dialog,
            QStringLiteral("message-%1-%2-%3")
                .arg(QCoreApplication::applicationName(),
                    QLatin1String(QTest::currentTestFunction())
                        + (QTest::currentDataTag() ? QLatin1Char('-') + QLatin1String(QTest::currentDataTag())
                                                   : QString()))
                .arg(++m_boxes));
    next.answer(dialog);
    // Left open: closed by its title bar, or failing that (a message box without an escape button) rejected.
    if (dialog.isVisible())
        dialog.close();
    if (dialog.isVisible())
        dialog.reject();
    dialog.setAttribute(Qt::WA_ShowModal, wasModal);
    return dialog.result();
}

void typeKey(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, key, modifiers);
}

void setField(QWidget *dialog, const char *name, const QString &text)
{
    auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(name));
    QVERIFY2(edit, name);
    edit->setText(text);
}

void click(QAbstractButton *button)
{
    const bool indicator = qobject_cast<QRadioButton *>(button) || qobject_cast<QCheckBox *>(button);
    QTest::mouseClick(
        button, Qt::LeftButton, {}, indicator ? QPoint(7, button->height() / 2) : button->rect().center());
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int countPixels(const QImage &image, const QColor &colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour ? 1 : 0;
    return n;
}

AppFixture::AppFixture() = default;

AppFixture::~AppFixture() = default;

void AppFixture::prepare()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("ZORV_CONFIG_DIR", m_dir->path().toUtf8());
    for (const char *name : { "sample.log", "sample.add" })
        QVERIFY(QFile::copy(
            QStringLiteral(ZORV_SOURCE_DIR "/examples/") + QLatin1String(name), m_dir->filePath(QLatin1String(name))));
}

bool AppFixture::start(const QString &logbook, bool notice)
{
    m_app = std::make_unique<ui::Application>();
    QStringList arguments { QStringLiteral("--no-splash") };
    if (!logbook.isEmpty())
        arguments << logbook;
    ui::StartOptions options = ui::parseArguments(arguments, m_dir->path().toStdString());
    options.notice = notice;
    if (!m_app->start(options))
        return false;
    if (notice)
        return true;
    m_app->mainWindow()->activateWindow();
    return QTest::qWaitForWindowActive(m_app->mainWindow());
}

bool AppFixture::quit()
{
    const bool closed = m_app->mainWindow()->close();
    const bool finished = m_app->finish() == 0;
    m_app.reset();
    return closed && finished;
}

void AppFixture::stop()
{
    if (m_app && m_app->mainWindow())
        m_app->mainWindow()->hide();
    m_app.reset();
    m_dir.reset();
}

QString AppFixture::path(const QString &name) const
{
    return m_dir->filePath(name);
}

QString AppFixture::folder() const
{
    return m_dir->path();
}

ui::MainWindow *AppFixture::window()
{
    return m_app->mainWindow();
}

ui::AppContext &AppFixture::context()
{
    return m_app->context();
}

logbook::Logbook &AppFixture::logbook()
{
    return m_app->context().logbook;
}

} // namespace zorv::uitest
