#include "link/QtSerialPort.h"

#include <QDeadlineTimer>
#include <QThread>
#include <string>

#include "core/Errors.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace {

// Pause between two looks at the driver's output queue while it empties: 1 ms is under two
// bytes of line time at 19200 bit/s.
constexpr std::chrono::milliseconds kDrainPollStep{1};
// How long readAll() keeps pulling in bytes that are already there; only a device flooding
// the line could make it run that long.
constexpr std::chrono::milliseconds kCollectLimit{200};

// A failed read or write system call means the device is gone or unusable: a pulled USB
// adapter, or a pseudo-terminal whose other end hung up (Qt reports those as ReadError, as
// the read sees end of file, not as ResourceError).
bool isLoss(QSerialPort::SerialPortError error) {
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
           error == QSerialPort::WriteError;
}

int remainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

std::string openFailureReason(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return "no such device";
        case QSerialPort::PermissionError:
            return "in use by another program, or access denied";
        case QSerialPort::OpenError:
            return "already open";
        case QSerialPort::UnsupportedOperationError:
            return "not a serial port";
        default:
            return "cannot be opened";
    }
}

}  // namespace

QtSerialPort::QtSerialPort() {
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { onErrorOccurred(error); });
}

void QtSerialPort::onErrorOccurred(QSerialPort::SerialPortError error) {
    // Closing here could pull the device from under a waitFor... call that is still running;
    // the next operation closes the port and reports the loss instead.
    if (isLoss(error)) {
        m_lost = true;
    }
}

void QtSerialPort::open(const QString& deviceName) {
    m_lost = false;
    m_deviceName = deviceName;
    m_port.setPortName(deviceName);
    if (!m_port.open(QIODevice::ReadWrite)) {
        throw PortError(deviceName.toStdString() + ": " + openFailureReason(m_port.error()) + " (" +
                        m_port.errorString().toStdString() + ")");
    }
    const bool configured =
        m_port.setBaudRate(QSerialPort::Baud19200) && m_port.setDataBits(QSerialPort::Data8) &&
        m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
        m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        fail("cannot set 19200 8N1");
    }
}

void QtSerialPort::close() {
    m_lost = false;
    if (m_port.isOpen()) {
        m_port.close();
    }
}

void QtSerialPort::fail(const std::string& what) {
    const std::string reason =
        m_lost ? std::string("device vanished") : m_port.errorString().toStdString();
    close();
    throw PortError(m_deviceName.toStdString() + ": " + what + " (" + reason + ")");
}

void QtSerialPort::failIfLost() {
    if (m_lost || isLoss(m_port.error())) {
        m_lost = true;
        fail("lost");
    }
}

void QtSerialPort::requireOpen(const char* operation) {
    failIfLost();
    if (!m_port.isOpen()) {
        throw PortError(m_deviceName.toStdString() + ": " + operation + " on a closed port");
    }
}

void QtSerialPort::write(const QByteArray& bytes) {
    requireOpen("write");
    if (m_port.write(bytes) != bytes.size()) {
        failIfLost();
        throw PortError(m_deviceName.toStdString() + ": write refused (" +
                        m_port.errorString().toStdString() + ")");
    }
    // QSerialPort only queues the bytes; without waiting they would sit in its buffer until
    // the event loop runs. The wait is only entered with bytes queued, as with nothing queued
    // it would block for its whole limit.
    const auto deadline = std::chrono::steady_clock::now() + kHandOverLimit;
    while (m_port.bytesToWrite() > 0 && m_port.waitForBytesWritten(remainingMs(deadline))) {
    }
    // A device that went away meanwhile is reported as gone, whether or not the bytes left.
    failIfLost();
    if (m_port.bytesToWrite() > 0) {
        throw PortError(m_deviceName.toStdString() + ": the system did not take the bytes");
    }
}

void QtSerialPort::drain(std::chrono::milliseconds limit) {
    requireOpen("drain");
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(remainingMs(deadline))) {
            failIfLost();
            throw PortError(m_deviceName.toStdString() + ": drain timed out");
        }
    }
    drainToUart(deadline);
}

void QtSerialPort::drainToUart(std::chrono::steady_clock::time_point deadline) {
#ifdef Q_OS_WIN
    // Blocks until the driver has sent everything; the port's write time-outs bound it.
    Q_UNUSED(deadline);
    if (!FlushFileBuffers(m_port.handle())) {
        fail("drain failed");
    }
#else
    // A plain tcdrain() has no time limit. The driver's queue is watched against the deadline
    // first; once it is empty, tcdrain() only waits for the last bytes in the UART itself.
    const int handle = m_port.handle();
    int queued = 0;
    while (::ioctl(handle, TIOCOUTQ, &queued) == 0 && queued > 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            throw PortError(m_deviceName.toStdString() + ": drain timed out with " +
                            std::to_string(queued) + " bytes unsent");
        }
        QThread::msleep(static_cast<unsigned long>(kDrainPollStep.count()));
    }
    if (::tcdrain(handle) != 0) {
        m_lost = true;
        fail("drain failed");
    }
#endif
}

void QtSerialPort::discardInput() {
    requireOpen("discard");
    // Drops both what QSerialPort has pulled in and what still waits in the system's buffer.
    m_port.clear(QSerialPort::Input);
}

QByteArray QtSerialPort::readAll() {
    requireOpen("read");
    // Received bytes reach QSerialPort only inside the event loop or a waitFor... call.
    // waitForReadyRead(0) sets TimeoutError when nothing is there; that is not a failure.
    const QDeadlineTimer collectLimit(kCollectLimit);
    while (!collectLimit.hasExpired() && m_port.waitForReadyRead(0)) {
    }
    failIfLost();
    m_port.clearError();
    return m_port.readAll();
}
