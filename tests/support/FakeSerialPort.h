#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "SerialPort.h"

// A serial port that records what is done to it. Answers are scripted: each entry of
// `answers` is delivered as the input that arrives after the next write. Failures on demand:
// failOpen makes open() throw, failWrite makes write() throw, failDrain makes drain() throw,
// vanishOnWrite makes the next write() behave as a device pulled while open (the port closes
// itself and the write throws).
class FakeSerialPort : public SerialPort {
public:
    void open(const QString& deviceName) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void write(const QByteArray& bytes) override;
    void drain(std::chrono::milliseconds limit) override;
    void discardInput() override;
    QByteArray readAll() override;

    // Every packet written, in order.
    QList<QByteArray> written;
    QStringList openedDevices;
    int closeCount = 0;
    QList<QByteArray> answers;
    QByteArray pendingInput;
    bool failOpen = false;
    bool failWrite = false;
    bool failDrain = false;
    bool vanishOnWrite = false;
    // Every call in order: "open <device>", "close", "write", "drain <ms>", "discard", "read".
    QStringList calls;

private:
    bool m_open = false;
};
