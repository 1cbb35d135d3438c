#include "serial/computersimulator.h"
#include "serial/qtseriallink.h"
#include "testutil.h"
#include "transfer/receiver.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace zorv;
using transfer::Receiver;

namespace {

// Qt Serial Port watches the device with socket notifiers, which want an application object.
class QtEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_serial";
        static char *argv[] = { name, nullptr };
        m_app = new QCoreApplication(argc, argv);
    }
    void TearDown() override { delete m_app; }

private:
    QCoreApplication *m_app = nullptr;
};
const auto *const qtEnvironment = testing::AddGlobalTestEnvironment(new QtEnvironment);

std::vector<std::uint8_t> makeImage(std::uint8_t seed)
{
    // Every byte value but the sync byte appears after the first, so a line that is not
    // raw (carriage returns, flow control characters) shows as a wrong image.
    std::vector<std::uint8_t> image(Receiver::kImageSize);
    image[0] = Receiver::kSyncByte;
    for (std::size_t i = 1; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 31 + seed);
        if (image[i] == Receiver::kSyncByte)
            image[i] = 0x56;
    }
    return image;
}

struct Pty {
    Pty()
    {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0)
            path = name;
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
    std::string path;
};

std::int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Polls as the transfer dialog's timers would, until the receiver is done or time runs out.
void receive(serial::QtSerialLink &link, Receiver &receiver, std::int64_t limitMs, bool *sawFailure = nullptr)
{
    const std::int64_t end = nowMs() + limitMs;
    while (!receiver.done() && nowMs() < end) {
        const std::int64_t now = nowMs();
        receiver.poll(link, now);
        receiver.tick(now);
        if (sawFailure && receiver.transmissionFailed())
            *sawFailure = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::vector<std::uint8_t> imageOf(const Receiver &receiver)
{
    return { receiver.image().begin(), receiver.image().end() };
}

} // namespace

// The pause leaves the rest of the first image behind on the line, then noise follows: neither
// may start a capture, and the second image, sent without leading zeros, arrives whole.
TEST(SerialLink, LongPauseAbortsAndNoiseIsIgnoredUntilTheResend)
{
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    serial::QtSerialLink link(QString::fromStdString(pty.path));
    Receiver receiver(nowMs());
    // The link opens first: it makes the line raw, and bytes written before would be cooked.
    ASSERT_TRUE(transfer::startLink(link, 0, receiver)) << link.errorText();

    const auto second = makeImage(2);
    std::thread sender([&] {
        QFile out;
        if (!out.open(pty.master, QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        serial::SimulatorOptions pausing;
        pausing.pauseAfter = 1000;
        pausing.pauseMs = 3000;
        serial::sendAsComputer(out, makeImage(1), pausing);
        std::vector<char> noise;
        for (int i = 0; i < 300; ++i)
            noise.push_back(static_cast<char>(i % 2 ? 0x54 : i % 251 + 0x56));
        noise.insert(noise.end(), { 0x0d, 0x11, 0x13 });
        out.write(noise.data(), static_cast<qint64>(noise.size()));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        serial::SimulatorOptions quiet;
        quiet.leadingZeros = 0;
        serial::sendAsComputer(out, second, quiet);
    });
    bool sawFailure = false;
    receive(link, receiver, 15000, &sawFailure);
    sender.join();
    EXPECT_TRUE(sawFailure);
    ASSERT_TRUE(receiver.done());
    EXPECT_EQ(imageOf(receiver), second);
}

TEST(QtSerialLink, MissingDeviceIsNotReady)
{
    serial::QtSerialLink link(QStringLiteral("/dev/zorv-no-such-port"));
    Receiver receiver;
    EXPECT_FALSE(transfer::startLink(link, 0, receiver));
    EXPECT_TRUE(receiver.portError());
    EXPECT_NE(link.errorText().find("/dev/zorv-no-such-port"), std::string::npos);
    // The user reads it: in French, not Qt's English.
    EXPECT_NE(link.errorText().find("le port n'existe pas"), std::string::npos) << link.errorText();
    EXPECT_FALSE(link.pending());
}

TEST(QtSerialLink, DevicePathOfAPortNumber)
{
    const auto none = [](const QString &) { return false; };
    const auto usb1 = [](const QString &p) { return p == QStringLiteral("/dev/ttyUSB1"); };
    EXPECT_EQ(serial::portDevicePath(0, {}, none), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(serial::portDevicePath(1, {}, usb1), QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(serial::portDevicePath(0, {}, usb1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(serial::portDevicePath(1, QStringLiteral("/dev/pts/7"), usb1), QStringLiteral("/dev/pts/7"));
}

// The command as a user runs it between the two ends of a socat-like pair: two pseudo-terminals
// whose master ends the test joins.
TEST(SimulateCommand, SendsTheImageFile)
{
#ifndef ZORV_CLI
    GTEST_SKIP() << "zorv-cli is not built";
#else
    Pty computerEnd;
    Pty programEnd;
    ASSERT_FALSE(computerEnd.path.empty() || programEnd.path.empty());
    serial::QtSerialLink link(QString::fromStdString(programEnd.path));
    Receiver receiver(nowMs());
    ASSERT_TRUE(transfer::startLink(link, 0, receiver)) << link.errorText();

    std::atomic<bool> stop { false };
    std::thread relay([&] {
        char buffer[256];
        pollfd fd { computerEnd.master, POLLIN, 0 };
        while (!stop) {
            if (::poll(&fd, 1, 20) <= 0)
                continue;
            const ssize_t n = ::read(computerEnd.master, buffer, sizeof buffer);
            if (n > 0 && ::write(programEnd.master, buffer, static_cast<std::size_t>(n)) != n)
                break;
        }
    });

    test::TempDir dir;
    const auto image = makeImage(4);
    test::writeFile(dir / "image.dmp", std::string(image.begin(), image.end()));
    QProcess cli;
    cli.start(QStringLiteral(ZORV_CLI),
        { QStringLiteral("simulate"), QStringLiteral("--port"), QString::fromStdString(computerEnd.path),
            QString::fromStdString((dir / "image.dmp").string()) });
    receive(link, receiver, 10000);
    const bool finished = cli.waitForFinished(10000);
    stop = true;
    relay.join();

    ASSERT_TRUE(finished);
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    ASSERT_TRUE(receiver.done());
    EXPECT_EQ(imageOf(receiver), image);
#endif
}
