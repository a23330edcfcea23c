#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

// The seam to the serial line. The real implementation drives a QSerialPort; tests use a
// recording fake. Every failure throws PortError; none of these calls blocks without a limit.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the device at 19200 bit/s, 8 data bits, no parity, one stop bit, no flow control.
    virtual void open(const QString& deviceName) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Hands every byte to the line.
    virtual void write(const QByteArray& bytes) = 0;
    // Returns once every written byte has left the line, or throws PortError after limit.
    virtual void drain(std::chrono::milliseconds limit) = 0;
    // Drops bytes received and not yet read.
    virtual void discardInput() = 0;
    // Everything received and not yet read, at once, as raw bytes (empty when nothing came).
    virtual QByteArray readAll() = 0;
};
