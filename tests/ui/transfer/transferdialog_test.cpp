#include "logbook/logbookfile.h"
#include "serial/computersimulator.h"
#include "serial/qtseriallink.h"
#include "transfer/memoryimage.h"
#include "ui/app/divelistmodel.h"
#include "ui/app/divepageview.h"
#include "ui/app/mainwindow.h"
#include "ui/common/appcontext.h"
#include "ui/transfer/transferdialog.h"
#include "uitest.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <atomic>
#include <pty.h>
#include <thread>
#include <unistd.h>

using namespace zorv;
using zorv::ui::AppContext;
using zorv::ui::TransferDialog;

namespace {

constexpr settings::ScreenSize kScreen { 1024, 768 };

std::vector<std::uint8_t> readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return { bytes.begin(), bytes.end() };
}

std::vector<std::uint8_t> exampleDump(const char *name)
{
    return readBytes(QStringLiteral(ZORV_SOURCE_DIR "/examples/dumps/") + QString::fromLatin1(name));
}

struct Pty {
    Pty()
    {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0)
            path = QString::fromLocal8Bit(name);
    }
    ~Pty()
    {
        if (master >= 0)
            ::close(master);
        if (slave >= 0)
            ::close(slave);
    }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    int master = -1;
    int slave = -1;
    QString path;
};

// The computer's end of the cable: writes from its own thread, as a real one would not wait for us.
class Computer {
public:
    explicit Computer(int fd)
        : m_fd(fd)
    {
    }
    ~Computer()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    template <typename Body> void start(Body body)
    {
        m_thread = std::thread([this, body] {
            QFile out;
            if (out.open(m_fd, QIODevice::WriteOnly | QIODevice::Unbuffered))
                m_sent = body(out);
        });
    }
    bool sent() const { return m_sent; }

private:
    int m_fd;
    std::thread m_thread;
    std::atomic<bool> m_sent { false };
};

QPushButton *button(QWidget *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QString::fromLatin1(name));
}

QTreeWidget *diveList(QWidget *dialog)
{
    return dialog->findChild<QTreeWidget *>(QStringLiteral("newDives"));
}

QString labelText(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLabel *>(QString::fromLatin1(name))->text();
}

} // namespace

class TransferDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void load(AppContext &context) { context.load(m_dir.path().toStdString(), kScreen); }

    std::unique_ptr<TransferDialog> openOn(AppContext &context, const Pty &pty)
    {
        auto dialog
            = std::make_unique<TransferDialog>(context, std::make_unique<serial::QtSerialLink>(pty.path), nullptr);
        dialog->show();
        return dialog;
    }

    // The file "Test" reads beside the logbook.
    bool writeTestDump(const std::vector<std::uint8_t> &image)
    {
        QFile file(QDir(m_dir.path()).filePath(QStringLiteral("dump.dmp")));
        return file.open(QIODevice::WriteOnly)
            && file.write(reinterpret_cast<const char *>(image.data()), qint64(image.size())) == qint64(image.size());
    }

    int decodedDives(const std::vector<std::uint8_t> &image)
    {
        transfer::MemoryImage memory;
        return memory.load(image) ? memory.diveCount() : -1;
    }

