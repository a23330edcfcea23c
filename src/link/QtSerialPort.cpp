#include "QtSerialPort.h"

#include "Errors.h"

namespace {
std::string describe(const QSerialPort& port) {
    return port.portName().toStdString() + ": " + port.errorString().toStdString();
}
}  // namespace

void QtSerialPort::open(const QString& deviceName) {
    m_port.setPortName(deviceName);
    if (!m_port.open(QIODevice::ReadWrite)) {
        throw PortError(describe(m_port));
    }
    const bool configured = m_port.setBaudRate(QSerialPort::Baud19200) &&
                            m_port.setDataBits(QSerialPort::Data8) &&
                            m_port.setParity(QSerialPort::NoParity) &&
                            m_port.setStopBits(QSerialPort::OneStop) &&
                            m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        const std::string why = describe(m_port);
        m_port.close();
        throw PortError(why);
    }
}

void QtSerialPort::close() { m_port.close(); }

void QtSerialPort::write(const QByteArray& bytes) {
    if (m_port.write(bytes) != bytes.size()) {
        throw PortError(describe(m_port));
    }
}

void QtSerialPort::drain(std::chrono::milliseconds limit) {
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(static_cast<int>(limit.count()))) {
            throw PortError(describe(m_port));
        }
    }
}

void QtSerialPort::discardInput() { m_port.clear(QSerialPort::Input); }

QByteArray QtSerialPort::readAll() {
    while (m_port.waitForReadyRead(0)) {
    }
    m_port.clearError();
    return m_port.readAll();
}
