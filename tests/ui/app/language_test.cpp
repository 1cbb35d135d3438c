// The program under an English desktop: its windows, its dialogs and Qt's own texts speak English.
#include "common/strings.h"
#include "common/translation.h"
#include "ui/app/divepageview.h"
#include "ui/app/mainwindow.h"
#include "ui/app/tipsdialog.h"
#include "ui/common/messages.h"
#include "ui/common/qtext.h"
#include "ui/tools/diveeditdialog.h"
#include "uitest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>

using namespace zorv;
using namespace zorv::ui;

namespace {

void save(QWidget *widget, const QString &name)
{
    QDir().mkpath(QStringLiteral(ZORV_SCREENSHOT_DIR));
    widget->window()->grab().save(QStringLiteral(ZORV_SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

QStringList menuTitles(QMenuBar *bar)
{
    QStringList titles;
    for (QAction *action : bar->actions())
        titles << action->text();
    return titles;
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The catalogue of the build tree, and English as an English desktop asks for it.
        qputenv("LANGUAGE", "en");
        common::setUpTranslations({}, ZORV_LOCALE_DIR);
        QCOMPARE(QString::fromStdString(common::textLanguage()), QStringLiteral("en"));
    }
    void cleanup() { m_fx.stop(); }

    void mainWindowMenusAndPageAreEnglish()
    {
        m_fx.prepare();
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        const QStringList titles = menuTitles(window->menuBar());
        for (const char *title : { "&File", "&Edit", "&View", "&Statistics", "T&ools" })
            QVERIFY2(titles.contains(QString::fromLatin1(title)), qPrintable(titles.join(QLatin1Char('|'))));
        QCOMPARE(window->action(app::Command::EditDive)->text().section(QLatin1Char('\t'), 0, 0),
            QStringLiteral("&Edit dive"));
        // The page's labels and values; the numbers keep their formats.
        DivePageView *page = window->page();
        const QStringList shown = uitest::visibleTexts(window);
        QVERIFY(shown.contains(QStringLiteral("Dive number:")));
        QVERIFY(shown.contains(QStringLiteral("Total dive time:")));
        QVERIFY(!shown.contains(QStringLiteral("N° de plongée:")));
        QVERIFY(page->valueText(logbook::PageControl::Date).contains(QLatin1Char('.')));
        save(window, QStringLiteral("language-en-mainwindow"));
    }

    void dialogsAreEnglish()
    {
        m_fx.prepare();
        QVERIFY(m_fx.start(m_fx.sample()));
        const std::filesystem::path file = (m_fx.folder() + QStringLiteral("/tips.txt")).toStdString();
        QFile text(toQt(file.string()));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("Tips are the diver's own text and stay as written.\n");
        text.close();
        TipsDialog tips(m_fx.context(), file, m_fx.window());
        tips.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tips));
        QCOMPARE(tips.windowTitle(), QStringLiteral("Tips"));
        QVERIFY(uitest::visibleTexts(&tips).contains(QStringLiteral("Show tips at start-up")));
        save(&tips, QStringLiteral("language-en-tips"));
        // Qt's own dialogs stay in Qt's English: no French translator was installed.
        QFileDialog files(m_fx.window());
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.show();
        QVERIFY(QTest::qWaitForWindowExposed(&files));
        QVERIFY(uitest::visibleTexts(&files).contains(QStringLiteral("Cancel")));
        save(&files, QStringLiteral("language-en-filedialog"));
    }

    void editDialogIsEnglish()
    {
        m_fx.prepare();
        QVERIFY(m_fx.start(m_fx.sample()));
        DiveEditDialog dialog(m_fx.context(), m_fx.window());
        dialog.setRecord(*m_fx.logbook().dive(1), 1);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QStringList shown = uitest::visibleTexts(&dialog);
        for (const char *english : { "Measurements", "Fresh water", "Leisure dive", "Free data" })
            QVERIFY2(shown.contains(QString::fromLatin1(english)), english);
        for (const char *french : { "Mesures", "Lieu:", "Annuler" })
            QVERIFY2(!shown.contains(QString::fromUtf8(french)), french);
        // The manual-entry computer keeps its stored name in Ctyp.ini but shows in English.
        const auto *computers = dialog.findChild<QComboBox *>(QStringLiteral("airComputers"));
        QVERIFY(computers);
        QVERIFY(computers->findText(QStringLiteral("Handeintrag"), Qt::MatchStartsWith) < 0);
        save(&dialog, QStringLiteral("language-en-editdialog"));
    }

private:
    uitest::AppFixture m_fx;
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
