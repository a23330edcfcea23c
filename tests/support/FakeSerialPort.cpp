#include "FakeSerialPort.h"

#include "Errors.h"

void FakeSerialPort::open(const QString& deviceName) {
    if (failOpen) {
        throw PortError("fake: " + deviceName.toStdString() + " is held by another program");
    }
    openedDevices.append(deviceName);
    m_open = true;
}

void FakeSerialPort::write(const QByteArray& bytes) {
    if (!m_open || failWrite || ++m_writes == failOnWrite) {
        throw PortError("fake: write failed");
    }
    written.append(bytes);
    if (!answers.isEmpty()) {
        m_input += answers.takeFirst();
    }
}
