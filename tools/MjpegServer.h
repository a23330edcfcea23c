#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <atomic>

class QTcpServer;
class QTcpSocket;

// Serves pictures as Motion-JPEG over HTTP on 127.0.0.1, as IP cameras and phone camera apps
// do: any GET is answered "200 OK" with Content-Type multipart/x-mixed-replace; boundary=
// kBoundary, then one part for every picture sent from then on:
//   --lumotrixframe\r\nContent-Type: image/jpeg\r\nContent-Length: 5123\r\n\r\n<5123 bytes>\r\n
// Any number of clients at once; one that reads slowly misses pictures instead of piling
// them up, and one that goes away is forgotten. Lives in one thread; clientCount() may be
// called from any.
class MjpegServer : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kBoundary = "lumotrixframe";

    explicit MjpegServer(QObject* parent = nullptr);

    // Listens on 127.0.0.1:port (0: a free port); false with errorString() when refused.
    bool listen(quint16 port);
    quint16 port() const;
    QString errorString() const;
    // Connections that asked for the stream and are still open.
    int clientCount() const { return m_clientCount; }

    // Sends the JPEG as the next part to every client.
    void send(const QByteArray& jpeg);
    // The end of the stream: closes every connection and takes no new one.
    void close();

private:
    void onNewConnection();
    void onReadable(QTcpSocket* socket);
    void forget(QTcpSocket* socket);

    QTcpServer* m_server = nullptr;
    // What each connection has sent of its request, until it is complete.
    QHash<QTcpSocket*, QByteArray> m_requests;
    QList<QTcpSocket*> m_streaming;
    std::atomic<int> m_clientCount{0};
};
