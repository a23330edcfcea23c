#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include "camera/MjpegStream.h"

using namespace std::chrono_literals;

namespace {

// Short time-outs, so that the silent and stalled cameras cost a fraction of a second.
const MjpegTimeouts kTimeouts{150ms, 250ms};

const QByteArray kMjpegHead =
    "HTTP/1.0 200 OK\r\nContent-Type: multipart/x-mixed-replace; boundary=--b\r\n\r\n";

QByteArray jpeg(int n) {
    return "\xFF\xD8picture " + QByteArray::number(n) + "\xFF\xD9";
}

QByteArray part(const QByteArray& picture) {
    return "--b\r\nContent-Type: image/jpeg\r\nContent-Length: " +
           QByteArray::number(picture.size()) + "\r\n\r\n" + picture + "\r\n";
}

// The parts of pictures 1 to `count`.
QList<QByteArray> parts(int count) {
    QList<QByteArray> all;
    for (int n = 1; n <= count; ++n) {
        all += part(jpeg(n));
    }
    return all;
}

// What the test camera does once it has read a request: writes `head`, then each of `parts`, one
// every `interval`; then closes the connection with `close`, or keeps it open and silent. With
// `refuse` nothing listens on its port.
struct Script {
    QByteArray head = kMjpegHead;
    QList<QByteArray> parts{};
    std::chrono::milliseconds interval{0};
    bool close = false;
    bool refuse = false;
};

// A camera on 127.0.0.1 serving one script to every connection, from the test's thread.
// `socket` is its newest connection.
class TestCamera : public QObject {
public:
    explicit TestCamera(Script script) : m_script(std::move(script)) {
        m_server.listen(QHostAddress::LocalHost);
        m_port = m_server.serverPort();
        if (m_script.refuse) {
            m_server.close();
        }
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* connection = m_server.nextPendingConnection();
            socket = connection;
            ++connections;
            connect(connection, &QTcpSocket::readyRead, this, [this, connection] {
                request += connection->readAll();
                if (request.endsWith("\r\n\r\n")) {
                    answer(connection);
                }
            });
            connect(connection, &QTcpSocket::disconnected, this, [this, connection] {
                closedByStream += connection->property("closing").toBool() ? 0 : 1;
                connection->deleteLater();
            });
        });
    }

    QUrl url(const QString& path = QStringLiteral("/")) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
    }

    QByteArray request;
    QPointer<QTcpSocket> socket;
    int connections = 0;
    int closedByStream = 0;

private:
    void answer(QTcpSocket* connection) {
        connection->write(m_script.head);
        const qsizetype count = m_script.parts.size();
        for (qsizetype i = 0; i < count; ++i) {
            QTimer::singleShot(m_script.interval * (i + 1), connection,
                               [connection, part = m_script.parts[i]] { connection->write(part); });
        }
        if (m_script.close) {
            QTimer::singleShot(m_script.interval * (count + 1), connection, [connection] {
                connection->setProperty("closing", true);
                connection->disconnectFromHost();
            });
        }
    }

    Script m_script;
    QTcpServer m_server;
    quint16 m_port = 0;
};

}  // namespace