private slots:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    // Noise on the line, the zero bytes of the computer, its image; then the dives go into
    // the logbook, which survives a save and a reload.
    void capturesListsAndAcceptsDives()
    {
        Pty pty;
        QVERIFY(!pty.path.isEmpty());
        AppContext context;
        load(context);
        context.settings.dumpMemory = true;
        context.logbook.setPath(QDir(m_dir.path()).filePath(QStringLiteral("carnet.log")).toStdString());
        const auto image = exampleDump("airintegrated-68.dp~");
        const int dives = decodedDives(image);
        QVERIFY(dives > 0);

        auto dialog = openOn(context, pty);
        QVERIFY(dialog->portReady());
        QTRY_COMPARE(labelText(dialog.get(), "state"), QStringLiteral("En attente du transfert"));
        QTRY_COMPARE(labelText(dialog.get(), "connection"), QStringLiteral("non connecté"));
        uitest::saveScreenshot(dialog.get(), QStringLiteral("transfer-waiting"));

        Computer computer(pty.master);
        computer.start([&](QIODevice &out) {
            const char noise[] = { 0x12, 0x54, 0x0d, 0x11, 0x13, char(0xff), 0x56 };
            out.write(noise, sizeof noise);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return serial::sendAsComputer(out, image, {});
        });
        QTRY_VERIFY_WITH_TIMEOUT(dialog->receiver().running(), 5000);
        QTRY_COMPARE(labelText(dialog.get(), "connection"), QStringLiteral("connecté"));
        QTRY_VERIFY_WITH_TIMEOUT(dialog->receiver().done(), 10000);
        QVERIFY(computer.sent());

        QCOMPARE(diveList(dialog.get())->topLevelItemCount(), dives);
        QCOMPARE(diveList(dialog.get())->topLevelItem(0)->text(0), QStringLiteral("1"));
        QVERIFY(button(dialog.get(), "accept")->isEnabled());
        QTRY_COMPARE(labelText(dialog.get(), "state"), QStringLiteral("Aladin Air X/Z"));
        // What the image said about the computer becomes the remembered last transfer.
        QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("CTyp"))->text(), QStringLiteral("68"));
        QVERIFY(!context.settings.lastTransfer.serialNumber.empty());
        QCOMPARE(readBytes(QDir(m_dir.path()).filePath(QStringLiteral("zvtrdat~.dp~"))), image);
        uitest::saveScreenshot(dialog.get(), QStringLiteral("transfer-list"));
        // A good transfer shows no error anywhere.
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            QVERIFY2(
                !label->isVisible() || !label->text().startsWith(QStringLiteral("Erreur")), qPrintable(label->text()));

        QTest::mouseClick(button(dialog.get(), "accept"), Qt::LeftButton);
        QVERIFY(dialog->accepted());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(context.logbook.diveCount(), dives);
        QVERIFY(context.logbook.isModified());
        transfer::MemoryImage memory;
        QVERIFY(memory.load(image));
        QCOMPARE(context.logbook.headerLong(), memory.serialNumber());

        const std::string path = context.logbook.path();
        QVERIFY(logbook::LogbookFile::save(context.logbook, path).ok());
        logbook::Logbook reloaded;
        QVERIFY(logbook::LogbookFile::loadFromPath(reloaded, path).ok());
        QCOMPARE(reloaded.diveCount(), dives);
        QCOMPARE(reloaded.headerLong(), memory.serialNumber());
        QCOMPARE(reloaded.dive(dives)->maxDepth, context.logbook.dive(dives)->maxDepth);
    }

    void corruptedChecksumIsRefused()
    {
        uitest::Prompts prompts;
        Pty pty;
        AppContext context;
        load(context);
        const auto image = readBytes(QStringLiteral(ZORV_SOURCE_DIR "/tests/fixtures/transfer-bad-checksum.dp~"));
        QCOMPARE(int(image.size()), 2050);
        auto dialog = openOn(context, pty);
        prompts.message(QStringLiteral("Erreur de transmission"));
        Computer computer(pty.master);
        computer.start([&](QIODevice &out) { return serial::sendAsComputer(out, image, {}); });
        QTRY_VERIFY_WITH_TIMEOUT(dialog->receiver().done(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 5000);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(context.logbook.diveCount(), 0);
    }

    void portThatIsNotThereClosesAtOnce()
    {
        uitest::Prompts prompts;
        AppContext context;
        load(context);
        context.settings.comPort = 4;
        TransferDialog dialog(context, std::make_unique<serial::QtSerialLink>(QStringLiteral("/dev/zorv-none")));
        QVERIFY(!dialog.portReady());
        prompts.message(QStringLiteral("Port COM 4 pas prêt"));
        QVERIFY(!dialog.checkPort());
    }

    // "Test" reads dump.dmp beside the logbook; dives from another computer, and leaving
    // without taking read dives, are both asked about.
    void testFileQuestionsAndCancel()
    {
        uitest::Prompts prompts;
        Pty pty;
        AppContext context;
        load(context);
        context.logbook.setPath(QDir(m_dir.path()).filePath(QStringLiteral("carnet.log")).toStdString());
        const auto image = exampleDump("nitrox-244.dp~");
        const int dives = decodedDives(image);
        QVERIFY(dives > 1);

        {
            auto dialog = openOn(context, pty);
            QTest::mouseClick(button(dialog.get(), "test"), Qt::LeftButton);
            QVERIFY(!dialog->receiver().done()); // no dump.dmp yet
        }
        QVERIFY(writeTestDump(image));

        {
            auto dialog = openOn(context, pty);
            QTest::mouseClick(button(dialog.get(), "test"), Qt::LeftButton);
            QCOMPARE(diveList(dialog.get())->topLevelItemCount(), dives);
            QVERIFY(!dialog->findChild<QLineEdit *>(QStringLiteral("ppO2"))->text().isEmpty());
            prompts.message(QStringLiteral("Abandonner les plongées lues ?"), QStringLiteral("Non"));
            QTest::mouseClick(button(dialog.get(), "cancel"), Qt::LeftButton);
            QVERIFY(dialog->isVisible());
            prompts.message(QStringLiteral("Abandonner les plongées lues ?"), QStringLiteral("Oui"));
            QTest::mouseClick(button(dialog.get(), "cancel"), Qt::LeftButton);
            QTRY_VERIFY(!dialog->isVisible());
            QCOMPARE(context.logbook.diveCount(), 0);
        }

        // The logbook holds all but the newest dive, last taken from another computer.
        {
            auto dialog = openOn(context, pty);
            QTest::mouseClick(button(dialog.get(), "test"), Qt::LeftButton);
            QTest::mouseClick(button(dialog.get(), "accept"), Qt::LeftButton);
        }
        QCOMPARE(context.logbook.diveCount(), dives);
        context.logbook.deleteDive(dives);
        context.logbook.setHeaderLong(context.logbook.headerLong() + 1);

        auto dialog = openOn(context, pty);
        QTest::mouseClick(button(dialog.get(), "test"), Qt::LeftButton);
        QCOMPARE(diveList(dialog.get())->topLevelItemCount(), 1);
        QCOMPARE(diveList(dialog.get())->topLevelItem(0)->text(0), QString::number(dives));
        const QString other = QStringLiteral("Autre ordinateur\nReprendre quand même les plongées ?");
        prompts.message(other, QStringLiteral("Non"));
        QTest::mouseClick(button(dialog.get(), "accept"), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(context.logbook.diveCount(), dives - 1);
        prompts.message(other, QStringLiteral("Oui"));
        QTest::mouseClick(button(dialog.get(), "accept"), Qt::LeftButton);
        QCOMPARE(context.logbook.diveCount(), dives);
    }

    // F5 from the main window: the dives taken in show in its list at once.
    void mainWindowShowsTheAcceptedDives()
    {
        uitest::Prompts prompts;
        Pty pty;
        AppContext context;
        load(context);
        context.settings.serialPort = pty.path.toStdString();
        context.logbook.setPath(QDir(m_dir.path()).filePath(QStringLiteral("carnet.log")).toStdString());
        const auto image = exampleDump("scale-28.dp~");
        const int dives = decodedDives(image);
        QVERIFY(writeTestDump(image));

        ui::MainWindow window(context, {});
        window.show();
        QAction *read = window.action(app::Command::ReadComputer);
        QVERIFY(read && read->isEnabled());
        QCOMPARE(read->shortcut(), QKeySequence(Qt::Key_F5));
        QVERIFY(window.toolBar()->actions().contains(read));
        prompts.dialog<TransferDialog>([](TransferDialog &dialog) {
            QVERIFY(dialog.portReady());
            QTest::mouseClick(button(&dialog, "test"), Qt::LeftButton);
            QTest::mouseClick(button(&dialog, "accept"), Qt::LeftButton);
        });
        window.runCommand(app::Command::ReadComputer);
        QCOMPARE(context.logbook.diveCount(), dives);
        QCOMPARE(window.page()->model()->rowCount(), dives);
        QVERIFY(context.logbook.isModified());
    }
};

ZORV_UI_TEST_MAIN(TransferDialogTest)
#include "transferdialog_test.moc"
