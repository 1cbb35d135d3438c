#include "simulatecommand.h"

#include "environment.h"
#include "qtglue/qtext.h"
#include "serial/computersimulator.h"
#include "transfer/receiver.h"

#include <QSerialPort>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <vector>

namespace zorv::cli {

namespace {

    // The device and Qt speak QString here.
    int fail(const QString &message, int code = kExitFailure)
    {
        return cli::fail(qtglue::fromQt(message), code);
    }

    bool parseNumber(const QString &text, int low, int high, int &out)
    {
        bool ok = false;
        out = text.toInt(&ok);
        return ok && out >= low && out <= high;
    }

} // namespace

void addSimulateOptions(QCommandLineParser &parser)
{
    parser.addOption(
        { QStringLiteral("port"), QStringLiteral("simulate: serial device to send on."), QStringLiteral("DEVICE") });
    parser.addOption({ QStringLiteral("pause-at"),
        QStringLiteral("simulate: pause after this many bytes of the image."), QStringLiteral("N") });
    parser.addOption(
        { QStringLiteral("pause-ms"), QStringLiteral("simulate: length of the pause (ms)."), QStringLiteral("M") });
}

int commandSimulate(const QCommandLineParser &parser, const QString &imagePath)
{
    constexpr int imageSize = transfer::Receiver::kImageSize;
    const QString device = parser.value(QStringLiteral("port"));
    if (device.isEmpty())
        return fail(QStringLiteral("simulate needs --port DEVICE"), kExitUsage);

    serial::SimulatorOptions options;
    const bool pauseAt = parser.isSet(QStringLiteral("pause-at"));
    if (pauseAt != parser.isSet(QStringLiteral("pause-ms")))
        return fail(QStringLiteral("--pause-at and --pause-ms go together"), kExitUsage);
    if (pauseAt
        && (!parseNumber(parser.value(QStringLiteral("pause-at")), 0, imageSize - 1, options.pauseAfter)
            || !parseNumber(parser.value(QStringLiteral("pause-ms")), 1, 600000, options.pauseMs)))
        return fail(
            QStringLiteral("--pause-at takes 0 to %1 bytes, --pause-ms 1 to 600000 ms").arg(imageSize - 1), kExitUsage);

    // Read by its own bytes: Qt would decode a name that is not UTF-8 into another one.
    std::ifstream file(localPath(imagePath), std::ios::binary);
    if (!file)
        return cli::fail(shownPath(imagePath) + ": " + std::strerror(errno));
    QByteArray bytes(imageSize, '\0');
    file.read(bytes.data(), bytes.size());
    bytes.resize(static_cast<qsizetype>(file.gcount()));
    // A receiver syncs on the first 0x55: an image that does not start with it would
    // arrive shifted or not at all, which is not what anybody means to try.
    if (bytes.size() < imageSize || static_cast<std::uint8_t>(bytes[0]) != transfer::Receiver::kSyncByte)
        return cli::fail(
            shownPath(imagePath) + ": not a memory image (" + std::to_string(imageSize) + " bytes starting with 0x55)");
    const std::vector<std::uint8_t> image(bytes.begin(), bytes.end());

    QSerialPort port;
    port.setPortName(device);
    if (!port.open(QIODevice::WriteOnly))
        return fail(device + QStringLiteral(": ") + port.errorString());
    if (!port.setBaudRate(options.baudRate) || !port.setDataBits(QSerialPort::Data8)
        || !port.setParity(QSerialPort::NoParity) || !port.setStopBits(QSerialPort::OneStop)
        || !port.setFlowControl(QSerialPort::NoFlowControl))
        return fail(device + QStringLiteral(": ") + port.errorString());
    if (!serial::sendAsComputer(port, image, options))
        return fail(device + QStringLiteral(": ") + port.errorString());
    std::cout << "sent " << options.leadingZeros << " zero bytes and " << imageSize << " bytes of "
              << imagePath.toStdString() << " to " << device.toStdString() << "\n";
    return 0;
}

} // namespace zorv::cli
