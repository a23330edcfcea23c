#pragma once

#include <QSerialPort>

#include "SerialPort.h"

// The serial line over a real device, through QSerialPort.
class QtSerialPort : public SerialPort {
public:
    QtSerialPort() = default;

    void open(const QString& deviceName) override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    void write(const QByteArray& bytes) override;
    void drain(std::chrono::milliseconds limit) override;
    void discardInput() override;
    QByteArray readAll() override;

private:
    QSerialPort m_port;
};
