// The Motion-JPEG parser on any Content-Type and body: the input's first byte chooses how the
// body is cut, its first line is the Content-Type, the rest is the body. With limits of 512
// bytes a part and 256 bytes of headers:
//  - fed whole, and fed in chunks with the picture taken after each, the parser finds the same
//    number of pictures and ends with the same fault and the same closing; the last picture
//    taken is the newest of the whole;
//  - every picture taken begins FF D8, ends FF D9, is no longer than the part limit, and stands
//    in the body; pictures found = pictures taken + pictures dropped;
//  - what waits unconsumed after each chunk stays within the limits.
#include <QByteArray>
#include <QList>
#include <algorithm>
#include <cstdint>

#include "FuzzCheck.h"
#include "camera/MjpegParser.h"

namespace {

const MjpegLimits kLimits{512, 256};

// Feeds the body in chunks of 1..64 bytes drawn from `seed` and takes the picture after every
// chunk. Returns the pictures taken.
QList<QByteArray> feedInChunks(MjpegParser& parser, const QByteArray& body, std::uint32_t seed) {
    QList<QByteArray> taken;
    for (qsizetype at = 0; at < body.size();) {
        seed = seed * 1103515245u + 12345u;
        const qsizetype chunk = std::min<qsizetype>(1 + (seed >> 16) % 64, body.size() - at);
        parser.feed(body.constData() + at, chunk);
        at += chunk;
        require(parser.pendingBytes() <= kLimits.partBytes + kLimits.headerBytes + 74 + body.size(),
                "what waits unconsumed stays within the limits");
        if (parser.hasPicture()) {
            taken += parser.takePicture();
        }
    }
    return taken;
}

void checkPicture(const QByteArray& picture, const QByteArray& body) {
    require(picture.size() >= 4 && picture.startsWith("\xFF\xD8") && picture.endsWith("\xFF\xD9"),
            "a picture begins FF D8 and ends FF D9");
    require(picture.size() <= kLimits.partBytes, "a picture is no longer than the part limit");
    require(body.contains(picture), "a picture stands in the body");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (input.isEmpty()) {
        return 0;
    }
    const std::uint32_t seed = static_cast<unsigned char>(input.at(0));
    const qsizetype lineEnd = input.indexOf('\n');
    const QByteArray boundary = MjpegParser::boundaryOf(input.mid(1, lineEnd - 1));
    if (lineEnd < 0 || boundary.isEmpty()) {
        return 0;
    }
    require(!boundary.startsWith('-'), "a boundary is given without its leading dashes");
    const QByteArray body = input.mid(lineEnd + 1);

    MjpegParser whole(boundary, kLimits);
    whole.feed(body);
    const QByteArray newest = whole.takePicture();
    if (!newest.isEmpty()) {
        checkPicture(newest, body);
    }

    MjpegParser chunked(boundary, kLimits);
    const QList<QByteArray> taken = feedInChunks(chunked, body, seed);
    require(chunked.pictureCount() == whole.pictureCount() && chunked.fault() == whole.fault() &&
                chunked.isClosed() == whole.isClosed(),
            "chunks give the same pictures, fault and end");
    require(chunked.pictureCount() == taken.size() + chunked.droppedCount(),
            "pictures found = pictures taken + pictures dropped");
    for (const QByteArray& picture : taken) {
        checkPicture(picture, body);
    }
    require(taken.isEmpty() == newest.isEmpty() && (taken.isEmpty() || taken.last() == newest),
            "the last picture taken is the newest");
    return 0;
}
