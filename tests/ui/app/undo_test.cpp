#include "logbook/logbookfile.h"
#include "ui/app/application.h"
#include "ui/app/divelistmodel.h"
#include "ui/app/divepageview.h"
#include "ui/app/logbookdocument.h"
#include "ui/app/mainwindow.h"
#include "ui/common/qtext.h"
#include "uitest.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>
#include <functional>
#include <memory>

using namespace zorv;
using namespace zorv::ui;
using app::Command;

namespace {

struct FileSet {
    std::vector<std::uint8_t> log;
    std::vector<std::uint8_t> add;
    bool operator==(const FileSet &) const = default;
};

FileSet fileSet(const logbook::Logbook &logbook)
{
    return { logbook::LogbookFile::logBytes(logbook), logbook::LogbookFile::addBytes(logbook) };
}

// Types a new place into the open edit dialog and confirms it.
void editPlace(uitest::Prompts &prompts, const QString &place)
{
    prompts.dialog([place](QDialog &dialog) {
        uitest::child<QComboBox>(&dialog, "place")->setEditText(place);
        dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
}

} // namespace

using uitest::typeKey;

class UndoTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_fx.prepare(); }
    void cleanup() { m_fx.stop(); }

    // Every kind of change is one step: undo gives back the logbook byte for
    // byte, redo the changed one, and the menu names the step.
    void everyChangeIsOneStepUndoneByteForByte()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        QAction *undo = window->action(Command::Undo);
        QAction *redo = window->action(Command::Redo);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Annuler"));
        QCOMPARE(redo->text(), QStringLiteral("&Rétablir"));
        const QString examples = QStringLiteral(ZORV_SOURCE_DIR "/examples/imports/");
        uitest::Prompts prompts;

        struct Step {
            QString name;
            std::function<void()> run;
        };
        const std::vector<Step> steps = {
            { QStringLiteral("Modifier la plongée"),
                [&] {
                    window->page()->goToDive(3);
                    editPlace(prompts, QStringLiteral("Lac Noir"));
                    typeKey(window, Qt::Key_E, Qt::ControlModifier);
                } },
            { QStringLiteral("Supprimer la plongée"),
                [&] {
                    window->page()->goToDive(2);
                    prompts.message({}, QStringLiteral("OK"));
                    typeKey(window, Qt::Key_F8);
                } },
            { QStringLiteral("Insérer une nouvelle plongée"),
                [&] {
                    editPlace(prompts, QStringLiteral("Nouveau lieu"));
                    typeKey(window, Qt::Key_F7);
                } },
            { QStringLiteral("Import Mares Guardian"),
                [&] {
                    prompts.file(examples + QStringLiteral("guardian-dive.txt")).dialog([](QDialog &edit) {
                        uitest::press(&edit, QStringLiteral("OK"));
                    });
                    window->runCommand(Command::ImportGuardian);
                } },
        };

        std::vector<FileSet> states { fileSet(lb) };
        for (const Step &step : steps) {
            const int count = m_fx.logbook().diveCount();
            step.run();
            FileSet after = fileSet(lb);
            QVERIFY2(!(after == states.back()), qPrintable(step.name));
            QCOMPARE(undo->text(), QStringLiteral("&Annuler ") + step.name);
            QVERIFY(lb.isModified());

            typeKey(window, Qt::Key_Z, Qt::ControlModifier);
            QVERIFY2(fileSet(lb) == states.back(), qPrintable(step.name));
            QCOMPARE(window->page()->model()->rowCount(), count);
            QCOMPARE(redo->text(), QStringLiteral("&Rétablir ") + step.name);
            typeKey(window, Qt::Key_Y, Qt::ControlModifier);
            QVERIFY2(fileSet(lb) == after, qPrintable(step.name));
            QCOMPARE(window->page()->model()->rowCount(), lb.diveCount());
            states.push_back(std::move(after));
        }
        uitest::saveScreenshot(window, QStringLiteral("undo-mainwindow"));

