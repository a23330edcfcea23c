#include "FakeSerialPort.h"

#include "Errors.h"

void FakeSerialPort::open(const QString& deviceName) {
    calls.append(QStringLiteral("open ") + deviceName);
    if (failOpen) {
        throw PortError("fake: " + deviceName.toStdString() + " is held by another program");
    }
    openedDevices.append(deviceName);
    m_open = true;
}

void FakeSerialPort::close() {
    calls.append(QStringLiteral("close"));
    if (m_open) {
        ++closeCount;
    }
    m_open = false;
}

void FakeSerialPort::write(const QByteArray& bytes) {
    calls.append(QStringLiteral("write"));
    if (m_open && vanishOnWrite) {
        vanishOnWrite = false;
        m_open = false;
        throw PortError("fake: device vanished");
    }
    if (!m_open || failWrite) {
        throw PortError("fake: write failed");
    }
    written.append(bytes);
    if (!answers.isEmpty()) {
        pendingInput += answers.takeFirst();
    }
}

void FakeSerialPort::drain(std::chrono::milliseconds limit) {
    calls.append(QStringLiteral("drain %1").arg(limit.count()));
    if (!m_open || failDrain) {
        throw PortError("fake: drain timed out");
    }
}

void FakeSerialPort::discardInput() {
    calls.append(QStringLiteral("discard"));
    pendingInput.clear();
}

QByteArray FakeSerialPort::readAll() {
    calls.append(QStringLiteral("read"));
    QByteArray all = pendingInput;
    pendingInput.clear();
    return all;
}
