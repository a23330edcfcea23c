#include "camera/MjpegParser.h"

#include <QList>
#include <cstring>

namespace {

// Dashes allowed before the boundary on a delimiter line: the standard's two, plus those of a
// boundary declared with dashes of its own (a boundary is at most 70 characters).
constexpr qsizetype kMaxDashes = 72;
// Consumed bytes are moved out of the buffer once there are this many, so that feeding one byte
// at a time does not move the whole buffer on every byte.
constexpr qsizetype kCompactBytes = 64 * 1024;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isJpeg(const QByteArray& bytes) {
    return bytes.size() >= 4 && bytes.startsWith("\xFF\xD8") && bytes.endsWith("\xFF\xD9");
}

QByteArray withoutLineBreaks(QByteArray body) {
    qsizetype end = body.size();
    while (end > 0 && (body.at(end - 1) == '\r' || body.at(end - 1) == '\n')) {
        --end;
    }
    body.truncate(end);
    return body;
}

// The parameter `name` of a header value such as `type; name="value"`, unquoted; empty if
// absent.
QByteArray parameter(const QByteArray& value, const QByteArray& name) {
    const QList<QByteArray> fields = value.split(';');
    for (qsizetype i = 1; i < fields.size(); ++i) {
        const qsizetype equals = fields[i].indexOf('=');
        if (equals > 0 && fields[i].left(equals).trimmed().toLower() == name) {
            QByteArray v = fields[i].mid(equals + 1).trimmed();
            if (v.size() >= 2 && v.startsWith('"') && v.endsWith('"')) {
                v = v.mid(1, v.size() - 2);
            }
            return v;
        }
    }
    return {};
}

}  // namespace

MjpegParser::MjpegParser(const QByteArray& boundary, Limits limits)
    : m_boundary(boundary), m_limits(limits) {}

QByteArray MjpegParser::boundaryOf(const QByteArray& contentType) {
    const QByteArray type = contentType.left(contentType.indexOf(';')).trimmed().toLower();
    if (type != "multipart/x-mixed-replace") {
        return {};
    }
    QByteArray boundary = parameter(contentType, "boundary");
    qsizetype dashes = 0;
    while (dashes < boundary.size() && boundary.at(dashes) == '-') {
        ++dashes;
    }
    return boundary.mid(dashes);
}

QByteArray MjpegParser::takePicture() {
    QByteArray picture;
    picture.swap(m_newest);
    return picture;
}

void MjpegParser::feed(const char* bytes, qsizetype size) {
    if (m_state == State::Closed || m_state == State::Failed) {
        return;
    }
    m_buffer.append(bytes, size);
    while (step()) {
    }
    if (m_at == m_buffer.size() || m_at >= kCompactBytes) {
        m_buffer.remove(0, m_at);
        m_scanFrom -= m_at;
        m_at = 0;
    }
}

// Reads what the state waits for; false when it needs more bytes or the stream has ended.
bool MjpegParser::step() {
    switch (m_state) {
        case State::Delimiter:
            return readDelimiter();
        case State::Headers:
            return readHeaderLine();
        case State::CountedBody:
            return readCountedBody();
        case State::ScannedBody:
            return readScannedBody();
        case State::Closed:
        case State::Failed:
            return false;
    }
    return false;
}

// Where a delimiter must stand, blank lines and blanks before it are allowed; after a part read
// by its Content-Length, anything else means the length was wrong.
bool MjpegParser::readDelimiter() {
    while (m_at < m_buffer.size() &&
           (isBlank(m_buffer.at(m_at)) || m_buffer.at(m_at) == '\r' || m_buffer.at(m_at) == '\n')) {
        ++m_at;
    }
    qsizetype lineEnd = 0;
    switch (delimiterAt(m_at, lineEnd)) {
        case Line::Maybe:
            return false;
        case Line::No:
            fail(m_afterCountedBody ? Fault::WrongLength : Fault::NoBoundary);
            return false;
        case Line::Part:
            m_state = State::Headers;
            break;
        case Line::Close:
            m_state = State::Closed;
            break;
    }
    m_at = lineEnd;
    m_afterCountedBody = false;
    m_headerBytes = 0;
    m_length = -1;
    return true;
}

