#include "MjpegServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// A request longer than this without its end is no camera client's.
constexpr int kLongestRequest = 16 * 1024;
// A client that has this many pictures still unsent misses the next one.
constexpr int kBacklogPictures = 2;

QByteArray streamHeader() {
    return QByteArrayLiteral(
               "HTTP/1.0 200 OK\r\n"
               "Server: lumotrix-sim\r\n"
               "Connection: close\r\n"
               "Cache-Control: no-cache, no-store\r\n"
               "Pragma: no-cache\r\n"
               "Content-Type: multipart/x-mixed-replace; boundary=") +
           MjpegServer::kBoundary + "\r\n\r\n";
}

}  // namespace

MjpegServer::MjpegServer(QObject* parent) : QObject(parent), m_server(new QTcpServer(this)) {
    connect(m_server, &QTcpServer::newConnection, this, &MjpegServer::onNewConnection);
}

bool MjpegServer::listen(quint16 port) {
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 MjpegServer::port() const {
    return m_server->serverPort();
}

QString MjpegServer::errorString() const {
    return m_server->errorString();
}

void MjpegServer::onNewConnection() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        m_requests.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { forget(socket); });
    }
}

// Waits for the request's blank line, then answers: the stream for a GET, a refusal otherwise.
void MjpegServer::onReadable(QTcpSocket* socket) {
    if (!m_requests.contains(socket)) {
        socket->readAll();  // a streaming client's further bytes mean nothing
        return;
    }
    QByteArray& request = m_requests[socket];
    request += socket->readAll();
    const bool complete = request.contains("\r\n\r\n") || request.contains("\n\n");
    if (!complete && request.size() <= kLongestRequest) {
        return;
    }
    const bool get = complete && request.startsWith("GET ");
    m_requests.remove(socket);
    if (!get) {
        socket->write("HTTP/1.0 405 Method Not Allowed\r\nAllow: GET\r\nContent-Length: 0\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    socket->write(streamHeader());
    m_streaming.append(socket);
    ++m_clientCount;
}

void MjpegServer::forget(QTcpSocket* socket) {
    m_requests.remove(socket);
    if (m_streaming.removeOne(socket)) {
        --m_clientCount;
    }
    socket->deleteLater();
}

void MjpegServer::send(const QByteArray& jpeg) {
    const QByteArray head =
        QByteArrayLiteral("--") + kBoundary +
        "\r\nContent-Type: image/jpeg\r\nContent-Length: " + QByteArray::number(jpeg.size()) +
        "\r\n\r\n";
    for (QTcpSocket* socket : std::as_const(m_streaming)) {
        if (socket->bytesToWrite() > kBacklogPictures * (head.size() + jpeg.size())) {
            continue;
        }
        socket->write(head);
        socket->write(jpeg);
        socket->write("\r\n");
    }
}

void MjpegServer::close() {
    m_server->close();
    const QList<QTcpSocket*> open = m_requests.keys() + m_streaming;
    for (QTcpSocket* socket : open) {
        socket->disconnectFromHost();
    }
}
