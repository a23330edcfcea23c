#include "FakeSerialPort.h"

#include "Errors.h"

void FakeSerialPort::open(const QString& deviceName) {
    if (failOpen) {
        throw PortError("fake: " + deviceName.toStdString() + " is held by another program");
    }
    openedDevices.append(deviceName);
    m_open = true;
}

void FakeSerialPort::close() {
    if (m_open) {
        ++closeCount;
    }
    m_open = false;
}

void FakeSerialPort::write(const QByteArray& bytes) {
    if (!m_open || failWrite) {
        throw PortError("fake: write failed");
    }
    written.append(bytes);
    if (!answers.isEmpty()) {
        pendingInput += answers.takeFirst();
    }
}

void FakeSerialPort::drain(std::chrono::milliseconds) {
    if (!m_open || failDrain) {
        throw PortError("fake: drain timed out");
    }
}

void FakeSerialPort::discardInput() { pendingInput.clear(); }

QByteArray FakeSerialPort::readAll() {
    QByteArray all = pendingInput;
    pendingInput.clear();
    return all;
}
