#include "PacketFramer.h"

namespace {
bool isPacketLength(unsigned char length) {
    return length == 13 || length == 40 || length == 136;
}
}  // namespace

bool PacketFramer::startsPacket() const {
    // A prefix of a possible header is kept until the next bytes decide.
    const auto byteAt = [this](int i) { return static_cast<unsigned char>(m_pending.at(i)); };
    if (byteAt(0) != 0x5A) {
        return false;
    }
    if (m_pending.size() > 1 && byteAt(1) != 0xA5) {
        return false;
    }
    return m_pending.size() <= 2 || isPacketLength(byteAt(2));
}

QList<QByteArray> PacketFramer::feed(const QByteArray& bytes) {
    m_pending += bytes;
    QList<QByteArray> packets;
    while (!m_pending.isEmpty()) {
        if (!startsPacket()) {
            m_pending.remove(0, 1);
            ++m_skipped;
            continue;
        }
        if (m_pending.size() < 3) {
            break;
        }
        const int length = static_cast<unsigned char>(m_pending.at(2));
        if (m_pending.size() < length) {
            break;
        }
        packets.append(m_pending.left(length));
        m_pending.remove(0, length);
    }
    return packets;
}

int PacketFramer::takeSkipped() {
    const int skipped = m_skipped;
    m_skipped = 0;
    return skipped;
}
