// The simulated controller's packet framer on any byte stream, fed whole and fed in chunks of
// lengths taken from the stream: the same packets and the same skipped bytes either way; every
// packet begins 5A A5 with a length byte of 13, 40 or 136 and has that length, and the packets
// stand in the stream in order; no byte that begins a whole packet is skipped; bytes in = bytes
// of packets + bytes skipped + bytes pending, where what is pending is the beginning of a
// possible packet at the stream's end.
#include <QByteArray>
#include <QList>
#include <algorithm>
#include <cstdint>

#include "FuzzCheck.h"
#include "PacketFramer.h"

namespace {

bool isPacketLength(int length) {
    return length == 13 || length == 40 || length == 136;
}

int byteAt(const QByteArray& bytes, qsizetype i) {
    return static_cast<unsigned char>(bytes.at(i));
}

// Whether a whole packet (5A A5, a length byte of 13, 40 or 136, and that many bytes) begins at.
bool wholePacketAt(const QByteArray& stream, qsizetype at) {
    return at + 3 <= stream.size() && byteAt(stream, at) == 0x5A &&
           byteAt(stream, at + 1) == 0xA5 && isPacketLength(byteAt(stream, at + 2)) &&
           at + byteAt(stream, at + 2) <= stream.size();
}

// Bytes from `from` up to `to` were skipped: none of them may begin a whole packet.
void checkSkipped(const QByteArray& stream, qsizetype from, qsizetype to) {
    for (qsizetype at = from; at < to; ++at) {
        require(!wholePacketAt(stream, at), "no byte that begins a whole packet is skipped");
    }
}

// The bytes the packets take up; each checked for its shape and its place in the stream, and
// the bytes skipped before it. `end` is where the last packet ends.
qsizetype checkPackets(const QList<QByteArray>& packets, const QByteArray& stream,
                       qsizetype& end) {
    qsizetype bytes = 0;
    qsizetype from = 0;
    for (const QByteArray& p : packets) {
        require(p.size() >= 3 && byteAt(p, 0) == 0x5A && byteAt(p, 1) == 0xA5,
                "a packet begins 5A A5");
        require(isPacketLength(byteAt(p, 2)) && p.size() == byteAt(p, 2),
                "a packet's length byte is 13, 40 or 136 and its length");
        const qsizetype at = stream.indexOf(p, from);
        require(at >= 0, "the packets stand in the stream, in order");
        checkSkipped(stream, from, at);
        from = at + p.size();
        bytes += p.size();
    }
    end = from;
    return bytes;
}

// The beginning of a packet that the next bytes could still complete.
bool couldStartPacket(const QByteArray& tail) {
    return tail.isEmpty() ||
           (byteAt(tail, 0) == 0x5A && (tail.size() < 2 || byteAt(tail, 1) == 0xA5) &&
            (tail.size() < 3 ||
             (isPacketLength(byteAt(tail, 2)) && tail.size() < byteAt(tail, 2))));
}

// Feeds the stream in chunks of 1..128 bytes, their lengths drawn from the stream's first byte.
QList<QByteArray> feedInChunks(PacketFramer& framer, const QByteArray& stream, int& skipped) {
    QList<QByteArray> packets;
    std::uint32_t state = stream.isEmpty() ? 1u : 1u + byteAt(stream, 0);
    for (qsizetype at = 0; at < stream.size();) {
        state = state * 1103515245u + 12345u;
        const qsizetype chunk = 1 + (state >> 16) % 128;
        const qsizetype length = std::min(chunk, stream.size() - at);
        packets += framer.feed(QByteArray::fromRawData(stream.constData() + at, length));
        skipped += framer.takeSkipped();
        at += chunk;
    }
    return packets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray stream =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    PacketFramer whole;
    const QList<QByteArray> packets = whole.feed(stream);
    const int skipped = whole.takeSkipped();
    qsizetype end = 0;
    const qsizetype pending = stream.size() - checkPackets(packets, stream, end) - skipped;
    require(pending >= 0 && pending < 136, "bytes in = packets + skipped + pending");
    checkSkipped(stream, end, stream.size() - pending);
    const QByteArray tail = stream.right(pending);
    require(couldStartPacket(tail), "what is pending could still become a packet");

    PacketFramer chunked;
    int chunkedSkipped = 0;
    require(feedInChunks(chunked, stream, chunkedSkipped) == packets && chunkedSkipped == skipped,
            "chunks give the same packets and skip the same bytes");

    if (pending == 0) {
        return 0;
    }
    // Zeros to complete the packet that is pending, or one zero that cannot follow 5A or 5A A5.
    const qsizetype zeros = pending >= 3 ? byteAt(tail, 2) - pending : 1;
    const QList<QByteArray> rest = whole.feed(QByteArray(zeros, '\0'));
    const int restSkipped = whole.takeSkipped();
    require(pending >= 3
                ? rest.size() == 1 && rest[0] == tail + QByteArray(zeros, '\0') && restSkipped == 0
                : rest.isEmpty() && restSkipped == pending + 1,
            "the pending bytes are the beginning of the next packet, or skipped");
    return 0;
}
