#include "logbook/logbookfile.h"
#include "logbook/oemcharmap.h"
#include "logbook/profileencoder.h"
#include "ui/app/application.h"
#include "ui/app/divelistmodel.h"
#include "ui/app/divepageview.h"
#include "ui/app/logbookdocument.h"
#include "ui/app/mainwindow.h"
#include "ui/common/qtext.h"
#include "ui/tools/criteriadialog.h"
#include "ui/tools/splitdialog.h"
#include "ui/tools/toolcommands.h"
#include "ui/tools/tooldialogs.h"
#include "uitest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <QToolBar>
#include <functional>
#include <memory>

using namespace zorv;
using namespace zorv::ui;
using app::Command;

using uitest::press;
using uitest::setField;

namespace {

// Lets `fill` work on the next dialog, saves its picture, then presses `button`.
uitest::Prompts &onDialog(
    const QString &screenshot, const std::function<void(QWidget *)> &fill, const QString &button = QStringLiteral("OK"))
{
    return uitest::prompts().modal([screenshot, fill, button](QWidget *modal) {
        if (fill)
            fill(modal);
        if (!screenshot.isEmpty())
            uitest::saveScreenshot(modal, screenshot);
        if (!button.isEmpty())
            press(modal, button);
    });
}

QString placeOf(const logbook::Logbook &lb, int position)
{
    return toQt(logbook::storedToDisplay(logbook::fixedText(lb.dive(position)->place)));
}

} // namespace

class ToolCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_fx.prepare();
        QVERIFY(m_fx.start(m_fx.sample()));
    }

    void cleanup() { m_fx.stop(); }

    void theMenusCarryEveryToolWithItsKeys()
    {
        MainWindow *window = m_fx.window();
        QStringList menus;
        for (QAction *action : window->menuBar()->actions())
            menus << action->text();
        QVERIFY(menus.contains(QStringLiteral("&Chercher")));
        QCOMPARE(window->action(Command::SearchDive)->shortcuts().value(0), QKeySequence(Qt::CTRL | Qt::Key_F));
        QCOMPARE(window->action(Command::CopyDive)->shortcuts(),
            QList<QKeySequence>({ QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert) }));
        QCOMPARE(window->action(Command::PasteDive)->shortcuts(),
            QList<QKeySequence>({ QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert) }));
        // Nothing copied and nothing searched yet.
        for (Command c : { Command::PasteDive, Command::MultiPaste, Command::MultiClear, Command::SearchForward,
                 Command::SearchBackward })
            QVERIFY2(!window->action(c)->isEnabled(), qPrintable(QString::number(static_cast<int>(c))));
        const QList<QAction *> bar = window->toolBar()->actions();
        QVERIFY(bar.contains(window->action(Command::SearchBackward)));
        QVERIFY(bar.indexOf(window->action(Command::PasteDive)) == bar.indexOf(window->action(Command::CopyDive)) + 1);
        // Merge is off on the last dive: there is nothing to merge it with.
        const logbook::Logbook &lb = m_fx.logbook();
        window->page()->goToDive(lb.diveCount());
        window->updateCommandStates();
        QVERIFY(!window->action(Command::MergeDives)->isEnabled());
        uitest::saveScreenshot(window, QStringLiteral("tools-mainwindow"));
    }

    void renumberingAndTheTimeZoneAskFirstAndUndoAsOneStep()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const auto original = logbook::LogbookFile::logBytes(lb);

        onDialog(QStringLiteral("tool-renumber-all"), [](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Numéroter les plongées"));
            setField(dialog, "number0", QStringLiteral("100"));
        }).message(QStringLiteral("Numéroter les plongées à partir du n°100 ?"));
        window->runCommand(Command::RenumberAll);
        QCOMPARE(lb.dive(1)->diveNumber, 100);
        QCOMPARE(lb.dive(lb.diveCount())->diveNumber, 99 + lb.diveCount());
        QCOMPARE(window->action(Command::Undo)->text(), QStringLiteral("&Annuler Numéroter toutes les plongées"));

        // A range past the last number is refused and changes nothing.
        const int last = lb.dive(lb.diveCount())->diveNumber;
        onDialog(QStringLiteral("tool-renumber-part"), [last](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Numéroter les plongées"));
            setField(dialog, "number1", QString::number(last + 1));
        }).message(QStringLiteral("Numéro de plongée hors limites"));
        window->runCommand(Command::RenumberPart);
        QCOMPARE(lb.dive(lb.diveCount())->diveNumber, last);

        // Dives 2 to 4 go back 1:30, after the question.
        const logbook::DiveRecord before = *lb.dive(3);
        window->page()->goToDive(3);
        const int from = lb.dive(2)->diveNumber;
        const int to = lb.dive(4)->diveNumber;
        onDialog(QStringLiteral("tool-timezone"), [&](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Fuseau horaire"));
            QCOMPARE(
                dialog->findChild<QLineEdit *>(QStringLiteral("from"))->text(), QString::number(before.diveNumber));
            setField(dialog, "from", QString::number(from));
            setField(dialog, "to", QString::number(to));
            setField(dialog, "difference", QStringLiteral("1:30"));
            uitest::findByText<QRadioButton>(dialog, QStringLiteral("-"))->click();
        }).message(QStringLiteral("Corriger les plongées n°%1 à n°%2\nde -01:30 HH:MM ?").arg(from).arg(to));
        window->runCommand(Command::TimeZone);
        const logbook::DiveRecord &after = *lb.dive(3);
        const long long shift
            = (static_cast<long long>(after.date) - before.date) * 1440 + after.entryTime - before.entryTime;
        QCOMPARE(shift, -90);

        // Two steps, undone one by one back to the file as it was read.
        window->runCommand(Command::Undo);
        window->runCommand(Command::Undo);
        QVERIFY(logbook::LogbookFile::logBytes(lb) == original);
        QVERIFY(!lb.isModified());
    }

    // Renumbering a range into numbers other dives keep says that numbers will repeat, and waits for OK.
    void renumberingARangeIntoTakenNumbersAsksFirst()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const auto original = logbook::LogbookFile::logBytes(lb);
        const int first = lb.dive(10)->diveNumber;
        const int last = lb.dive(15)->diveNumber;
        const int start = lb.dive(5)->diveNumber;
        const auto fill = [&](QWidget *dialog) {
            setField(dialog, "number0", QString::number(first));
            setField(dialog, "number1", QString::number(last));
            setField(dialog, "number2", QString::number(start));
        };

        onDialog(QStringLiteral("tool-renumber-part-repeats"), fill)
            .message(QStringLiteral("se répéteront"), QStringLiteral("Annuler"));
        window->runCommand(Command::RenumberPart);
        QVERIFY(logbook::LogbookFile::logBytes(lb) == original);

        onDialog({}, fill).message(QStringLiteral("se répéteront"));
        window->runCommand(Command::RenumberPart);
        QCOMPARE(lb.dive(10)->diveNumber, start);
        QCOMPARE(lb.dive(5)->diveNumber, start);
        QCOMPARE(window->action(Command::Undo)->text(), QStringLiteral("&Annuler Numéroter partiellement"));
    }

    void theDiveBuffersCarryDivesIntoAnotherLogbook()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const int count = lb.diveCount();
        window->page()->goToDive(2);
        window->runCommand(Command::CopyDive);
        QVERIFY(window->action(Command::PasteDive)->isEnabled());
        onDialog({}, [](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Modifier les données de plongée"));
        });
        window->runCommand(Command::PasteDive);
        QCOMPARE(lb.diveCount(), count + 1);
        QCOMPARE(window->action(Command::Undo)->text(), QStringLiteral("&Annuler Coller du presse-papiers"));
        QVERIFY(window->action(Command::PasteDive)->isEnabled());

        // Out of range: the buffer stays empty.
        const int last = lb.dive(lb.diveCount())->diveNumber;
        onDialog(QStringLiteral("tool-multicopy"), [last](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Entrée des plongées"));
            setField(dialog, "number1", QString::number(last + 3));
        }).message(QStringLiteral("Numéro de plongée hors limites"));
        window->runCommand(Command::MultiCopy);
        QVERIFY(!window->action(Command::MultiPaste)->isEnabled());

        const int first = lb.dive(3)->diveNumber;
        onDialog({}, [first](QWidget *dialog) {
            setField(dialog, "number0", QString::number(first));
            setField(dialog, "number1", QString::number(first + 2));
        });
        window->runCommand(Command::MultiCopy);
        window->updateCommandStates();
        QVERIFY(window->action(Command::MultiPaste)->isEnabled());

        // Into a new logbook; the buffer is empty afterwards.
        prompts.answer(QStringLiteral("&Non"));
        window->runCommand(Command::NewLogbook);
        QCOMPARE(lb.diveCount(), 0);
        window->runCommand(Command::MultiPaste);
        QCOMPARE(lb.diveCount(), 3);
        QCOMPARE(window->page()->model()->rowCount(), 3);
        QVERIFY(!window->action(Command::MultiPaste)->isEnabled());
        window->runCommand(Command::Undo);
        QCOMPARE(lb.diveCount(), 0);
    }

    void theQuickSearchFindsAndRepeats()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const QString place = placeOf(lb, 5);
        int firstWithPlace = 0;
        int count = 0;
        for (int p = 1; p <= lb.diveCount(); ++p)
            if (placeOf(lb, p) == place) {
                firstWithPlace = firstWithPlace == 0 ? p : firstWithPlace;
                ++count;
            }
        onDialog(QStringLiteral("tool-quicksearch"), [place](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Recherche de plongées"));
            uitest::findByText<QRadioButton>(dialog, QStringLiteral("Lie&u"))->click();
            dialog->findChild<QComboBox *>(QStringLiteral("text"))->setEditText(place);
        });
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(lb.currentDive(), firstWithPlace);
        window->updateCommandStates();
        QVERIFY(window->action(Command::SearchForward)->isEnabled());
        if (count > 1) {
            window->runCommand(Command::SearchForward);
            QVERIFY(lb.currentDive() > firstWithPlace);
            QCOMPARE(placeOf(lb, lb.currentDive()), place);
        }

        // A text that is only part of a place is not a place.
        onDialog({}, [place](QWidget *dialog) {
            dialog->findChild<QComboBox *>(QStringLiteral("text"))->setEditText(place.left(place.size() - 1));
        }).message(QStringLiteral("Texte de recherche ´%1´ introuvable").arg(place.left(place.size() - 1)));
        window->runCommand(Command::SearchDive);
    }

    void replaceListsThenChangesAndIsUndone()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const auto original = logbook::LogbookFile::logBytes(lb);
        const QString place = placeOf(lb, 4);
        int matches = 0;
        for (int p = 1; p <= lb.diveCount(); ++p)
            matches += placeOf(lb, p).contains(place) ? 1 : 0;
        int listed = -1;
        onDialog(
            QStringLiteral("tool-replace"),
            [&](QWidget *dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Chercher et remplacer"));
                setField(dialog, "find", place);
                setField(dialog, "replacement", QStringLiteral("Lac Nouveau"));
                press(dialog, QStringLiteral("C&hercher"));
                listed = dialog->findChild<QListWidget *>()->count();
                press(dialog, QStringLiteral("&Remplacer"));
                // Waits for the next search before it replaces again.
                QVERIFY(!qobject_cast<ReplaceDialog *>(dialog)->replaceButton()->isEnabled());
            },
            QStringLiteral("Fermer"));
        window->runCommand(Command::SearchReplace);
        QCOMPARE(listed, 2 * matches);
        QCOMPARE(placeOf(lb, 4), QStringLiteral("Lac Nouveau"));
        QCOMPARE(window->action(Command::Undo)->text(), QStringLiteral("&Annuler Chercher et remplacer"));
        window->runCommand(Command::Undo);
        QVERIFY(logbook::LogbookFile::logBytes(lb) == original);
    }

    // The criteria read a depth with a decimal comma, and refuse one that is no number by its label.
    void theCriteriaReadDecimalCommasAndRefuseJunk()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        int deeper = 0;
        for (int p = 1; p <= lb.diveCount(); ++p) {
            const int depth = lb.dive(p)->maxDepth;
            deeper += depth != logbook::kMissing && depth >= 1850 ? 1 : 0;
        }
        QString message;
        QString count;
        onDialog(
            {},
            [&](QWidget *dialog) {
                auto *criteria = qobject_cast<CriteriaDialog *>(dialog);
                setField(dialog, "depthFrom", QStringLiteral("18,5 m"));
                uitest::prompts().answer(QStringLiteral("OK"), &message);
                criteria->search();
                QVERIFY(!criteria->goToButton()->isEnabled());
                setField(dialog, "depthFrom", QStringLiteral("18,5"));
                criteria->search();
                count = criteria->countLabel()->text();
            },
            QStringLiteral("Annuler"));
        window->runCommand(Command::AdvancedSearch);
        QVERIFY2(message.contains(QStringLiteral("« Prof. à partir de » : « 18,5 m »")), qPrintable(message));
        QCOMPARE(count, QString::number(deeper));
    }

    void theCriteriaSearchGoesToADiveAndWritesASelection()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const QString place = placeOf(lb, 6);
        int matches = 0;
        for (int p = 1; p <= lb.diveCount(); ++p)
            matches += placeOf(lb, p) == place ? 1 : 0;

        QString count;
        onDialog(
            QStringLiteral("tool-advancedsearch"),
            [&](QWidget *dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Recherche avancée"));
                auto *criteria = qobject_cast<CriteriaDialog *>(dialog);
                QVERIFY(criteria);
                QVERIFY(!criteria->goToButton()->isEnabled());
                QVERIFY(!criteria->createButton()->isEnabled());
                dialog->findChild<QComboBox *>(QStringLiteral("place"))->setEditText(place);
                criteria->search();
                count = criteria->countLabel()->text();
                QVERIFY(!criteria->createButton()->isEnabled());
                criteria->results()->setCurrentRow(criteria->results()->count() - 1);
            },
            QStringLiteral("&Aller à"));
        window->runCommand(Command::AdvancedSearch);
        QCOMPARE(count, QString::number(matches));
        QCOMPARE(placeOf(lb, lb.currentDive()), place);

        // The same criteria come back in the selection dialog, which writes the found dives.
        const QString path = m_fx.path(QStringLiteral("selection.log"));
        onDialog(QStringLiteral("tool-selection"), [&](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Critères de sélection"));
            auto *criteria = qobject_cast<CriteriaDialog *>(dialog);
            QCOMPARE(dialog->findChild<QComboBox *>(QStringLiteral("place"))->currentText(), place);
            criteria->search();
            QVERIFY(criteria->createButton()->isEnabled());
            // A whole date shows in the narrow date fields.
            auto *from = dialog->findChild<QLineEdit *>(QStringLiteral("dateFrom"));
            from->setText(QStringLiteral("01.01.2021"));
            QStyleOptionFrame option;
            option.initFrom(from);
            option.lineWidth = from->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, from);
            // The line edit keeps two pixels of margin on each side of its text.
            const int room = from->style()->subElementRect(QStyle::SE_LineEditContents, &option, from).width() - 4;
            QVERIFY2(from->fontMetrics().horizontalAdvance(from->text()) < room, qPrintable(QString::number(room)));
            from->clear();
            // Writing says where the new logbook went and how many dives it holds.
            QString written;
            uitest::prompts().answer(QStringLiteral("OK"), &written);
            criteria->createAt(path);
            QCOMPARE(written,
                QStringLiteral("%1 plongées écrites dans le nouveau carnet\n%2")
                    .arg(QString::number(matches), QDir::toNativeSeparators(path)));
            uitest::prompts().answer(QStringLiteral("&Oui"));
        });
        window->runCommand(Command::CreateSelection);
        QCOMPARE(window->windowTitle(), QStringLiteral("selection.log - Zorv"));
        QCOMPARE(lb.diveCount(), matches);
    }

    void fillWritesTheRangeAndAsksForBothNumbers()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const auto original = logbook::LogbookFile::logBytes(lb);
        onDialog(
            QStringLiteral("tool-fill"),
            [](QWidget *dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Remplir les plongées"));
                uitest::prompts().message(QStringLiteral("Modifier la plongée"));
                press(dialog, QStringLiteral("&Remplir"));
                QVERIFY(dialog->isVisible());
            },
            QStringLiteral("A&nnuler"));
        window->runCommand(Command::FillDives);

        const int first = lb.dive(2)->diveNumber;
        const int last = lb.dive(3)->diveNumber;
        const QString keptSite = toQt(logbook::storedToDisplay(logbook::fixedText(lb.dive(2)->site)));
        onDialog(
            {},
            [&](QWidget *dialog) {
                setField(dialog, "first", QString::number(first));
                setField(dialog, "last", QString::number(last));
                dialog->findChild<QComboBox *>(QStringLiteral("place"))->setEditText(QStringLiteral("Lac Rempli"));
            },
            QStringLiteral("&Remplir"));
        window->runCommand(Command::FillDives);
        QCOMPARE(placeOf(lb, 2), QStringLiteral("Lac Rempli"));
        QCOMPARE(placeOf(lb, 3), QStringLiteral("Lac Rempli"));
        QVERIFY(placeOf(lb, 4) != QStringLiteral("Lac Rempli"));
        QCOMPARE(toQt(logbook::storedToDisplay(logbook::fixedText(lb.dive(2)->site))), keptSite);
        QCOMPARE(window->action(Command::Undo)->text(), QStringLiteral("&Annuler Remplir ou corriger des plongées"));
        const auto filled = logbook::LogbookFile::addBytes(lb);
        window->runCommand(Command::Undo);
        QVERIFY(logbook::LogbookFile::logBytes(lb) == original);
        window->runCommand(Command::Redo);
        QVERIFY(logbook::LogbookFile::addBytes(lb) == filled);

        // The template stays for the run.
        QString shownPlace;
        onDialog(
            {},
            [&shownPlace](QWidget *dialog) {
                shownPlace = dialog->findChild<QComboBox *>(QStringLiteral("place"))->currentText();
            },
            QStringLiteral("A&nnuler"));
        window->runCommand(Command::FillDives);
        QCOMPARE(shownPlace, QStringLiteral("Lac Rempli"));
    }

    // The fill reads a decimal comma, and refuses a value that is no number by its field's name, filling nothing.
    void fillReadsDecimalCommasAndRefusesJunk()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const auto original = logbook::LogbookFile::logBytes(lb);
        const int number = lb.dive(2)->diveNumber;
        onDialog(
            QStringLiteral("tool-fill-refused"),
            [&](QWidget *dialog) {
                setField(dialog, "first", QString::number(number));
                setField(dialog, "last", QString::number(number));
                setField(dialog, "airTemperature", QStringLiteral("18,5 °C"));
                uitest::prompts().message(QStringLiteral("« Temp. air »"));
                press(dialog, QStringLiteral("&Remplir"));
                QVERIFY(dialog->isVisible());
            },
            QStringLiteral("A&nnuler"));
        window->runCommand(Command::FillDives);
        QVERIFY(logbook::LogbookFile::logBytes(lb) == original);

        onDialog(
            {},
            [&](QWidget *dialog) {
                setField(dialog, "first", QString::number(number));
                setField(dialog, "last", QString::number(number));
                setField(dialog, "airTemperature", QStringLiteral("18,5"));
            },
            QStringLiteral("&Remplir"));
        window->runCommand(Command::FillDives);
        QCOMPARE(lb.dive(2)->airTemperature, 1850);
    }

    void mergeJoinsTheNextDiveAndIsUndone()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        int position = 0;
        for (int p = 1; p < lb.diveCount() && position == 0; ++p) {
            const logbook::DiveRecord &a = *lb.dive(p);
            const logbook::DiveRecord &b = *lb.dive(p + 1);
            if (a.sampleCount > 0 && b.sampleCount > 0 && a.computerType == b.computerType
                && a.profileLength + b.profileLength <= 1600)
                position = p;
        }
        QVERIFY(position > 0);
        // Two parts of one dive lie an hour apart at most.
        logbook::DiveRecord next = *lb.dive(position + 1);
        next.surfaceInterval = 60;
        lb.putDive(next, position + 1);
        const auto before = logbook::LogbookFile::logBytes(lb);
        const int count = lb.diveCount();
        const int duration = lb.dive(position)->duration + next.duration;
        window->page()->goToDive(position);
        window->updateCommandStates();
        QVERIFY(window->action(Command::MergeDives)->isEnabled());
        prompts.message(QStringLiteral("sont fusionnées"));
        window->runCommand(Command::MergeDives);
        QCOMPARE(lb.diveCount(), count - 1);
        QCOMPARE(lb.dive(position)->duration, duration);
        QCOMPARE(window->page()->model()->rowCount(), count - 1);
        QCOMPARE(window->action(Command::Undo)->text(), QStringLiteral("&Annuler Fusionner 2 plongées"));
        window->runCommand(Command::Undo);
        QVERIFY(logbook::LogbookFile::logBytes(lb) == before);
    }

    void splitPicksTheMinuteWithTheMouse()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        int position = 0;
        for (int p = 1; p <= lb.diveCount() && position == 0; ++p)
            if (lb.dive(p)->sampleCount > 30)
                position = p;
        QVERIFY(position > 0);
        window->page()->goToDive(position);
        const int count = lb.diveCount();
        int minute = 0;
        onDialog(QStringLiteral("tool-split"), [&](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Séparer une plongée"));
            auto *split = qobject_cast<SplitDialog *>(dialog);
            QVERIFY(split);
            QWidget *plot = split->plot();
            QTest::mousePress(plot, Qt::LeftButton, {}, QPoint(plot->width() / 2, plot->height() / 2));
            QTest::mouseRelease(plot, Qt::LeftButton, {}, QPoint(plot->width() / 2, plot->height() / 2));
            minute = split->minute();
        }).message(QStringLiteral("ne peut pas"));
        window->runCommand(Command::SplitDive);
        // In the middle of the dive the diver is deep: two dives of one are refused.
        QVERIFY(minute > 0);
        QCOMPARE(lb.diveCount(), count);
    }

    void splitAtTheSurfaceMakesTwoDivesAndIsUndone()
    {
        uitest::Prompts prompts;
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        // The sample's dives end at the surface; one is made to come up and go down again, as a
        // computer logs a dive it did not end: ten minutes to 18 m, four at the surface, six to 9 m.
        int position = 1;
        while (
            position < lb.diveCount() && (lb.dive(position)->computerType == 0 || lb.dive(position)->sampleCount == 0))
            ++position;
        logbook::DiveRecord twice = *lb.dive(position);
        logbook::ProfileScript script;
        const auto dip = [&script](float depth, int minutes) {
            for (int i = 0; i < 3 * minutes; ++i)
                script.depths.push_back(
                    depth * (1.0f - std::abs(2.0f * static_cast<float>(i) / (3 * minutes - 1) - 1.0f)));
        };
        dip(18.0f, 10);
        script.depths.insert(script.depths.end(), 12, 0.0f);
        dip(9.0f, 6);
        script.groups.assign(script.depths.size() / 3 + 1, logbook::GroupLevels { 0, 9, 0 });
        logbook::encodeProfile(twice, script, logbook::ProfileFamily::Plain);
        twice.duration = static_cast<std::int16_t>(twice.sampleCount / 3);
        lb.putDive(twice, position);
        const int minute = 11;
        const auto before = logbook::LogbookFile::logBytes(lb);
        const int count = lb.diveCount();
        window->page()->goToDive(position);
        onDialog({}, [&](QWidget *dialog) {
            setField(dialog, "minute", QString::number(minute));
        }).message(QStringLiteral("est séparée"));
        window->runCommand(Command::SplitDive);
        QCOMPARE(lb.diveCount(), count + 1);
        QCOMPARE(lb.dive(position)->duration, minute);
        QCOMPARE(window->page()->model()->rowCount(), count + 1);
        QCOMPARE(window->action(Command::Undo)->text(), QStringLiteral("&Annuler Séparer en 2 plongées"));
        window->runCommand(Command::Undo);
        QVERIFY(logbook::LogbookFile::logBytes(lb) == before);
        QCOMPARE(window->page()->model()->rowCount(), count);
    }

private:
    uitest::AppFixture m_fx;
};

ZORV_UI_TEST_MAIN(ToolCommandsTest)
#include "toolcommands_test.moc"
