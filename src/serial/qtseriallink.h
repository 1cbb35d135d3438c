// The serial link on a real port, through Qt Serial Port, and the ports the options dialog can offer.
#pragma once

#include "transfer/seriallink.h"

#include <QList>
#include <QSerialPort>
#include <QString>
#include <functional>

namespace zorv::serial {

// The device for a port index (the "Com" setting minus 1): a configured path wins; else a
// USB adapter, which is what nearly every cable is nowadays; else the built-in port.
QString portDevicePath(
    int portIndex, const QString &configuredPath, const std::function<bool(const QString &)> &exists = nullptr);

struct SerialPortEntry {
    QString path; // such as /dev/ttyUSB0
    QString description; // the adapter's own words, may be empty
};

// Serial ports present on this machine, sorted by path.
QList<SerialPortEntry> availableSerialPorts();

class QtSerialLink final : public transfer::SerialLink {
public:
    // configuredPath is the "Transfer"/"Port" setting; empty lets the port index choose.
    explicit QtSerialLink(QString configuredPath = {});

    void open(int portIndex) override;
    void setLine(const transfer::LineSettings &line) override;
    std::uint16_t status() const override;
    bool pending() override;
    std::uint8_t readByte() override;
    std::string errorText() const override;

private:
    void takeError();
    QString portErrorText() const;

    QString m_configuredPath;
    QString m_devicePath; // the device open() chose, for messages
    QSerialPort m_port;
    std::uint16_t m_status = transfer::linkstatus::kNotOpen;
    QString m_lastError;
};

} // namespace zorv::serial
