#include "common/editlock.h"
#include "logbook/logbookfile.h"
#include "ui/app/application.h"
#include "ui/app/divelistmodel.h"
#include "ui/app/divepageview.h"
#include "ui/app/logbookdocument.h"
#include "ui/app/mainwindow.h"
#include "ui/app/noticedialog.h"
#include "ui/app/splashscreen.h"
#include "ui/app/tipsdialog.h"
#include "ui/common/qtext.h"
#include "uitest.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <memory>

using namespace zorv;
using namespace zorv::ui;
using app::Command;

using uitest::press;
using uitest::typeKey;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_fx.prepare(); }
    void cleanup() { m_fx.stop(); }

    void showsTheSampleLogbookInTheListAndOnThePage()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        DivePageView *page = window->page();
        const logbook::Logbook &lb = m_fx.logbook();
        QVERIFY(lb.diveCount() > 5);
        QAbstractItemModelTester tester(page->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(page->model()->rowCount(), lb.diveCount());
        QCOMPARE(page->valueText(logbook::PageControl::DiveCount), QString::number(lb.diveCount()));
        QVERIFY(page->valueText(logbook::PageControl::File).endsWith(QStringLiteral("sample.log")));
        QCOMPARE(window->windowTitle(), QStringLiteral("sample.log - Zorv"));

        // Choosing a line makes that dive current and fills the page from it.
        QListView *list = page->diveList();
        const QRect third = list->visualRect(page->model()->index(2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(lb.currentDive(), 3);
        QCOMPARE(page->valueText(logbook::PageControl::DiveNumber), QString::number(lb.dive(3)->diveNumber));
        QCOMPARE(page->valueLabel(logbook::PageControl::ComputerName)
                     ->styleSheet()
                     .contains(QStringLiteral("rgb(255, 64, 64)")),
            true);

        QVERIFY(window->action(Command::EditDive)->isEnabled());
        QVERIFY(window->action(Command::TableView)->isEnabled());
        QVERIFY(!window->action(Command::SaveLogbook)->shortcuts().isEmpty());
        QCOMPARE(window->action(Command::DeleteDive)->shortcuts(),
            (QList<QKeySequence> { QKeySequence(Qt::Key_F8), QKeySequence(Qt::SHIFT | Qt::Key_Delete) }));

        // A dive with a computer profile shows "Profil" white on green.
        for (int position = 1; position <= lb.diveCount(); ++position) {
            if (logbook::profileKind(*lb.dive(position)) == logbook::ProfileKind::Computer) {
                page->goToDive(position);
                QCOMPARE(page->valueText(logbook::PageControl::ProfileKind), qstr(StringId::ProfileKindRecorded));
                QVERIFY(page->valueLabel(logbook::PageControl::ProfileKind)
                            ->styleSheet()
                            .contains(QStringLiteral("rgb(0, 64, 0)")));
                break;
            }
        }
        QTest::qWait(50);
        uitest::saveScreenshot(window, QStringLiteral("mainwindow"));
        window->resize(800, 560);
        QTest::qWait(50);
        uitest::saveScreenshot(window, QStringLiteral("mainwindow-small"));
        // A small window keeps the list's width, without a scroll bar sideways.
        QVERIFY(list->width() >= 360);
        QVERIFY(!list->horizontalScrollBar()->isVisible());

        // Switching units relabels every unit on the page.
        QCOMPARE(page->unitLabel(logbook::PageControl::MaxDepthUnit)->text(), QStringLiteral("m"));
        m_fx.context().settings.unitSystem = logbook::UnitSystem::Imperial;
        m_fx.context().applySettingsToLogbook();
        page->applyOptions();
        QCOMPARE(page->unitLabel(logbook::PageControl::MaxDepthUnit)->text(), QStringLiteral("ft"));
        QCOMPARE(page->unitLabel(logbook::PageControl::AirTemperatureUnit)->text(), QStringLiteral("°F"));
        QCOMPARE(page->unitLabel(logbook::PageControl::MeanAirConsumptionUnit)->text(), QStringLiteral("cft/min"));
    }

    void anEmptyLogbookOffersOnlyTheCommandsThatNeedNoDive()
    {
        // The most recent logbook was deleted: an empty logbook, without a message.
        QVERIFY(QFile::remove(m_fx.sample()));
        QVERIFY(uitest::writeFile(
            m_fx.path(QStringLiteral("Zorv.ini")), "[Recent File List]\nFile1=" + m_fx.sample().toUtf8() + "\n"));
        QVERIFY(m_fx.start({}));
        MainWindow *window = m_fx.window();
        QCOMPARE(window->windowTitle(), QStringLiteral("sansnom.log - Zorv"));
        QCOMPARE(m_fx.logbook().diveCount(), 0);
        for (Command c : { Command::NewLogbook, Command::OpenLogbook, Command::SaveLogbook, Command::SaveLogbookAs,
                 Command::ReopenLogbook, Command::InsertDive, Command::Options, Command::Quit, Command::Tips,
                 Command::NoDecoComparison })
            QVERIFY2(window->action(c)->isEnabled(), qPrintable(QString::number(static_cast<int>(c))));
        for (Command c : { Command::EditDive, Command::DeleteDive, Command::TableView, Command::ExternalApplication })
            QVERIFY2(!window->action(c)->isEnabled(), qPrintable(QString::number(static_cast<int>(c))));
        // The accelerator of a disabled command does nothing either.
        typeKey(window, Qt::Key_F8);
        QCOMPARE(m_fx.logbook().diveCount(), 0);
        uitest::saveScreenshot(window, QStringLiteral("mainwindow-empty"));

        // The comparison needs no dive; it opens from the Extras menu.
        uitest::Prompts prompts;
        prompts.dialog([](QDialog &) {}, QStringLiteral("mainwindow-nodeco"));
        window->action(Command::NoDecoComparison)->trigger();
    }

    void askToSaveGuardsTheChangesAndSaveAsNamesTheNewFile()
    {
        QVERIFY(m_fx.start({}));
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        logbook::DiveRecord dive;
        dive.date = 146097 + 9000;
        dive.diveNumber = 1;
        QVERIFY(lb.insertDive(dive));
        QVERIFY(window->page()->valueText(logbook::PageControl::File).endsWith(QStringLiteral(" *")));

        uitest::Prompts prompts;
        prompts.message(QStringLiteral("sansnom.log"), QStringLiteral("Annuler"));
        window->runCommand(Command::NewLogbook);
        QCOMPARE(lb.diveCount(), 1);

        // "Oui" saves first; the logbook has no file yet, so the name is asked for.
        const QString saved = m_fx.path(QStringLiteral("mine"));
        prompts.message(QStringLiteral("sansnom.log"), QStringLiteral("&Oui")).file(saved);
        typeKey(window, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(lb.diveCount(), 0);
        QCOMPARE(toQt(m_fx.context().settings.recentFiles[0]), saved + QStringLiteral(".log"));
        QVERIFY(QFile::exists(saved + QStringLiteral(".log")));
        QCOMPARE(window->recentFileActions().size(), 1);
        QVERIFY(window->recentFileActions().first()->text().endsWith(QStringLiteral("mine.log")));

        // The recent file opens again, with its one dive.
        window->recentFileActions().first()->trigger();
        QCOMPARE(lb.diveCount(), 1);
        QCOMPARE(window->windowTitle(), QStringLiteral("mine.log - Zorv"));

        // Changes thrown away with "Non" are gone after a reopen, which asks first too.
        QVERIFY(lb.insertDive(dive));
        prompts.message(QStringLiteral("mine.log"), QStringLiteral("&Non"));
        typeKey(window, Qt::Key_F5, Qt::AltModifier);
        QCOMPARE(lb.diveCount(), 1);
        QVERIFY(!lb.isModified());
    }

    void importsShowTheDiveForEditingAndInsertItOnlyOnOk()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const int before = lb.diveCount();
        QVERIFY(window->action(Command::ImportGuardian)->isEnabled());
        const QString examples = QStringLiteral(ZORV_SOURCE_DIR "/examples/imports/");

        // Cancel in the edit dialog: nothing enters the logbook.
        uitest::Prompts prompts;
        prompts
            .file(examples + QStringLiteral("guardian-dive.txt"),
                [](QFileDialog &dialog) {
                    QCOMPARE(dialog.nameFilters(), QStringList { QStringLiteral("Export texte Guardian (*.txt)") });
                    uitest::saveScreenshot(&dialog, QStringLiteral("import-guardian-file"));
                })
            .dialog([](QDialog &edit) { press(&edit, QStringLiteral("Annuler")); });
        window->runCommand(Command::ImportGuardian);
        QCOMPARE(lb.diveCount(), before);

        // OK: the dive is inserted in date order and shown.
        prompts.file(examples + QStringLiteral("guardian-dive.txt")).dialog([](QDialog &edit) {
            QCOMPARE(edit.windowTitle(), QStringLiteral("Modifier les données de plongée"));
            uitest::saveScreenshot(&edit, QStringLiteral("import-guardian-edit"));
            press(&edit, QStringLiteral("OK"));
        });
        window->runCommand(Command::ImportGuardian);
        QCOMPARE(lb.diveCount(), before + 1);
        const logbook::DiveRecord *dive = lb.dive(lb.currentDive());
        QVERIFY(dive);
        QCOMPARE(dive->entryTime, 847);
        QCOMPARE(dive->computerType, 179);
        QCOMPARE(window->page()->model()->rowCount(), before + 1);
        QVERIFY(window->page()->valueText(logbook::PageControl::Place).contains(QStringLiteral("Neuch")));
        uitest::saveScreenshot(window, QStringLiteral("import-guardian-page"));

        // The Citizen import, its dive shown in the dialog too.
        prompts.file(examples + QStringLiteral("citizen-dive.wgm"))
            .dialog([](QDialog &edit) { press(&edit, QStringLiteral("OK")); }, QStringLiteral("import-citizen-edit"));
        window->runCommand(Command::ImportCitizen);
        QCOMPARE(lb.diveCount(), before + 2);

        // A missing file and a file of the wrong format are refused with the program's messages.
        QString message;
        prompts.file(m_fx.path(QStringLiteral("none.txt"))).message({}, QStringLiteral("OK"), &message);
        window->runCommand(Command::ImportGuardian);
        QCOMPARE(message, QStringLiteral("Fichier introuvable\nnone.txt"));
        prompts.file(examples + QStringLiteral("guardian-dive.txt")).message({}, QStringLiteral("OK"), &message);
        window->runCommand(Command::ImportCitizen);
        QCOMPARE(message, QStringLiteral("Mauvais format\nguardian-dive.txt"));
        // An empty file, and one with a date no calendar has, are no dive: refused, naming the file.
        QVERIFY(uitest::writeFile(m_fx.path(QStringLiteral("vide.txt")), {}));
        prompts.file(m_fx.path(QStringLiteral("vide.txt"))).message({}, QStringLiteral("OK"), &message);
        window->runCommand(Command::ImportGuardian);
        QCOMPARE(message, QStringLiteral("Mauvais format\nvide.txt"));
        const QString impossible = m_fx.path(QStringLiteral("date.txt"));
        QVERIFY(uitest::writeFile(impossible, "[GENERAL]\nDiveDate=99-99-99999\nDiveTime=10:00\n"));
        prompts.file(impossible).message({}, QStringLiteral("OK"), &message);
        window->runCommand(Command::ImportGuardian);
        QVERIFY2(message.contains(QStringLiteral("DiveDate=99-99-99999")), qPrintable(message));
        QVERIFY(message.endsWith(QStringLiteral("date.txt")));
        QCOMPARE(lb.diveCount(), before + 2);
    }

    void deletingADiveAsksFirst()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const int before = lb.diveCount();
        window->page()->goToDive(2);
        uitest::Prompts prompts;
        QString question;
        prompts.message({}, QStringLiteral("Annuler"), &question);
        typeKey(window, Qt::Key_F8);
        QCOMPARE(question,
            QString(qstr(StringId::AskDeleteDive))
                .replace(QStringLiteral("%d"), QString::number(lb.dive(2)->diveNumber)));
        QCOMPARE(lb.diveCount(), before);
        prompts.message(question, QStringLiteral("OK"));
        typeKey(window, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(lb.diveCount(), before - 1);
        QCOMPARE(window->page()->model()->rowCount(), before - 1);
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("sample.log")));

        // Closing with the change asks once more; "Non" lets the window close without saving.
        prompts.message(QStringLiteral("sample.log"), QStringLiteral("&Non"));
        QVERIFY(window->close());
        logbook::Logbook reread;
        QVERIFY(logbook::LogbookFile::loadFromPath(reread, fromQt(m_fx.sample())).ok());
        QCOMPARE(reread.diveCount(), before);
    }

    void aBrokenFileOnTheCommandLineEndsTheStartUp()
    {
        QVERIFY(uitest::writeFile(m_fx.path(QStringLiteral("broken.log")), "not a logbook at all"));
        uitest::Prompts prompts;
        prompts.message(QStringLiteral("broken.log"));
        QVERIFY(!m_fx.start(m_fx.path(QStringLiteral("broken.log"))));
    }

    // A file that is no logbook is refused by name, and the logbook that was open stays open, unsaved changes and all.
    void aRefusedLogbookKeepsTheOpenOne()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const QString broken = m_fx.path(QStringLiteral("pas-un-carnet.log"));
        QVERIFY(uitest::writeFile(broken, "not a logbook at all"));
        window->page()->goToDive(3);
        const std::vector<std::uint8_t> before = logbook::LogbookFile::logBytes(lb);
        const int count = lb.diveCount();

        uitest::Prompts prompts;
        QString message;
        prompts.file(broken).message({}, QStringLiteral("OK"), &message);
        window->runCommand(Command::OpenLogbook);
        QVERIFY2(message.contains(QStringLiteral("pas-un-carnet.log")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("Mauvais format")), qPrintable(message));
        QCOMPARE(lb.diveCount(), count);
        QVERIFY(logbook::LogbookFile::logBytes(lb) == before);
        QCOMPARE(toQt(lb.path()), m_fx.sample());
        QCOMPARE(window->windowTitle(), QStringLiteral("sample.log - Zorv"));
        QCOMPARE(window->page()->model()->rowCount(), count);
        QCOMPARE(lb.currentDive(), 3);
        uitest::saveScreenshot(window, QStringLiteral("refused-logbook-keeps-open-one"));
    }

    void aDroppedFileIsOpened()
    {
        QVERIFY(m_fx.start({}));
        MainWindow *window = m_fx.window();
        QMimeData data;
        data.setUrls({ QUrl::fromLocalFile(m_fx.sample()) });
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window, &drop);
        QVERIFY(m_fx.logbook().diveCount() > 0);
        QCOMPARE(window->windowTitle(), QStringLiteral("sample.log - Zorv"));
    }

    void theWindowComesBackWhereItWasClosed()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        m_fx.window()->setGeometry(120, 90, 900, 600);
        const QRect closedAt = m_fx.window()->geometry();
        QVERIFY(m_fx.quit());

        QVERIFY(m_fx.start({}));
        QCOMPARE(m_fx.window()->geometry(), closedAt);
        QVERIFY2(m_fx.window()->windowTitle().startsWith(QStringLiteral("sample.log")),
            "the most recent logbook opens without being named");
    }

    void tipsDialogShowsTheNextTipAndRemembersItsPlace()
    {
        QVERIFY(m_fx.start({}));
        AppContext &context = m_fx.context();
        const std::filesystem::path tips = (m_fx.folder() + QStringLiteral("/tips.txt")).toStdString();
        QVERIFY(uitest::writeFile(toQt(tips.string()),
            "; comment\nPremier conseil.\nDeuxième conseil, un peu plus long pour voir le retour à la ligne "
            "dans la fenêtre des astuces.\n"));
        {
            TipsDialog dialog(context, tips, m_fx.window());
            dialog.show();
            QCOMPARE(dialog.tipText(), QStringLiteral("Premier conseil."));
            press(&dialog, QStringLiteral("&Astuce suivante"));
            QVERIFY(dialog.tipText().startsWith(QStringLiteral("Deuxième")));
            uitest::saveScreenshot(&dialog, QStringLiteral("tips"));
            dialog.startUpBox()->setChecked(false);
            press(&dialog, QStringLiteral("Fermer"));
        }
        QCOMPARE(settings::readTipState(context.mainIni).startUp, 1);
        QVERIFY(!TipsDialog::wantedAtStartUp(context));
        TipsDialog again(context, tips, m_fx.window());
        QCOMPARE(again.tipText(), QStringLiteral("Premier conseil.")); // the tips go round

        TipsDialog missing(context, m_fx.path(QStringLiteral("none.txt")).toStdString(), nullptr);
        QCOMPARE(missing.tipText(), qstr(StringId::TipsFileMissing));
    }

    void qtsOwnDialogsMenusAndOurErrorsSpeakFrench()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        // The file dialog: "Ouvrir", "Nom de fichier", "Annuler"; the screenshot fails on English.
        uitest::Prompts prompts;
        prompts.file({}, [](QFileDialog &dialog) {
            uitest::saveScreenshot(&dialog, QStringLiteral("open-dialog"));
            QVERIFY(uitest::findByText(&dialog, QStringLiteral("Annuler"))->isVisible());
        });
        window->runCommand(Command::OpenLogbook);

        // A text field's context menu.
        QLineEdit edit(QStringLiteral("Lac"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList entries;
        for (QAction *action : menu->actions())
            if (!action->isSeparator())
                entries << action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        QVERIFY2(entries.contains(QStringLiteral("Copier")), qPrintable(entries.join(QLatin1Char(','))));
        QVERIFY2(!entries.contains(QStringLiteral("Select All")), qPrintable(entries.join(QLatin1Char(','))));

        // An error names the file, in French.
        QVERIFY(QDir(m_fx.folder()).mkdir(QStringLiteral("dossier.log")));
        QString message;
        prompts.message({}, QStringLiteral("OK"), &message);
        window->document()->openPath(m_fx.path(QStringLiteral("dossier.log")));
        QCOMPARE(message, QStringLiteral("Impossible de lire « dossier.log » : ce n'est pas un fichier."));
    }

    void theViewMenuMarksFollowTheBarsFromTheStart()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        QAction *toolBar = window->action(Command::ToolBar);
        QAction *statusBar = window->action(Command::StatusBar);
        QVERIFY(window->toolBar()->isVisible());
        QVERIFY(window->statusBar()->isVisible());
        QVERIFY(toolBar->isChecked());
        QVERIFY(statusBar->isChecked());
        // The first click hides the bar.
        toolBar->trigger();
        QVERIFY(!window->toolBar()->isVisible());
        QVERIFY(!toolBar->isChecked());
        statusBar->trigger();
        QVERIFY(!window->statusBar()->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        uitest::saveScreenshot(window, QStringLiteral("mainwindow-no-bars"));
        QVERIFY(m_fx.quit());

        // Hidden bars stay hidden, and unmarked, at the next start.
        QVERIFY(m_fx.start({}));
        QVERIFY(!m_fx.window()->toolBar()->isVisible());
        QVERIFY(!m_fx.window()->action(Command::ToolBar)->isChecked());
        QVERIFY(!m_fx.window()->action(Command::StatusBar)->isChecked());
    }

    void eachKeyIsShownOnceAndTheToolTipNamesTheMenuItem()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        m_fx.context().settings.externalAppMenuText = "&Programme externe\tCtrl+F5";
        window->updateCommandStates();
        for (Command c : { Command::NewLogbook, Command::OpenLogbook, Command::SaveLogbook, Command::EditDive,
                 Command::DeleteDive, Command::ProfileWindow, Command::TableView, Command::ExternalApplication,
                 Command::ReopenLogbook, Command::About }) {
            QAction *action = window->action(c);
            QVERIFY2(!action->text().contains(QLatin1Char('\t')), qPrintable(action->text()));
            QCOMPARE(action->toolTip(), QString(action->text()).remove(QLatin1Char('&')));
        }
        QAction *external = window->action(Command::ExternalApplication);
        QCOMPARE(external->text(), QStringLiteral("&Programme externe"));
        QCOMPARE(external->shortcut().toString(QKeySequence::NativeText), QStringLiteral("Ctrl+F5"));
        QVERIFY(window->toolBar()->actions().contains(window->action(Command::About)));
    }

    void aDoubleClickInTheTableOnlyMovesThePage()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        window->page()->goToDive(1);
        bool closed = false;
        // Whatever would open after the table is not expected, so it fails the test.
        uitest::Prompts prompts;
        prompts.dialog([&closed](QDialog &modal) {
            auto *table = uitest::child<QTableView>(&modal, "diveTable");
            const QPoint row4 = table->visualRect(table->model()->index(3, 2)).center();
            QTest::mousePress(table->viewport(), Qt::LeftButton, {}, row4);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row4);
            closed = !modal.isVisible();
        });
        window->runCommand(Command::TableView);
        QVERIFY(closed);
        QCOMPARE(m_fx.logbook().currentDive(), 4);
        QTest::qWait(50);
    }

    void theNoticeAtStartUpTheAboutBoxAndCompatibility()
    {
        uitest::Prompts prompts;
        prompts.dialog<NoticeDialog>(
            [](NoticeDialog &notice) {
                QCOMPARE(notice.windowTitle(), QStringLiteral("Attention"));
                QVERIFY(notice.startUpBox()->isChecked());
                notice.startUpBox()->setChecked(false);
                press(&notice, QStringLiteral("OK"));
            },
            QStringLiteral("notice"));
        m_fx.start(m_fx.sample(), true); // the notice may hold the focus: the window need not be active
        QTRY_VERIFY(prompts.done());
        QTRY_VERIFY(!m_fx.context().settings.compatibilityNotice);

        MainWindow *window = m_fx.window();
        QString about;
        prompts.message({}, QStringLiteral("OK"), &about);
        window->action(Command::About)->trigger();
        QVERIFY2(about.contains(QCoreApplication::applicationVersion()), qPrintable(about));
        QVERIFY(about.contains(QStringLiteral("Licence")));
        QVERIFY(about.contains(QStringLiteral(".log")));

        // "Compatibilité" in the "?" menu shows the notice again; F1 belongs to the certificates alone.
        QVERIFY(window->action(Command::Compatibility));
        prompts.dialog<NoticeDialog>([](NoticeDialog &notice) { press(&notice, QStringLiteral("OK")); });
        window->action(Command::Compatibility)->trigger();
        for (QAction *action : window->findChildren<QAction *>()) {
            if (action != window->action(Command::Certificates))
                QVERIFY2(!action->shortcuts().contains(QKeySequence(Qt::Key_F1)), qPrintable(action->text()));
        }
    }

    void splashGoesAtTheFirstKey()
    {
        QPointer<SplashScreen> splash = new SplashScreen;
        splash->showFor(1500);
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        uitest::saveScreenshot(splash, QStringLiteral("splash"));
        QTest::keyClick(splash, Qt::Key_Space);
        QTRY_VERIFY(splash.isNull());
    }

    // A logbook another running program edits opens read-only unless the user takes
    // it over, and a save never silently replaces a file that changed on disk.
    void aLogbookEditedElsewhereIsNotOverwritten()
    {
        const common::EditLock other = common::EditLock::acquire(fromQt(m_fx.sample()));
        QCOMPARE(other.state(), common::EditLock::State::Mine);
        uitest::Prompts prompts;
        prompts.message(QStringLiteral("« sample.log » est déjà ouvert"), QStringLiteral("Lecture seule"));
        QVERIFY(m_fx.start(m_fx.sample()));
        LogbookDocument *document = m_fx.window()->document();
        QVERIFY(document->isReadOnly());
        logbook::Logbook &lb = m_fx.logbook();
        const QByteArray before = uitest::fileBytes(m_fx.sample());
        lb.deleteDive(1);
        prompts.message(QStringLiteral("lecture seule"));
        QVERIFY(!document->save());

        // Reopened with the lock taken over, then changed on disk behind its back.
        prompts.message(QStringLiteral("sample.log"), QStringLiteral("&Non"))
            .message(QStringLiteral("déjà ouvert"), QStringLiteral("Modifier quand même"));
        QVERIFY(document->openPath(m_fx.sample()));
        QVERIFY(!document->isReadOnly());
        logbook::Logbook other2;
        QVERIFY(logbook::LogbookFile::loadFromPath(other2, fromQt(m_fx.sample())));
        other2.deleteDive(2);
        QVERIFY(logbook::LogbookFile::save(other2, fromQt(m_fx.sample())));
        const QByteArray theirs = uitest::fileBytes(m_fx.sample());
        QVERIFY(theirs != before);
        lb.deleteDive(1);
        prompts.message(QStringLiteral("modifié par un autre programme"), QStringLiteral("Annuler"));
        QVERIFY(!document->save());
        QCOMPARE(uitest::fileBytes(m_fx.sample()), theirs);
    }

private:
    uitest::AppFixture m_fx;
};

ZORV_UI_TEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
