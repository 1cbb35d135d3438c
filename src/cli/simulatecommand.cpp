#include "simulatecommand.h"

#include "common/cformat.h"
#include "common/systemerror.h"
#include "common/translation.h"
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
    parser.addOption({ QStringLiteral("port"),
        QString::fromUtf8(common::tr("simulate : port série sur lequel envoyer.")), QStringLiteral("DEVICE") });
    parser.addOption({ QStringLiteral("pause-at"),
        QString::fromUtf8(common::tr("simulate : pause après ce nombre d'octets de l'image.")), QStringLiteral("N") });
    parser.addOption({ QStringLiteral("pause-ms"), QString::fromUtf8(common::tr("simulate : durée de la pause (ms).")),
        QStringLiteral("M") });
}

int commandSimulate(const QCommandLineParser &parser, const QString &imagePath)
{
    constexpr int imageSize = transfer::Receiver::kImageSize;
    const QString device = parser.value(QStringLiteral("port"));
    if (device.isEmpty())
        return fail(QString::fromUtf8(common::tr("simulate demande --port PORT")), kExitUsage);

    serial::SimulatorOptions options;
    const bool pauseAt = parser.isSet(QStringLiteral("pause-at"));
    if (pauseAt != parser.isSet(QStringLiteral("pause-ms")))
        return fail(QString::fromUtf8(common::tr("--pause-at et --pause-ms vont ensemble")), kExitUsage);
    if (pauseAt
        && (!parseNumber(parser.value(QStringLiteral("pause-at")), 0, imageSize - 1, options.pauseAfter)
            || !parseNumber(parser.value(QStringLiteral("pause-ms")), 1, 600000, options.pauseMs)))
        return fail(QString::fromUtf8(common::tr("--pause-at prend de 0 à %1 octets, --pause-ms de 1 à 600000 ms"))
                        .arg(imageSize - 1),
            kExitUsage);

    // Read by its own bytes: Qt would decode a name that is not UTF-8 into another one.
    std::ifstream file(localPath(imagePath), std::ios::binary);
    if (!file)
        return cli::fail(shownPath(imagePath) + ": " + common::systemErrorText(errno));
    QByteArray bytes(imageSize, '\0');
    file.read(bytes.data(), bytes.size());
    bytes.resize(static_cast<qsizetype>(file.gcount()));
    // A receiver syncs on the first 0x55: an image that does not start with it would
    // arrive shifted or not at all, which is not what anybody means to try.
    if (bytes.size() < imageSize || static_cast<std::uint8_t>(bytes[0]) != transfer::Receiver::kSyncByte)
        return cli::fail(common::cformat(common::tr("%s : pas une image mémoire (%d octets commençant par 0x55)"),
            shownPath(imagePath).c_str(), imageSize));
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
    std::cout << common::cformat(common::tr("%d octets nuls et %d octets de %s envoyés sur %s"),
        static_cast<int>(options.leadingZeros), imageSize, imagePath.toStdString().c_str(),
        device.toStdString().c_str())
              << "\n";
    return 0;
}

} // namespace zorv::cli
