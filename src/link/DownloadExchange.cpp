#include "link/DownloadExchange.h"

#include <string>

#include "core/Errors.h"
#include "core/MapLayout.h"
#include "link/ControllerAnswers.h"
#include "link/Link.h"
#include "link/Packets.h"

static_assert(DownloadExchange::kDataPackets * Packets::kMapDataBytes == MapLayout::kImageSize,
              "the data packets carry the whole image");

DownloadExchange::DownloadExchange(Link& link, QObject* parent) : QObject(parent), m_link(link) {
    m_wait.setSingleShot(true);
    m_wait.setTimerType(Qt::PreciseTimer);
    connect(&m_wait, &QTimer::timeout, this, &DownloadExchange::onAnswerDue);
}

DownloadExchange::~DownloadExchange() {
    cancel();
}

void DownloadExchange::start(const QByteArray& image) {
    if (image.size() != MapLayout::kImageSize) {
        throw RangeError("a download sends a whole map image, not " + std::to_string(image.size()) +
                         " bytes");
    }
    m_image = image;
    m_packet = 0;
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
        m_link.open();
    } catch (const PortError& e) {
        return failPort(e);  // before the first packet: nothing was sent
    }
    ++m_packet;
    const int sequence = m_packet - 1;
    const QByteArray packet = Packets::mapDataPacket(
        sequence, m_image.mid(sequence * Packets::kMapDataBytes, Packets::kMapDataBytes));
    try {
        m_link.sendRequest(packet);
        m_lastPacket = packet;
        m_link.drain();
    } catch (const PortError& e) {
        return failPort(e);
    }
    m_wait.start(m_packet == 1 ? Link::kFirstDataWait : Link::kAnswerWait);
}

void DownloadExchange::onAnswerDue() {
    if (m_packet > kDataPackets) {
        return end({ExchangeOutcome::Kind::Done, m_packet, {}});
    }
    std::optional<QByteArray> answer;
    try {
        answer = m_link.takeAnswer();
    } catch (const PortError& e) {
        return failPort(e);
    }
    if (!answer || !ControllerAnswers::isAcknowledge(*answer)) {
        return end({ExchangeOutcome::Kind::NotAccepted, m_packet, {}});
    }
    Q_EMIT acknowledged(m_packet);
    if (!m_running) {
        return;  // cancelled by whoever heard of the progress
    }
    if (m_packet < kDataPackets) {
        return sendDataPacket();
    }
    sendClosingPacket();
}

void DownloadExchange::sendClosingPacket() {
    ++m_packet;
    try {
        m_link.sendPacket(
            Packets::downLoadEnd(kDataPackets, m_lastPacket.mid(Packets::kDownLoadEndTailAt)));
        m_link.drain();
    } catch (const PortError& e) {
        return failPort(e);
    }
    m_wait.start(Link::kAnswerWait);
}

void DownloadExchange::failPort(const PortError& e) {
    end({ExchangeOutcome::Kind::PortFailed, m_packet, QString::fromUtf8(e.what())});
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
