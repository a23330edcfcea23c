#pragma once

#include <QSerialPort>
#include <QString>
#include <chrono>

#include "link/SerialPort.h"

// The serial line over a real device, through QSerialPort, at 19200 8N1 without flow control.
//
// A device that vanishes while open (a USB adapter pulled, the far end of a pseudo-terminal
// hung up: QSerialPort::ResourceError, ReadError or WriteError) is noticed by the next write,
// drain or read, whether the error came up inside that call or earlier from the event loop:
// the port is closed and that call throws PortError, once. The next open starts afresh.
class QtSerialPort : public SerialPort {
public:
    // The longest write() waits for the system to take the bytes.
    static constexpr std::chrono::milliseconds kHandOverLimit{2000};

    QtSerialPort();

    void open(const QString& deviceName) override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    void write(const QByteArray& bytes) override;
    void drain(std::chrono::milliseconds limit) override;
    void discardInput() override;
    QByteArray readAll() override;

private:
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void requireOpen(const char* operation);
    void failIfLost();
    [[noreturn]] void fail(const std::string& what);
    void drainToUart(std::chrono::steady_clock::time_point deadline);

    QSerialPort m_port;
    QString m_deviceName;
    bool m_lost = false;
};