// Whether a delimiter line begins at `at`: dashes, the boundary, blanks, and a line break (Part)
// or two more dashes (Close); Maybe while the bytes so far could still become one.
MjpegParser::Line MjpegParser::delimiterAt(qsizetype at, qsizetype& lineEnd) const {
    const qsizetype end = m_buffer.size();
    qsizetype i = at;
    while (i < end && m_buffer.at(i) == '-' && i - at <= kMaxDashes) {
        ++i;
    }
    if (i - at > kMaxDashes) {
        return Line::No;
    }
    const qsizetype compared = std::min(m_boundary.size(), end - i);
    if (std::memcmp(m_buffer.constData() + i, m_boundary.constData(), compared) != 0) {
        return Line::No;
    }
    i += compared;
    while (i < end && isBlank(m_buffer.at(i)) && i - at <= m_limits.headerBytes) {
        ++i;
    }
    if (i - at > m_limits.headerBytes) {
        return Line::No;
    }
    if (i == end || (i + 1 == end && (m_buffer.at(i) == '\r' || m_buffer.at(i) == '-'))) {
        return Line::Maybe;
    }
    const char c = m_buffer.at(i);
    const char next = i + 1 < end ? m_buffer.at(i + 1) : '\0';
    lineEnd = c == '\n' ? i + 1 : i + 2;
    if (c == '\n' || (c == '\r' && next == '\n')) {
        return Line::Part;
    }
    return c == '-' && next == '-' ? Line::Close : Line::No;
}

bool MjpegParser::readHeaderLine() {
    const qsizetype newline = m_buffer.indexOf('\n', m_at);
    const qsizetype lineBytes = newline < 0 ? pending() : newline + 1 - m_at;
    if (m_headerBytes + lineBytes > m_limits.headerBytes) {
        fail(Fault::HeaderTooLarge);
        return false;
    }
    if (newline < 0) {
        return false;
    }
    m_headerBytes += lineBytes;
    QByteArrayView line(m_buffer.constData() + m_at, newline - m_at);
    m_at = newline + 1;
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    if (!line.isEmpty()) {
        headerRead(line);
        return m_state != State::Failed;
    }
    m_state = m_length >= 0 ? State::CountedBody : State::ScannedBody;
    m_scanFrom = m_at;
    return true;
}

void MjpegParser::headerRead(QByteArrayView line) {
    const qsizetype colon = line.indexOf(':');
    if (colon < 0 || line.first(colon).trimmed().compare("content-length", Qt::CaseInsensitive)) {
        return;
    }
    const QByteArrayView value = line.sliced(colon + 1).trimmed();
    bool ok = !value.isEmpty() && value.size() <= 15;
    for (const char c : value) {
        ok = ok && c >= '0' && c <= '9';
    }
    if (!ok) {
        fail(Fault::WrongLength);
        return;
    }
    m_length = value.toLongLong();
    if (m_length > m_limits.partBytes) {
        fail(Fault::PartTooLarge);
    }
}

// A counted part that begins like a JPEG but does not end like one was cut at the wrong length;
// one that does not even begin like one is no picture.
bool MjpegParser::readCountedBody() {
    if (pending() < m_length) {
        return false;
    }
    const QByteArray body = withoutLineBreaks(m_buffer.mid(m_at, m_length));
    m_at += m_length;
    if (!isJpeg(body)) {
        fail(body.startsWith("\xFF\xD8") ? Fault::WrongLength : Fault::NotJpeg);
        return false;
    }
    partRead(body);
    m_state = State::Delimiter;
    m_afterCountedBody = true;
    return true;
}

// A part without a length ends at the line break before the next delimiter line. The search
// goes on where it stopped, so each byte is looked at about once however the stream is cut.
bool MjpegParser::readScannedBody() {
    for (;;) {
        const qsizetype newline = m_buffer.indexOf('\n', m_scanFrom);
        if (newline < 0) {
            m_scanFrom = m_buffer.size();
            break;
        }
        if (newline - m_at > m_limits.partBytes) {
            m_scanFrom = newline;
            break;
        }
        qsizetype lineEnd = 0;
        const Line line = delimiterAt(newline + 1, lineEnd);
        if (line == Line::Maybe) {
            m_scanFrom = newline;
            break;
        }
        if (line == Line::No) {
            m_scanFrom = newline + 1;
            continue;
        }
        const QByteArray body = withoutLineBreaks(m_buffer.mid(m_at, newline - m_at));
        m_at = lineEnd;
        if (!isJpeg(body)) {
            fail(Fault::NotJpeg);
            return false;
        }
        partRead(body);
        m_state = line == Line::Close ? State::Closed : State::Headers;
        m_headerBytes = 0;
        m_length = -1;
        return true;
    }
    if (m_scanFrom - m_at > m_limits.partBytes) {
        fail(Fault::PartTooLarge);
    }
    return false;
}

void MjpegParser::partRead(QByteArray body) {
    ++m_pictures;
    if (!m_newest.isEmpty()) {
        ++m_dropped;
    }
    m_newest = std::move(body);
}

void MjpegParser::fail(Fault fault) {
    m_fault = fault;
    m_state = State::Failed;
    m_buffer = QByteArray();
    m_at = 0;
    m_scanFrom = 0;
}
