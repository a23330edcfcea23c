#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// Finds the pictures in the body of a multipart/x-mixed-replace answer (Motion-JPEG over HTTP),
// fed in chunks of any size, and keeps only the newest complete JPEG. Pure: no I/O, no clock.
//
// The body is a row of parts, each opened by a delimiter line: dashes and the boundary (any
// number of dashes, since cameras disagree on whether the boundary they declare already holds
// the two the standard adds), then headers, a blank line and the picture. A part with a
// Content-Length header is that many bytes long; one without ends at the next delimiter line.
// Header names are read without regard to case; lines may end in CR LF or LF alone.
//
// For boundary "frame", this body gives one picture, FF D8 FF D9:
//   "--frame\r\nContent-Type: image/jpeg\r\nContent-Length: 4\r\n\r\n\xFF\xD8\xFF\xD9\r\n"
//
// The first fault ends the stream: the parser then ignores what it is fed, holds no buffer,
// and fault() tells what was wrong. Its buffer never holds more than the header limit plus the
// part limit plus one line.
// The most a part may hold, and the most its headers (with their line breaks) may hold.
struct MjpegLimits {
    qsizetype partBytes = 8 * 1024 * 1024;
    qsizetype headerBytes = 16 * 1024;
};

class MjpegParser {
public:
    enum class Fault {
        None,
        NoBoundary,      // something else where a delimiter line must stand
        WrongLength,     // a Content-Length that is no number or does not end where a part ends
        NotJpeg,         // a part that does not begin FF D8 and end FF D9
        PartTooLarge,    // a part longer than the part limit
        HeaderTooLarge,  // a part's headers, or a line where a delimiter must stand, too long
    };

    using Limits = MjpegLimits;

    // `boundary` as boundaryOf() gives it: not empty, without leading dashes.
    explicit MjpegParser(const QByteArray& boundary, Limits limits = Limits());

    // The boundary a Content-Type header declares, without its leading dashes and quotes; empty
    // when the type is not multipart/x-mixed-replace (in any case) or names no boundary.
    //   boundaryOf("multipart/x-mixed-replace; boundary=\"--frame\"") == "frame"
    static QByteArray boundaryOf(const QByteArray& contentType);

    void feed(const char* bytes, qsizetype size);
    void feed(const QByteArray& bytes) { feed(bytes.constData(), bytes.size()); }

    // Whether a complete picture waits to be taken; takePicture() hands it over (empty if none).
    bool hasPicture() const { return !m_newest.isEmpty(); }
    QByteArray takePicture();

    // Complete pictures found so far, and those of them replaced by a newer one before they
    // were taken.
    qint64 pictureCount() const { return m_pictures; }
    qint64 droppedCount() const { return m_dropped; }

    // Bytes fed and not yet consumed, after feed() returns: at most the part limit, the header
    // limit, the boundary and 74 bytes more (a delimiter line's dashes and line break); 0 after
    // a fault.
    qsizetype pendingBytes() const { return pending(); }

    Fault fault() const { return m_fault; }
    // Whether the closing delimiter ("--frame--") has been seen; what follows it is ignored.
    bool isClosed() const { return m_state == State::Closed; }

private:
    enum class State { Delimiter, Headers, CountedBody, ScannedBody, Closed, Failed };
    enum class Line { No, Maybe, Part, Close };

    bool step();
    bool readDelimiter();
    bool readHeaderLine();
    bool readCountedBody();
    bool readScannedBody();
    Line delimiterAt(qsizetype at, qsizetype& lineEnd) const;
    void headerRead(QByteArrayView line);
    void partRead(QByteArray body);
    void fail(Fault fault);
    qsizetype pending() const { return m_buffer.size() - m_at; }

    QByteArray m_boundary;
    Limits m_limits;
    QByteArray m_buffer;
    qsizetype m_at = 0;           // the first byte not yet consumed
    qsizetype m_scanFrom = 0;     // where the search for a delimiter goes on in a scanned body
    qsizetype m_headerBytes = 0;  // of the part being read
    qint64 m_length = -1;         // the part's Content-Length, -1 without one
    bool m_afterCountedBody = false;
    State m_state = State::Delimiter;
    Fault m_fault = Fault::None;
    QByteArray m_newest;
    qint64 m_pictures = 0;
    qint64 m_dropped = 0;
};
