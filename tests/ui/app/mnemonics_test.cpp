// Walks the menus and every window the menu commands open, and fails where two texts of one menu or
// one window claim the same Alt key: Qt then only cycles focus between them and never acts.
#include "app/commandstate.h"
#include "app/mnemonics.h"
#include "common/translation.h"
#include "logbook/logbook.h"
#include "ui/app/divepageview.h"
#include "ui/app/logbookdocument.h"
#include "ui/app/mainwindow.h"
#include "ui/common/messages.h"
#include "ui/stats/statisticswindow.h"
#include "uitest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <set>

using namespace zorv;
using namespace zorv::ui;
using app::Command;

namespace {

QString describeClashes(const QString &where, const QStringList &texts)
{
    std::vector<std::string> plain;
    for (const QString &text : texts)
        plain.push_back(text.toStdString());
    QStringList lines;
    for (const app::MnemonicClash &clash : app::mnemonicClashes(plain)) {
        QStringList names;
        for (const std::string &text : clash.texts)
            names << QString::fromStdString(text);
        lines << QStringLiteral("%1: Alt+%2 for %3")
                     .arg(where, QString(QChar(static_cast<char16_t>(clash.key))), names.join(QStringLiteral(", ")));
    }
    return lines.join(QLatin1Char('\n'));
}

// The texts of the window's shown controls that can carry a mnemonic.
QStringList mnemonicTexts(QWidget *window)
{
    QStringList texts;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || w->window() != window)
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            texts << button->text();
        else if (auto *label = qobject_cast<QLabel *>(w); label && label->buddy())
            texts << label->text();
        else if (auto *group = qobject_cast<QGroupBox *>(w); group && group->isCheckable())
            texts << group->title();
        else if (auto *tabs = qobject_cast<QTabBar *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
    }
    if (auto *main = qobject_cast<QMainWindow *>(window); main && main->menuWidget())
        for (QAction *action : main->menuBar()->actions())
            texts << action->text();
    return texts;
}

// Every page of every tab widget is looked at, since a hidden page's keys do not count.
QString windowClashes(QWidget *window)
{
    const QString where = window->windowTitle().isEmpty() ? QString::fromLatin1(window->metaObject()->className())
                                                          : window->windowTitle();
    QStringList found;
    const QList<QTabWidget *> tabs = window->findChildren<QTabWidget *>();
    if (tabs.isEmpty())
        found << describeClashes(where, mnemonicTexts(window));
    for (QTabWidget *tab : tabs)
        for (int i = 0; i < tab->count(); ++i) {
            tab->setCurrentIndex(i);
            found << describeClashes(where + QStringLiteral(" / ") + tab->tabText(i), mnemonicTexts(window));
        }
    found.removeAll(QString());
    return found.join(QLatin1Char('\n'));
}

bool ownDialog(QWidget *window)
{
    // Qt's file and print dialogs bring their own translated texts.
    return !qobject_cast<QFileDialog *>(window) && !window->inherits("QPrintDialog")
        && !window->inherits("QPageSetupDialog") && !window->inherits("QPrintPreviewDialog");
}

} // namespace

class MnemonicsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Run a second time under LANGUAGE=en (see CMakeLists.txt) to walk the English texts.
        if (qEnvironmentVariableIsSet("ZORV_TEST_TRANSLATED"))
            common::setUpTranslations({}, ZORV_LOCALE_DIR);
    }
    void init() { m_fx.prepare(); }
    void cleanup() { m_fx.stop(); }

    void noMenuGivesOneAltKeyToTwoItems()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        QStringList found { describeClashes(QStringLiteral("barre de menus"), mnemonicTexts(window)) };
        for (QMenu *menu : window->findChildren<QMenu *>()) {
            QStringList texts;
            for (QAction *action : menu->actions())
                if (!action->isSeparator() && action->isVisible())
                    texts << action->text();
            found << describeClashes(menu->title(), texts);
        }
        // An Alt+letter shortcut (Alt+X quits, Alt+T shows the table) would win over a menu title's key.
        for (QAction *title : window->menuBar()->actions())
            for (QAction *action : window->findChildren<QAction *>())
                for (const QKeySequence &key : action->shortcuts()) {
                    const auto mnemonic = app::mnemonicOf(title->text().toStdString());
                    const QKeyCombination combination = key[0];
                    if (mnemonic && combination.keyboardModifiers() == Qt::AltModifier
                        && combination.key() == Qt::Key_A + static_cast<int>(*mnemonic - U'a'))
                        found << QStringLiteral("%1: Alt key of %2").arg(title->text(), action->text());
                }
        found.removeAll(QString());
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    void noWindowOfAMenuCommandGivesOneAltKeyToTwoControls()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        QStringList found;
        QStringList walked;
        // Each modal window is looked at and closed.
        uitest::Prompts prompts;
        prompts.everyDialog([&](QDialog &modal) {
            if (ownDialog(&modal)) {
                walked << modal.windowTitle();
                found << windowClashes(&modal);
            }
        });
        const Command commands[] = { Command::CreateSelection, Command::ExportCsv, Command::ReadComputer,
            Command::EditDive, Command::InsertDive, Command::DeleteDive, Command::RenumberAll, Command::RenumberPart,
            Command::TimeZone, Command::FillDives, Command::SplitDive, Command::ProfileWindow, Command::TableView,
            Command::Options, Command::ComputerTypes, Command::SiteStatistics, Command::PartnerStatistics,
            Command::MonthlyStatistics, Command::SearchDive, Command::AdvancedSearch, Command::SearchReplace,
            Command::Certificates, Command::Equipment, Command::Addresses, Command::Trips, Command::InstructorRecord,
            Command::Forecast, Command::Planner, Command::NoDecoComparison, Command::About, Command::KnownComputers,
            Command::Compatibility, Command::Tips, Command::ManualData };
        logbook::Logbook &lb = m_fx.logbook();
        for (const Command command : commands) {
            if (command == Command::ManualData) {
                for (int position = 1; position <= lb.diveCount(); ++position)
                    if (logbook::profileKind(*lb.dive(position)) != logbook::ProfileKind::Computer
                        && lb.dive(position)->maxDepth != logbook::kMissing)
                        window->page()->goToDive(position);
            } else if (command == Command::SplitDive) {
                for (int position = lb.diveCount(); position >= 1; --position)
                    if (logbook::profileKind(*lb.dive(position)) == logbook::ProfileKind::Computer)
                        window->page()->goToDive(position);
            }
            window->updateCommandStates();
            QVERIFY2(window->action(command)->isEnabled(), qPrintable(window->action(command)->text()));
            const QWidgetList before = QApplication::topLevelWidgets();
            window->runCommand(command);
            // Modeless windows stay open after the command: look at them, then close them.
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (before.contains(top) || !top->isVisible() || top->isModal() || qobject_cast<QMenu *>(top))
                    continue;
                walked << top->windowTitle();
                found << windowClashes(top);
                top->close();
            }
        }
        // The statistics chooser waits in its own loop with its chart beside it; it is looked at directly.
        StatisticsWindow chooser(m_fx.context());
        chooser.show();
        walked << chooser.windowTitle();
        found << windowClashes(&chooser);
        for (int k = 0; k < stats::kPageCount; ++k) {
            chooser.selectPage(static_cast<stats::PageKind>(k));
            walked << chooser.currentPage()->windowTitle();
            found << windowClashes(chooser.currentPage());
        }
        found.removeAll(QString());
        QVERIFY2(walked.size() >= 30, qPrintable(walked.join(QStringLiteral(" | "))));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    void questionBoxesGiveEachButtonItsKey()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        QStringList found;
        uitest::Prompts prompts;
        prompts.dialog([&](QDialog &box) {
            found << mnemonicTexts(&box);
            uitest::press(&box, QStringLiteral("Annuler"));
        });
        QCOMPARE(askYesNoCancel(m_fx.window(), QStringLiteral("Enregistrer ?")), Answer::Cancel);
        found.sort();
        QCOMPARE(found, (QStringList { QStringLiteral("&Annuler"), QStringLiteral("&Non"), QStringLiteral("&Oui") }));
    }

private:
    uitest::AppFixture m_fx;
};

ZORV_UI_TEST_MAIN(MnemonicsTest)
#include "mnemonics_test.moc"
