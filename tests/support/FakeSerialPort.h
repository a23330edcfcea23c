#pragma once

#include <QStringList>

#include "core/Errors.h"
#include "link/SerialPort.h"

// A serial port that records what is written to it. Answers are scripted: each entry of
// `answers` arrives as input after the next write. Failures on demand: failOpen makes open()
// throw, failWrite makes every write() throw, failOnWrite = n makes only the n-th write (from
// 1) throw.
class FakeSerialPort : public SerialPort {
public:
    void open(const QString& deviceName) override {
        if (failOpen) {
            throw PortError("fake: " + deviceName.toStdString() + " is held by another program");
        }
        openedDevices.append(deviceName);
        m_open = true;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void write(const QByteArray& bytes) override {
        if (!m_open || failWrite || ++m_writes == failOnWrite) {
            throw PortError("fake: write failed");
        }
        written.append(bytes);
        if (!answers.isEmpty()) {
            m_input += answers.takeFirst();
        }
    }
    void drain(std::chrono::milliseconds) override {}
    void discardInput() override { m_input.clear(); }
    QByteArray readAll() override { return std::exchange(m_input, QByteArray()); }

    QList<QByteArray> written;
    QStringList openedDevices;
    QList<QByteArray> answers;
    bool failOpen = false;
    bool failWrite = false;
    int failOnWrite = 0;

private:
    bool m_open = false;
    int m_writes = 0;
    QByteArray m_input;
};
