#pragma once

#include <QByteArray>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

#include "camera/CameraFrame.h"
#include "camera/MjpegParser.h"

// How long a Motion-JPEG stream may keep silent: until the first byte of the answer, counted
// from the start of the connection, and between complete pictures from the first byte on.
struct MjpegTimeouts {
    std::chrono::milliseconds firstByte{5000};
    std::chrono::milliseconds picture{3000};
};

// Reads one Motion-JPEG stream over HTTP in the thread it lives in (MjpegStream's worker): a
// plain HTTP/1.0 GET on a QTcpSocket, the answer's head read here, its body cut by MjpegParser.
// HTTP/1.0 keeps the server from sending the body in chunked transfer coding.
//
// The newest complete picture of what each read brought goes to `onPicture`, in this thread, with
// the time its last byte was read. Every picture found takes a number, from `firstSequence` on,
// so one replaced by a newer picture of the same read leaves a gap. The first failure is reported
// once by `failed`, with a sentence for the user; the reader has then closed its connection and
// stays silent.
class MjpegReader : public QObject {
    Q_OBJECT
public:
    MjpegReader(const QUrl& url, MjpegTimeouts timeouts, qint64 firstSequence,
                std::function<void(CameraFrame)> onPicture);

    void start();
    // The number the next picture would carry.
    qint64 nextSequence() const;

    // The stream's address as the messages show it: without user name and password.
    static QString shownAddress(const QUrl& url);

Q_SIGNALS:
    void failed(const QString& why);

private:
    void sendRequest();
    void readAnswer();
    bool readHead();
    void readBody(const QByteArray& bytes);
    void socketFailed(QAbstractSocket::SocketError error);
    void fail(const QString& why);
    QString faultText(MjpegParser::Fault fault) const;
    QString silentText() const;
    QString stoppedText() const;

    QUrl m_url;
    MjpegTimeouts m_timeouts;
    qint64 m_firstSequence = 1;
    std::function<void(CameraFrame)> m_onPicture;
    QTcpSocket m_socket;
    QTimer m_firstByteTimer;
    QTimer m_pictureTimer;
    QByteArray m_head;
    std::optional<MjpegParser> m_parser;
    bool m_answered = false;
    bool m_failed = false;
};
