#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
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

// What the test camera does once it has read a request: writes `head`, then each of `parts`,
// one every `interval` (all at once for 0), over and over with `repeat`; then closes the
// connection with `close`, or keeps it open and silent.
struct Script {
    QByteArray head = kMjpegHead;
    QList<QByteArray> parts;
    std::chrono::milliseconds interval{0};
    bool repeat = false;
    bool close = false;
};

// A camera on 127.0.0.1 serving one script to every connection, from the test's thread.
class TestCamera : public QObject {
public:
    explicit TestCamera(Script script) : m_script(std::move(script)) {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, &TestCamera::accept);
    }

    QUrl url(const QString& path = QStringLiteral("/")) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }

    QByteArray request;
    int connections = 0;
    int closedByStream = 0;

private:
    void accept() {
        QTcpSocket* socket = m_server.nextPendingConnection();
        ++connections;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            closedByStream += socket->property("closing").toBool() ? 0 : 1;
            socket->deleteLater();
        });
    }

    void readRequest(QTcpSocket* socket) {
        request += socket->readAll();
        if (!request.endsWith("\r\n\r\n") || socket->property("answered").toBool()) {
            return;
        }
        socket->setProperty("answered", true);
        socket->write(m_script.head);
        auto* timer = new QTimer(socket);
        auto next = std::make_shared<qsizetype>(0);
        connect(timer, &QTimer::timeout, socket, [this, socket, timer, next] {
            if (*next == m_script.parts.size() && m_script.repeat) {
                *next = 0;
            }
            if (*next < m_script.parts.size()) {
                socket->write(m_script.parts[(*next)++]);
                return;
            }
            timer->stop();
            if (m_script.close) {
                socket->setProperty("closing", true);
                socket->disconnectFromHost();
            }
        });
        timer->start(m_script.interval);
    }

    Script m_script;
    QTcpServer m_server;
};

// A port on which nothing listens.
quint16 closedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

}  // namespace