        // A save keeps the steps; undoing past it makes the logbook differ from its file again,
        // and coming back to it does not.
        typeKey(window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!lb.isModified());
        QVERIFY(undo->isEnabled());
        typeKey(window, Qt::Key_Backspace, Qt::AltModifier);
        QVERIFY(fileSet(lb) == states[states.size() - 2]);
        QVERIFY(lb.isModified());
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("sample.log")));
        typeKey(window, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(!lb.isModified());
        for (std::size_t i = states.size() - 1; i > 0; --i)
            window->runCommand(Command::Undo);
        QVERIFY(fileSet(lb) == states.front());
        QVERIFY(!undo->isEnabled());
        QVERIFY(lb.isModified());

        // A new change drops the steps that could be redone.
        window->page()->goToDive(1);
        editPlace(prompts, QStringLiteral("Ailleurs"));
        window->runCommand(Command::EditDive);
        QVERIFY(!redo->isEnabled());
        QCOMPARE(m_fx.window()->document()->undoStack()->count(), 1);

        // Opening another logbook forgets the steps of this one.
        prompts.message({}, QStringLiteral("&Non"));
        window->runCommand(Command::ReopenLogbook);
        QVERIFY(!undo->isEnabled());
        QVERIFY(!lb.isModified());
        QCOMPARE(undo->text(), QStringLiteral("&Annuler"));
    }

    // Undo and redo show the dive the step changed (the first of a range), wherever
    // the page stood, so that the next command acts on that dive.
    void undoAndRedoShowTheDiveTheStepChanged()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        QVERIFY(lb.diveCount() >= 40);

        // "Remplir" over dives 38 to 39, started from the last dive of the logbook.
        window->page()->goToDive(40);
        uitest::Prompts prompts;
        prompts.dialog([](QDialog &fill) {
            uitest::setField(&fill, "first", QStringLiteral("38"));
            uitest::setField(&fill, "last", QStringLiteral("39"));
            uitest::child<QComboBox>(&fill, "place")->setEditText(QStringLiteral("Lac Noir"));
            uitest::press(&fill, QStringLiteral("&Remplir"));
        });
        window->runCommand(Command::FillDives);
        int first = 1;
        while (first <= lb.diveCount() && lb.diveNumberAt(first) != 38)
            ++first;
        QVERIFY(first < 40);
        QCOMPARE(logbook::fixedText(lb.dive(first)->place), std::string_view("Lac Noir"));
        const auto shownRow = [window] { return window->page()->diveList()->currentIndex().row() + 1; };
        const QString shownNumber = QString::number(38);

        window->page()->goToDive(5);
        typeKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(lb.currentDive(), first);
        QCOMPARE(shownRow(), first);
        QCOMPARE(window->page()->valueText(logbook::PageControl::DiveNumber), shownNumber);
        window->page()->goToDive(40);
        typeKey(window, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(lb.currentDive(), first);
        QCOMPARE(shownRow(), first);
        QCOMPARE(window->page()->valueText(logbook::PageControl::DiveNumber), shownNumber);

        // An edit of one dive, undone from another page.
        window->page()->goToDive(3);
        editPlace(prompts, QStringLiteral("Ailleurs"));
        typeKey(window, Qt::Key_E, Qt::ControlModifier);
        window->page()->goToDive(30);
        typeKey(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(lb.currentDive(), 3);
        uitest::saveScreenshot(window, QStringLiteral("undo-shows-changed-dive"));
    }

    // Storing a dive back unchanged is no step and leaves the logbook unmodified.
    void anEditWithoutChangeIsNoStep()
    {
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        uitest::Prompts prompts;
        prompts.dialog(
            [](QDialog &edit) { edit.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click(); });
        window->runCommand(Command::EditDive);
        QVERIFY(!window->action(Command::Undo)->isEnabled());
        QVERIFY(!m_fx.logbook().isModified());
    }

private:
    uitest::AppFixture m_fx;
};

ZORV_UI_TEST_MAIN(UndoTest)
#include "undo_test.moc"
