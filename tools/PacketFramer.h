#pragma once

#include <QByteArray>
#include <QList>

// Cuts a byte stream into packets: 5A A5, then a length byte of 13, 40 or 136, then the rest
// of that length. Bytes that cannot start a packet are skipped and counted.
// Example: feed("\x06\x5A\xA5\x0D" + 10 more bytes) gives one 13-byte packet, skipped() == 1.
class PacketFramer {
public:
    // Every packet completed by bytes, in order; an incomplete tail is kept for the next call.
    QList<QByteArray> feed(const QByteArray& bytes);
    // Bytes dropped since the last call to takeSkipped().
    int takeSkipped();

private:
    bool startsPacket() const;

    QByteArray m_pending;
    int m_skipped = 0;
};