// The stream against cameras in the test: pictures in order and numbered, only the newest for a
// slow receiver, every way a camera fails reported once in a plain sentence, and stopping or
// destroying it mid-stream.
class MjpegStreamTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<CameraFrame>(); }

    void picturesArriveInOrderWithNumbersAndTimes() {
        TestCamera camera({kMjpegHead, {part(jpeg(1)), part(jpeg(2)), part(jpeg(3))}, 30ms});
        MjpegStream stream(camera.url(QStringLiteral("/video?size=vga")), kTimeouts);
        QSignalSpy frames(&stream, &PictureSource::frameArrived);
        QSignalSpy lost(&stream, &PictureSource::lost);
        const auto before = std::chrono::steady_clock::now();
        stream.start();
        QTRY_COMPARE(frames.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const auto frame = frames[i][0].value<CameraFrame>();
            QCOMPARE(frame.sequence, i + 1);
            QCOMPARE(frame.jpeg, jpeg(i + 1));
            QVERIFY(frame.grey.isNull());
            QVERIFY(frame.arrived > before && frame.arrived <= std::chrono::steady_clock::now());
        }
        QVERIFY(frames[1][0].value<CameraFrame>().arrived >
                frames[0][0].value<CameraFrame>().arrived);
        QVERIFY(camera.request.startsWith("GET /video?size=vga HTTP/1.0\r\n"));
        QVERIFY(
            camera.request.contains("\r\nHost: " + camera.url().authority().toLatin1() + "\r\n"));
        QCOMPARE(lost.size(), 0);
    }

    void aUserAndPasswordInTheAddressAreSentAndNotShown() {
        TestCamera camera({"HTTP/1.0 401 Unauthorized\r\n\r\n", {}, 0ms});
        QUrl url = camera.url();
        url.setUserInfo(QStringLiteral("admin:secret"));
        MjpegStream stream(url, kTimeouts);
        QSignalSpy lost(&stream, &PictureSource::lost);
        stream.start();
        QTRY_COMPARE(lost.size(), 1);
        QVERIFY(camera.request.contains("\r\nAuthorization: Basic YWRtaW46c2VjcmV0\r\n"));
        QVERIFY(!lost[0][0].toString().contains(QStringLiteral("secret")));
        QVERIFY(lost[0][0].toString().contains(QStringLiteral("HTTP 应答 401")));
    }

    // Each camera fails in its own way; the stream says so once, after `pictures` pictures, with
    // its address, and has stopped.
    void aFailingCameraIsLostWithAPlainReason_data() {
        QTest::addColumn<Script>("script");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<QString>("why");
        const QByteArray html = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html></html>";
        const QByteArray good = part(jpeg(1));
        const auto row = [](const char* name, Script script, int pictures, const char* why) {
            QTest::newRow(name) << script << pictures << QString::fromUtf8(why);
        };
        row("silent", {QByteArray(), {}, 0ms}, 0, "没有应答，请检查地址和网络");
        row("not found", {"HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n", {}, 0ms}, 0,
            "没有提供视频流（HTTP 应答 404），请检查地址");
        row("a web page", {html, {}, 0ms}, 0, "发来的不是 Motion-JPEG 视频流，请检查地址");
        row("a single picture",
            {"HTTP/1.0 200 OK\r\nContent-Type: image/jpeg\r\n\r\n", {jpeg(1)}, 0ms}, 0,
            "发来的不是 Motion-JPEG 视频流，请检查地址");
        row("no answer's head", {"\xFF\xD8\xFF\xE0", {}, 0ms, false, true}, 0, "的视频流中断了");
        row("stalls after a picture", {kMjpegHead, {good}, 0ms}, 1, "的视频流中断了");
        row("closes mid-part", {kMjpegHead, {good, good.left(40)}, 20ms, false, true}, 1,
            "的视频流中断了");
        row("closes between parts", {kMjpegHead, {good}, 0ms, false, true}, 1, "的视频流中断了");
        row("parts that are no JPEG", {kMjpegHead, {good, part("\x89PNG\r\n\x1A\n")}, 20ms}, 1,
            "发来的不是 Motion-JPEG 视频流，请检查地址");
        row("a wrong length",
            {kMjpegHead, {good, QByteArray(good).replace("Length: 13", "Length: 9")}, 20ms}, 1,
            "发来的视频流数据有误");
    }
    void aFailingCameraIsLostWithAPlainReason() {
        QFETCH(Script, script);
        QFETCH(int, pictures);
        QFETCH(QString, why);
        TestCamera camera(script);
        MjpegStream stream(camera.url(), kTimeouts);
        QSignalSpy frames(&stream, &PictureSource::frameArrived);
        QSignalSpy lost(&stream, &PictureSource::lost);
        stream.start();
        QTRY_COMPARE(lost.size(), 1);
        QCOMPARE(lost[0][0].toString(),
                 QStringLiteral("相机 %1 ").arg(camera.url().toString()) + why);
        QCOMPARE(frames.size(), pictures);
        QVERIFY(!stream.isRunning());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(lost.size(), 1);
    }

    void aRefusedConnectionIsLost() {
        const QUrl url(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort()));
        MjpegStream stream(url, kTimeouts);
        QSignalSpy lost(&stream, &PictureSource::lost);
        stream.start();
        QTRY_COMPARE(lost.size(), 1);
        QCOMPARE(lost[0][0].toString(),
                 QStringLiteral("相机 %1 拒绝连接，请检查地址和端口").arg(url.toString()));
    }

    // A silent camera is given up no sooner than the first-byte time-out; a stalled one no
    // sooner than the picture time-out after its last picture. Late by at most a second.
    void timeOutsCountFromStartAndFromTheLastPicture_data() {
        QTest::addColumn<Script>("script");
        QTest::addColumn<int>("timeoutMs");
        QTest::newRow("silent") << Script{QByteArray(), {}, 0ms} << 150;
        QTest::newRow("stalled") << Script{kMjpegHead, {part(jpeg(1)), part(jpeg(2))}, 100ms}
                                 << 250;
    }
    void timeOutsCountFromStartAndFromTheLastPicture() {
        QFETCH(Script, script);
        QFETCH(int, timeoutMs);
        TestCamera camera(script);
        MjpegStream stream(camera.url(), kTimeouts);
        // From the last picture's own arrival, not from when this thread got to it.
        auto last = std::chrono::steady_clock::now();
        connect(&stream, &PictureSource::frameArrived, this,
                [&last](const CameraFrame& frame) { last = frame.arrived; });
        QSignalSpy lost(&stream, &PictureSource::lost);
        stream.start();
        QTRY_COMPARE_WITH_TIMEOUT(lost.size(), 1, 3000);
        const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - last)
                               .count();
        QVERIFY2(since >= timeoutMs - 5, qPrintable(QString::number(since)));
        QVERIFY2(since < timeoutMs + 1000, qPrintable(QString::number(since)));
    }

    // While the receiver's thread is busy, ten pictures come; it then gets the tenth alone.
    void aSlowReceiverGetsOnlyTheNewestPicture() {
        QList<QByteArray> parts;
        for (int i = 1; i <= 10; ++i) {
            parts += part(jpeg(i));
        }
        TestCamera camera({kMjpegHead, parts, 10ms});
        MjpegStream stream(camera.url(), kTimeouts);
        QSignalSpy frames(&stream, &PictureSource::frameArrived);
        stream.start();
        QTRY_COMPARE(camera.connections, 1);
        QTest::qWait(150);     // the camera writes its ten parts, one every 10 ms
        QThread::msleep(100);  // meanwhile they arrive in the worker, and this thread is busy
        QTRY_VERIFY(!frames.isEmpty());
        QTest::qWait(50);
        const auto last = frames.last()[0].value<CameraFrame>();
        QCOMPARE(last.sequence, 10);
        QCOMPARE(last.jpeg, jpeg(10));
    }

    // Stopping mid-stream ends the connection and every signal; starting again numbers on.
    void stopEndsTheStreamAndStartGoesOn() {
        TestCamera camera({kMjpegHead, {part(jpeg(1)), part(jpeg(2))}, 5ms, true});
        MjpegStream stream(camera.url(), kTimeouts);
        QSignalSpy frames(&stream, &PictureSource::frameArrived);
        QSignalSpy lost(&stream, &PictureSource::lost);
        stream.start();
        QTRY_VERIFY(frames.size() >= 3);
        QElapsedTimer stopping;
        stopping.start();
        stream.stop();
        QVERIFY(stopping.elapsed() < 500);
        QVERIFY(!stream.isRunning());
        const qsizetype seen = frames.size();
        const qint64 lastSequence = frames.last()[0].value<CameraFrame>().sequence;
        QTRY_COMPARE(camera.closedByStream, 1);
        QCOMPARE(frames.size(), seen);
        stream.start();
        QTRY_VERIFY(frames.size() > seen);
        QVERIFY(frames[seen][0].value<CameraFrame>().sequence > lastSequence);
        QCOMPARE(camera.connections, 2);
        QCOMPARE(lost.size(), 0);
    }

    void destroyingTheStreamMidStreamClosesItsConnection() {
        TestCamera camera({kMjpegHead, {part(jpeg(1))}, 5ms, true});
        auto stream = std::make_unique<MjpegStream>(camera.url(), kTimeouts);
        QSignalSpy frames(stream.get(), &PictureSource::frameArrived);
        stream->start();
        QTRY_VERIFY(frames.size() >= 2);
        stream.reset();
        QTRY_COMPARE(camera.closedByStream, 1);
    }
};

QTEST_GUILESS_MAIN(MjpegStreamTest)
#include "tst_mjpeg_stream.moc"
