#include "camera/MjpegReader.h"

namespace {

// An answer's head (status line and headers) longer than this is no camera's.
constexpr qsizetype kMaxHeadBytes = 16 * 1024;

// The status code of an answer's first line, "HTTP/1.1 404 Not Found" -> 404; 0 if there is
// none.
int statusCode(const QByteArray& head) {
    const QList<QByteArray> words = head.left(head.indexOf('\n')).simplified().split(' ');
    if (words.size() < 2 || !words[0].startsWith("HTTP/")) {
        return 0;
    }
    return words[1].toInt();
}

// The value of a header of the head, its name in any case; empty if absent.
QByteArray headerValue(const QByteArray& head, const QByteArray& name) {
    const QList<QByteArray> lines = head.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0 && lines[i].left(colon).trimmed().toLower() == name) {
            return lines[i].mid(colon + 1).trimmed();
        }
    }
    return {};
}

// Where the head ends and the body begins, or -1 while the blank line has not come.
qsizetype bodyStart(const QByteArray& head) {
    const qsizetype crlf = head.indexOf("\r\n\r\n");
    const qsizetype lf = head.indexOf("\n\n");
    if (crlf >= 0 && (lf < 0 || crlf < lf)) {
        return crlf + 4;
    }
    return lf >= 0 ? lf + 2 : -1;
}

}  // namespace

MjpegReader::MjpegReader(const QUrl& url, MjpegTimeouts timeouts, qint64 firstSequence,
                         std::function<void(CameraFrame)> onPicture)
    : m_url(url),
      m_timeouts(timeouts),
      m_firstSequence(firstSequence),
      m_onPicture(std::move(onPicture)) {
    m_firstByteTimer.setSingleShot(true);
    m_pictureTimer.setSingleShot(true);
    connect(&m_firstByteTimer, &QTimer::timeout, this, [this] { fail(silentText()); });
    connect(&m_pictureTimer, &QTimer::timeout, this, [this] { fail(stoppedText()); });
    connect(&m_socket, &QTcpSocket::connected, this, &MjpegReader::sendRequest);
    connect(&m_socket, &QTcpSocket::readyRead, this, &MjpegReader::readAnswer);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &MjpegReader::socketFailed);
}

qint64 MjpegReader::nextSequence() const {
    return m_firstSequence + (m_parser ? m_parser->pictureCount() : 0);
}

QString MjpegReader::shownAddress(const QUrl& url) {
    return url.toDisplayString(QUrl::RemoveUserInfo);
}

void MjpegReader::start() {
    m_firstByteTimer.start(m_timeouts.firstByte);
    m_socket.connectToHost(m_url.host(), static_cast<quint16>(m_url.port(80)));
}

void MjpegReader::sendRequest() {
    const QByteArray path = m_url.path(QUrl::FullyEncoded).isEmpty()
                                ? QByteArray("/")
                                : m_url.path(QUrl::FullyEncoded).toLatin1();
    const QByteArray query =
        m_url.hasQuery() ? "?" + m_url.query(QUrl::FullyEncoded).toLatin1() : QByteArray();
    const QByteArray port = m_url.port() >= 0 ? ":" + QByteArray::number(m_url.port()) : "";
    QByteArray request = "GET " + path + query +
                         " HTTP/1.0\r\nHost: " + m_url.host(QUrl::FullyEncoded).toLatin1() + port +
                         "\r\nAccept: multipart/x-mixed-replace, image/jpeg\r\n";
    if (!m_url.userName().isEmpty()) {
        const QByteArray user = m_url.userName().toUtf8() + ':' + m_url.password().toUtf8();
        request += "Authorization: Basic " + user.toBase64() + "\r\n";
    }
    m_socket.write(request + "\r\n");
}

void MjpegReader::readAnswer() {
    const QByteArray bytes = m_socket.readAll();
    if (m_failed || bytes.isEmpty()) {
        return;
    }
    if (!m_answered) {
        m_answered = true;
        m_firstByteTimer.stop();
        m_pictureTimer.start(m_timeouts.picture);
    }
    if (m_parser) {
        readBody(bytes);
        return;
    }
    m_head += bytes;
    if (readHead()) {
        const QByteArray body = m_head.mid(bodyStart(m_head));
        m_head.clear();
        readBody(body);
    }
}

// Whether the head is complete and announces a Motion-JPEG stream; the parser is then made.
bool MjpegReader::readHead() {
    const qsizetype start = bodyStart(m_head);
    if (start < 0) {
        if (m_head.size() > kMaxHeadBytes) {
            fail(faultText(MjpegParser::Fault::NotJpeg));
        }
        return false;
    }
    const QByteArray head = m_head.left(start);
    const int status = statusCode(head);
    if (status != 200) {
        fail(tr("相机 %1 没有提供视频流（HTTP 应答 %2），请检查地址")
                 .arg(shownAddress(m_url))
                 .arg(status));
        return false;
    }
    const QByteArray boundary = MjpegParser::boundaryOf(headerValue(head, "content-type"));
    if (boundary.isEmpty()) {
        fail(faultText(MjpegParser::Fault::NotJpeg));
        return false;
    }
    m_parser.emplace(boundary);
    return true;
}

void MjpegReader::readBody(const QByteArray& bytes) {
    m_parser->feed(bytes);
    if (m_parser->fault() != MjpegParser::Fault::None) {
        fail(faultText(m_parser->fault()));
        return;
    }
    if (!m_parser->hasPicture()) {
        return;
    }
    m_pictureTimer.start(m_timeouts.picture);
    CameraFrame frame;
    frame.sequence = nextSequence() - 1;
    frame.arrived = std::chrono::steady_clock::now();
    frame.jpeg = m_parser->takePicture();
    m_onPicture(std::move(frame));
}

void MjpegReader::socketFailed(QAbstractSocket::SocketError error) {
    const QString address = shownAddress(m_url);
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            fail(tr("相机 %1 拒绝连接，请检查地址和端口").arg(address));
            return;
        case QAbstractSocket::HostNotFoundError:
            fail(tr("找不到相机 %1，请检查地址").arg(address));
            return;
        default:
            break;
    }
    fail(m_answered ? stoppedText() : silentText());
}

QString MjpegReader::silentText() const {
    return tr("相机 %1 没有应答，请检查地址和网络").arg(shownAddress(m_url));
}

QString MjpegReader::stoppedText() const {
    return tr("相机 %1 的视频流中断了").arg(shownAddress(m_url));
}

QString MjpegReader::faultText(MjpegParser::Fault fault) const {
    const QString address = shownAddress(m_url);
    if (fault == MjpegParser::Fault::WrongLength || fault == MjpegParser::Fault::PartTooLarge ||
        fault == MjpegParser::Fault::HeaderTooLarge) {
        return tr("相机 %1 发来的视频流数据有误").arg(address);
    }
    return tr("相机 %1 发来的不是 Motion-JPEG 视频流，请检查地址").arg(address);
}

void MjpegReader::fail(const QString& why) {
    if (m_failed) {
        return;
    }
    m_failed = true;
    m_firstByteTimer.stop();
    m_pictureTimer.stop();
    m_socket.abort();
    Q_EMIT failed(why);
}