// The stream against cameras in the test: pictures in order and numbered, only the newest for a
// slow receiver, every way a camera fails reported once in a plain sentence, and stopping or
// destroying it mid-stream.
class MjpegStreamTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<CameraFrame>(); }

    // Each camera is asked for a path with a query, by a user with a password, and sends
    // `pictures` pictures, which arrive numbered from 1 in order; then it fails in its own way.
    // The stream says so once, with the address shown without user and password, no sooner than
    // `afterMs` after its start or its last picture (and at most a second late), and has stopped.
    void aFailingCameraIsLostWithAPlainReason_data() {
        QTest::addColumn<Script>("script");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("afterMs");
        QTest::addColumn<QString>("why");
        const QByteArray html = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html></html>";
        const QByteArray good = part(jpeg(1));
        const char* noMjpeg = "发来的不是 Motion-JPEG 视频流，请检查地址";
        const char* stopped = "的视频流中断了";
        const auto row = [](const char* name, Script script, int pictures, int afterMs,
                            const char* why) {
            QTest::newRow(name) << script << pictures << afterMs << QString::fromUtf8(why);
        };
        row("refused", {QByteArray(), {}, 0ms, false, true}, 0, 0, "拒绝连接，请检查地址和端口");
        row("silent", {QByteArray()}, 0, 150, "没有应答，请检查地址和网络");
        row("not found", {"HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n"}, 0, 0,
            "没有提供视频流（HTTP 应答 404），请检查地址");
        row("a web page", {html}, 0, 0, noMjpeg);
        row("no answer's head", {"\xFF\xD8\xFF\xE0", {}, 0ms, true}, 0, 0, stopped);
        row("stalls after pictures", {kMjpegHead, parts(2), 100ms}, 2, 250, stopped);
        row("closes between parts", {kMjpegHead, parts(3), 30ms, true}, 3, 0, stopped);
        row("parts that are no JPEG", {kMjpegHead, {good, part("\x89PNG\r\n\x1A\n")}, 20ms}, 1, 0,
            noMjpeg);
        row("a wrong length",
            {kMjpegHead, {good, QByteArray(good).replace("Length: 13", "Length: 9")}, 20ms}, 1, 0,
            "发来的视频流数据有误");
    }
    void aFailingCameraIsLostWithAPlainReason() {
        QFETCH(Script, script);
        QFETCH(int, pictures);
        QFETCH(int, afterMs);
        QFETCH(QString, why);
        TestCamera camera(script);
        const QUrl shown = camera.url(QStringLiteral("/video?size=vga"));
        QUrl url = shown;
        url.setUserInfo(QStringLiteral("admin:secret"));
        MjpegStream stream(url, kTimeouts);
        QSignalSpy frames(&stream, &PictureSource::frameArrived);
        QSignalSpy lost(&stream, &PictureSource::lost);
        auto last = std::chrono::steady_clock::now();
        stream.start();
        QTRY_COMPARE_WITH_TIMEOUT(lost.size(), 1, 3000);
        const auto end = std::chrono::steady_clock::now();
        QCOMPARE(lost[0][0].toString(), QStringLiteral("相机 %1 ").arg(shown.toString()) + why);
        QCOMPARE(frames.size(), pictures);
        for (int i = 0; i < pictures; ++i) {
            const auto frame = frames[i][0].value<CameraFrame>();
            QCOMPARE(frame.sequence, i + 1);
            QCOMPARE(frame.jpeg, jpeg(i + 1));
            QVERIFY(frame.grey.isNull());
            QVERIFY(frame.arrived > last && frame.arrived < end);
            last = frame.arrived;
        }
        const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(end - last);
        QVERIFY2(since.count() >= afterMs - 5 && since.count() < afterMs + 1000,
                 qPrintable(QString::number(since.count())));
        QVERIFY(!stream.isRunning());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(lost.size(), 1);
        const QByteArray& request = camera.request;
        QVERIFY(script.refuse || request.startsWith("GET /video?size=vga HTTP/1.0\r\n"));
        const QByteArray host = "\r\nHost: " + shown.authority().toLatin1() + "\r\n";
        QVERIFY(script.refuse || request.contains(host));
        QVERIFY(script.refuse || request.contains("\r\nAuthorization: Basic YWRtaW46c2VjcmV0\r\n"));
    }

    // While the receiver's thread is busy, ten pictures come one by one; it then gets the tenth
    // alone.
    void aSlowReceiverGetsOnlyTheNewestPicture() {
        TestCamera camera({kMjpegHead});
        MjpegStream stream(camera.url(), kTimeouts);
        QSignalSpy frames(&stream, &PictureSource::frameArrived);
        stream.start();
        QTRY_VERIFY(camera.request.endsWith("\r\n\r\n"));
        for (const QByteArray& picture : parts(10)) {
            camera.socket->write(picture);
            camera.socket->flush();
            QThread::msleep(10);  // the worker reads each part on its own
        }
        QTRY_COMPARE(frames.size(), 1);
        QTest::qWait(50);
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0][0].value<CameraFrame>().sequence, 10);
        QCOMPARE(frames[0][0].value<CameraFrame>().jpeg, jpeg(10));
    }

    // Stopping mid-stream ends the connection and every signal; starting again numbers on;
    // destroying the stream mid-stream closes its connection too.
    void stopEndsTheStreamAndStartGoesOn() {
        TestCamera camera({kMjpegHead, parts(300), 5ms});
        auto stream = std::make_unique<MjpegStream>(camera.url(), kTimeouts);
        QSignalSpy frames(stream.get(), &PictureSource::frameArrived);
        QSignalSpy lost(stream.get(), &PictureSource::lost);
        stream->start();
        QTRY_VERIFY(frames.size() >= 3);
        QElapsedTimer stopping;
        stopping.start();
        stream->stop();
        QVERIFY(stopping.elapsed() < 500);
        QVERIFY(!stream->isRunning());
        const qsizetype seen = frames.size();
        const qint64 lastSequence = frames.last()[0].value<CameraFrame>().sequence;
        QTRY_COMPARE(camera.closedByStream, 1);
        QCOMPARE(frames.size(), seen);
        stream->start();
        QTRY_VERIFY(frames.size() > seen);
        QVERIFY(frames[seen][0].value<CameraFrame>().sequence > lastSequence);
        QCOMPARE(camera.connections, 2);
        QCOMPARE(lost.size(), 0);
        stream.reset();
        QTRY_COMPARE(camera.closedByStream, 2);
    }
};

QTEST_GUILESS_MAIN(MjpegStreamTest)
#include "tst_mjpeg_stream.moc"
