#include "Link.h"

#include <QThread>
#include <utility>

#include "Errors.h"
#include "SerialPort.h"

Link::Link(SerialPort& port, std::function<QString(int)> resolveName)
    : m_port(port),
      m_resolveName(std::move(resolveName)),
      m_sleep([](std::chrono::milliseconds delay) {
          QThread::msleep(static_cast<unsigned long>(delay.count()));
      }) {}

void Link::setPortNumber(Int16 number) {
    m_portNumber = number;
}

bool Link::isOpen() const {
    return m_port.isOpen();
}

void Link::onCombo1Click(int listIndex) {
    // The wizard leaves the port open; without closing it here the next packet would still
    // go to the port chosen before, not the one the list now shows.
    if (m_port.isOpen()) {
        m_port.close();
    }
    setPortNumber(Int16(listIndex) + 1);
}

void Link::openIfClosed() {
    if (m_port.isOpen()) {
        return;
    }
    const QString device = m_resolveName(portNumber());
    if (device.isEmpty()) {
        throw PortError("COM" + std::to_string(portNumber()) + ": no serial device");
    }
    m_port.open(device);
}

void Link::sendPacket(const QByteArray& packet) {
    openIfClosed();
    m_port.write(packet);
}

void Link::sendRequest(const QByteArray& packet) {
    openIfClosed();
    m_port.discardInput();
    m_port.write(packet);
}

std::optional<QByteArray> Link::awaitAnswer(std::chrono::milliseconds delay) {
    drain();
    m_sleep(delay);
    return takeAnswer();
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

void Link::setSleeper(Sleeper sleeper) {
    m_sleep = std::move(sleeper);
}
