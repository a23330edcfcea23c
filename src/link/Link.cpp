#include "link/Link.h"

#include "core/Errors.h"
#include "link/SerialPort.h"

void Link::choosePort(const QString& label, const QString& device) {
    // The wizard leaves the port open; without closing it here the next packet would still go
    // to the port chosen before.
    if (m_port.isOpen()) {
        m_port.close();
    }
    m_label = label;
    m_device = device;
}

bool Link::isOpen() const {
    return m_port.isOpen();
}

void Link::open() {
    if (m_port.isOpen()) {
        return;
    }
    if (m_device.isEmpty()) {
        throw PortError(m_label.toStdString() + ": no serial device");
    }
    m_port.open(m_device);
}

void Link::sendPacket(const QByteArray& packet) {
    open();
    m_port.write(packet);
}

void Link::sendRequest(const QByteArray& packet) {
    open();
    m_port.discardInput();
    m_port.write(packet);
}

void Link::drain() {
    m_port.drain(kDrainLimit);
}

std::optional<QByteArray> Link::takeAnswer() {
    QByteArray answer = m_port.readAll();
    if (answer.isEmpty()) {
        return std::nullopt;
    }
    return answer;
}

void Link::closePort() {
    m_port.close();
}
