#include "PtyController.h"

#include <fcntl.h>
#include <QFile>
#include <QMetaMethod>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#ifdef __APPLE__
#include <util.h>
#else
#include <pty.h>
#endif
#include <termios.h>
#include <unistd.h>

namespace {

// One byte on the line at 19200 bit/s: start bit, 8 data bits, stop bit.
constexpr std::chrono::microseconds kByteTime{10 * 1000000 / 19200};

std::chrono::milliseconds untilNow(std::chrono::steady_clock::time_point when) {
    const auto left = when - std::chrono::steady_clock::now();
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::ceil<std::chrono::milliseconds>(left));
}

}  // namespace

PtyController::PtyController(QString linkPath, QObject* parent)
    : QObject(parent), m_linkPath(std::move(linkPath)) {}

PtyController::~PtyController() {
    closeLine();
    if (!m_linkPath.isEmpty()) {
        QFile::remove(m_linkPath);
    }
}

bool PtyController::start() {
    return openLine();
}

QString PtyController::devicePath() const {
    return m_linkPath.isEmpty() ? m_slavePath : m_linkPath;
}

bool PtyController::openLine() {
    // Raw from the start: with the default line discipline the slave would echo requests
    // back and mangle CR and LF bytes before the program under test sets its own mode.
    termios raw{};
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B19200);
    ::cfsetospeed(&raw, B19200);
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_error = QStringLiteral("openpty: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // The slave stays open here too: without any slave open, reading the master fails with
    // EIO over and over while the program under test has its port closed.
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);
    if (!m_linkPath.isEmpty()) {
        QFile::remove(m_linkPath);
        if (!QFile::link(m_slavePath, m_linkPath)) {
            m_error = QStringLiteral("cannot make the link ") + m_linkPath;
            closeLine();
            return false;
        }
    }
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyController::onReadable);
    return true;
}

void PtyController::closeLine() {
    delete m_notifier;
    m_notifier = nullptr;
    if (m_master >= 0) {
        ::close(m_master);
    }
    if (m_slave >= 0) {
        ::close(m_slave);
    }
    m_master = -1;
    m_slave = -1;
}

void PtyController::hangUp() {
    closeLine();
    ++m_lineGeneration;
    m_framer = PacketFramer();
    Q_EMIT logged(QStringLiteral("hung up"));
    if (openLine()) {
        Q_EMIT logged(QStringLiteral("new line on %1").arg(m_slavePath));
    } else {
        Q_EMIT logged(m_error);
    }
}

std::chrono::steady_clock::time_point PtyController::arrivalOf(int byteCount) {
    const auto now = std::chrono::steady_clock::now();
    if (!m_model.faults().lineTime) {
        return now;
    }
    // Bytes read together were written together; on a real line they would still be crossing
    // it one after another, behind whatever was crossing before.
    m_lineBusyUntil = std::max(now, m_lineBusyUntil) + kByteTime * byteCount;
    return m_lineBusyUntil;
}

void PtyController::onReadable() {
    char buffer[512];
    const ssize_t count = ::read(m_master, buffer, sizeof buffer);
    if (count <= 0) {
        return;
    }
    const auto arrived = arrivalOf(static_cast<int>(count));
    const QList<QByteArray> packets = m_framer.feed(QByteArray(buffer, static_cast<int>(count)));
    const int skipped = m_framer.takeSkipped();
    if (skipped > 0) {
        Q_EMIT logged(QStringLiteral("skipped %1 bytes outside any packet").arg(skipped));
    }
    for (const QByteArray& packet : packets) {
        handlePacket(packet, arrived);
    }
}

void PtyController::handlePacket(const QByteArray& packet,
                                 std::chrono::steady_clock::time_point arrived) {
    const int generation = m_lineGeneration;
    const ControllerModel::Reaction reaction = m_model.handle(packet);
    ++m_packetCount;
    // A snapshot costs a little; only a camera wants one.
    if (isSignalConnected(QMetaMethod::fromSignal(&PtyController::moduleChanged))) {
        Q_EMIT moduleChanged(m_packetCount, arrived, m_model.moduleSnapshot());
    }
    // The packet is handled only once it has crossed the line; until then it has not arrived.
    QTimer::singleShot(untilNow(arrived), Qt::PreciseTimer, this,
                       [this, packet, reaction, arrived, generation] {
                           if (generation != m_lineGeneration) {
                               return;
                           }
                           Q_EMIT received(packet);
                           Q_EMIT logged(reaction.log);
                           if (reaction.hangUp) {
                               hangUp();
                               return;
                           }
                           sendLater(reaction.answer, arrived + m_model.faults().answerDelay);
                           sendLater(reaction.stray, arrived);
                       });
}

void PtyController::sendLater(const QByteArray& bytes, std::chrono::steady_clock::time_point from) {
    if (bytes.isEmpty()) {
        return;
    }
    const std::chrono::microseconds lineTime = m_model.faults().lineTime
                                                   ? kByteTime * static_cast<int>(bytes.size())
                                                   : std::chrono::microseconds(0);
    const int generation = m_lineGeneration;
    QTimer::singleShot(
        untilNow(from + lineTime), Qt::PreciseTimer, this, [this, bytes, generation] {
            if (generation != m_lineGeneration || m_master < 0) {
                return;
            }
            if (::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size())) !=
                bytes.size()) {
                Q_EMIT logged(QStringLiteral("answer lost: the line is full"));
                return;
            }
            Q_EMIT logged(QStringLiteral("sent %1 bytes").arg(bytes.size()));
        });
}
