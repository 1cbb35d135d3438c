#include "serial/qtseriallink.h"

#include "qtglue/qtext.h"

#include <QFile>
#include <QSerialPortInfo>
#include <algorithm>

namespace zorv::serial {

using namespace transfer::linkstatus;

QString portDevicePath(int portIndex, const QString &configuredPath, const std::function<bool(const QString &)> &exists)
{
    if (!configuredPath.isEmpty())
        return configuredPath;
    const QString number = QString::number(std::max(portIndex, 0));
    const QString usb = QStringLiteral("/dev/ttyUSB") + number;
    const bool usbExists = exists ? exists(usb) : QFile::exists(usb);
    return usbExists ? usb : QStringLiteral("/dev/ttyS") + number;
}

QList<SerialPortEntry> availableSerialPorts()
{
    QList<SerialPortEntry> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append({ info.systemLocation(), info.description() });
    std::sort(
        ports.begin(), ports.end(), [](const SerialPortEntry &a, const SerialPortEntry &b) { return a.path < b.path; });
    return ports;
}

QtSerialLink::QtSerialLink(QString configuredPath)
    : m_configuredPath(std::move(configuredPath))
{
}

void QtSerialLink::open(int portIndex)
{
    if (m_port.isOpen())
        m_port.close();
    m_devicePath = portDevicePath(portIndex, m_configuredPath);
    // A full path is taken as it is, which also lets a pseudo-terminal stand in for a cable.
    m_port.setPortName(m_devicePath);
    m_status = 0;
    if (!m_port.open(QIODevice::ReadOnly)) {
        m_status = kNotOpen;
        m_lastError = portErrorText();
        m_port.clearError();
    }
}

void QtSerialLink::setLine(const transfer::LineSettings &line)
{
    if (!m_port.isOpen())
        return;
    const auto parity = line.parity == 'E' ? QSerialPort::EvenParity
        : line.parity == 'O'               ? QSerialPort::OddParity
                                           : QSerialPort::NoParity;
    const bool ok = m_port.setBaudRate(line.baudRate)
        && m_port.setDataBits(static_cast<QSerialPort::DataBits>(std::clamp(line.dataBits, 5, 8)))
        && m_port.setParity(parity)
        && m_port.setStopBits(line.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop)
        && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        m_status |= kLineRefused;
        m_lastError = portErrorText();
        m_port.clearError();
    }
}

std::uint16_t QtSerialLink::status() const
{
    return m_port.isOpen() ? m_status : static_cast<std::uint16_t>(m_status | kNotOpen);
}

bool QtSerialLink::pending()
{
    if (!m_port.isOpen())
        return false;
    if (m_port.bytesAvailable() > 0)
        return true;
    // Qt fills its buffer from the event loop; a caller that polls in a loop of its own
    // would never see a byte without this look at the device.
    m_port.waitForReadyRead(0);
    takeError();
    return m_port.bytesAvailable() > 0;
}

std::uint8_t QtSerialLink::readByte()
{
    char c = 0;
    if (!m_port.getChar(&c))
        takeError();
    return static_cast<std::uint8_t>(c);
}

std::string QtSerialLink::errorText() const
{
    return qtglue::fromQt(m_lastError);
}

// Qt's own error texts are English; the user reads these.
QString QtSerialLink::portErrorText() const
{
    QString reason;
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        reason = QStringLiteral("le port n'existe pas");
        break;
    case QSerialPort::PermissionError:
        reason = QStringLiteral("accès refusé (le port est pris, ou l'utilisateur n'est pas du groupe dialout)");
        break;
    case QSerialPort::OpenError:
        reason = QStringLiteral("le port est déjà ouvert");
        break;
    case QSerialPort::ResourceError:
        reason = QStringLiteral("le port a disparu (câble débranché ?)");
        break;
    case QSerialPort::UnsupportedOperationError:
        reason = QStringLiteral("réglage refusé par le port");
        break;
    case QSerialPort::ReadError:
        reason = QStringLiteral("erreur de lecture");
        break;
    default:
        reason = QStringLiteral("erreur du port (%1)").arg(static_cast<int>(m_port.error()));
        break;
    }
    return QStringLiteral("%1 : %2").arg(m_devicePath, reason);
}

// Qt keeps one error at a time; the status word keeps what has happened since opening.
void QtSerialLink::takeError()
{
    switch (m_port.error()) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError: // a look at a quiet line
        return;
    case QSerialPort::ResourceError:
        m_status |= kDeviceLost;
        break;
    default:
        m_status |= kReadFailed;
        break;
    }
    m_lastError = portErrorText();
    m_port.clearError();
}

} // namespace zorv::serial
