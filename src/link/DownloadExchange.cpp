#include "DownloadExchange.h"

#include "ControllerAnswers.h"
#include "Errors.h"
#include "Link.h"
#include "Packets.h"

DownloadExchange::DownloadExchange(Link& link, QObject* parent) : QObject(parent), m_link(link) {
    m_wait.setSingleShot(true);
    m_wait.setTimerType(Qt::PreciseTimer);
    connect(&m_wait, &QTimer::timeout, this, &DownloadExchange::onAnswerDue);
}

DownloadExchange::~DownloadExchange() {
    cancel();
}

void DownloadExchange::start(const QByteArray& image) {
    m_image = image;
    m_sent = 0;
    m_closing = false;
    m_lastPacket.clear();
    m_running = true;
    // The caller's first progress caption is painted before the port is touched.
    QMetaObject::invokeMethod(this, &DownloadExchange::sendDataPacket, Qt::QueuedConnection);
}

void DownloadExchange::sendDataPacket() {
    if (!m_running) {
        return;
    }
    try {
        const QByteArray data =
            m_image.mid(m_sent * Packets::kMapDataBytes, Packets::kMapDataBytes);
        const QByteArray packet = Packets::mapDataPacket(m_sent, data);
        m_link.sendRequest(packet);
        m_lastPacket = packet;
        ++m_sent;
        m_link.drain();
    } catch (const std::exception& e) {
        return failPort(e);
    }
    m_wait.start(m_sent == 1 ? Link::kFirstDataWait : Link::kAnswerWait);
}

void DownloadExchange::onAnswerDue() {
    if (m_closing) {
        return end({ExchangeOutcome::Kind::Done, kDataPackets + 1, {}});
    }
    std::optional<QByteArray> answer;
    try {
        answer = m_link.takeAnswer();
    } catch (const std::exception& e) {
        return failPort(e);
    }
    if (!answer || !ControllerAnswers::isAcknowledge(*answer)) {
        return end({ExchangeOutcome::Kind::NotAccepted, m_sent, {}});
    }
    Q_EMIT acknowledged(m_sent);
    if (!m_running) {
        return;  // cancelled by whoever heard of the progress
    }
    if (m_sent < kDataPackets) {
        return sendDataPacket();
    }
    sendClosingPacket();
}

void DownloadExchange::sendClosingPacket() {
    try {
        m_link.sendPacket(Packets::downLoadEnd(kDataPackets, m_lastPacket.mid(9)));
        m_link.drain();
    } catch (const std::exception& e) {
        return failPort(e);
    }
    m_closing = true;
    m_wait.start(Link::kAnswerWait);
}

void DownloadExchange::failPort(const std::exception& e) {
    end({ExchangeOutcome::Kind::PortFailed, m_closing ? kDataPackets + 1 : m_sent,
         QString::fromUtf8(e.what())});
}

void DownloadExchange::end(ExchangeOutcome outcome) {
    m_wait.stop();
    m_link.closePort();
    m_running = false;
    Q_EMIT finished(outcome);
}

void DownloadExchange::cancel() {
    if (!m_running) {
        return;
    }
    m_wait.stop();
    m_running = false;
    m_link.closePort();
}
