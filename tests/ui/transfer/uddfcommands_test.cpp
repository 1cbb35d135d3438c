#include "ui/app/divelistmodel.h"
#include "ui/app/divepageview.h"
#include "ui/app/logbookdocument.h"
#include "ui/app/mainwindow.h"
#include "uitest.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QUndoStack>

using namespace zorv;
using namespace zorv::ui;
using app::Command;

using uitest::press;

class UddfCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_fx.prepare(); }
    void cleanup() { m_fx.stop(); }

    void exportsAndImportsAsOneUndoStep()
    {
        uitest::Prompts prompts;
        QVERIFY(m_fx.start(m_fx.sample()));
        MainWindow *window = m_fx.window();
        logbook::Logbook &lb = m_fx.logbook();
        const int before = lb.diveCount();
        QVERIFY(window->action(Command::ExportUddf)->isEnabled());
        QCOMPARE(window->action(Command::ExportUddf)->text(), QStringLiteral("Exporter U&DDF…"));

        // Export: the file, then the registers to take along.
        const QString out = m_fx.path(QStringLiteral("carnet.uddf"));
        bool portableOffered = false;
        prompts.file(out).modal([&portableOffered](QWidget *modal) {
            uitest::saveScreenshot(modal, QStringLiteral("uddf-export-choices"));
            portableOffered = uitest::child<QCheckBox>(modal, "portable") != nullptr;
            QVERIFY(uitest::child<QLineEdit>(modal, "equipment"));
            press(modal, QStringLiteral("OK"));
        });
        window->runCommand(Command::ExportUddf);
        QVERIFY(portableOffered);
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("<dive id=\"dive-1\">"));

        // The same dives again are all duplicates: nothing added, nothing to undo.
        QString message;
        const int steps = window->document()->undoStack()->count();
        prompts.file(out).message({}, QStringLiteral("OK"), &message);
        window->runCommand(Command::ImportUddf);
        QCOMPARE(message, QStringLiteral("Plongées ajoutées : 0\nDoublons ignorés : %1").arg(before));
        QCOMPARE(lb.diveCount(), before);
        QCOMPARE(window->document()->undoStack()->count(), steps);

        // Another program's file: its two dives, the summary shown, one step undoes them both.
        prompts.file(QStringLiteral(ZORV_SOURCE_DIR "/examples/imports/other-program.uddf"))
            .message({}, QStringLiteral("OK"), &message);
        window->runCommand(Command::ImportUddf);
        QCOMPARE(message, QStringLiteral("Plongées ajoutées : 2\nDoublons ignorés : 0"));
        QCOMPARE(lb.diveCount(), before + 2);
        QCOMPARE(window->page()->model()->rowCount(), before + 2);
        QCOMPARE(window->document()->undoStack()->count(), steps + 1);
        window->document()->undo();
        QCOMPARE(lb.diveCount(), before);

        // A file that is not UDDF is refused, naming it, and the logbook stays as it was.
        prompts.file(m_fx.sample()).message({}, QStringLiteral("OK"), &message);
        window->runCommand(Command::ImportUddf);
        QVERIFY(message.contains(QStringLiteral("sample.log")));
        QCOMPARE(lb.diveCount(), before);
    }

private:
    uitest::AppFixture m_fx;
};

ZORV_UI_TEST_MAIN(UddfCommandsTest)
#include "uddfcommands_test.moc"
