#include <QBitArray>
#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QProcess>
#include <QSerialPort>
#include <QSet>
#include <QSize>
#include <QTcpSocket>
#include <QTest>
#include <chrono>

#include "ModuleFamilies.h"
#include "ModuleTimeline.h"
#include "SimulatorThread.h"
#include "TestBytes.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The virtual camera in time and on the wire: what each picture shows of the packets sent over
// the pty, the Motion-JPEG stream as a client reads it, the faults and changes over time, and
// the program's camera options. Pictures of 640 x 360.

namespace {

// Bytes the pty may take to reach the controller's thread after the write has returned.
constexpr auto kReadSlack = 50ms;

CameraOptions smallCamera() {
    CameraOptions options;
    options.view.frame = QSize(640, 360);
    return options;
}

// The stream as a client reads it: the answer's head, then each part's JPEG, its framing
// checked as it is split off. A part still arriving is left for later.
struct Stream {
    QByteArray head;
    QList<QByteArray> jpegs;
    QString fault;
};

Stream split(const QByteArray& bytes) {
    Stream stream;
    const qsizetype headEnd = bytes.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        return stream;
    }
    stream.head = bytes.left(headEnd);
    const QByteArray boundary = "--" + stream.head.mid(stream.head.indexOf("boundary=") + 9);
    for (qsizetype at = headEnd + 4;;) {
        const qsizetype partHeadEnd = bytes.indexOf("\r\n\r\n", at);
        const QList<QByteArray> lines = bytes.mid(at, partHeadEnd - at).split('\n');
        const QByteArray length = lines.value(2).trimmed();
        const qsizetype size = length.mid(16).toLongLong();
        if (partHeadEnd < 0 || bytes.size() < partHeadEnd + 4 + size + 2) {
            break;
        }
        if (lines.size() != 3 || lines[0].trimmed() != boundary ||
            lines[1].trimmed() != "Content-Type: image/jpeg" ||
            !length.startsWith("Content-Length: ") ||
            bytes.mid(partHeadEnd + 4 + size, 2) != "\r\n") {
            stream.fault = QString::fromLatin1(bytes.mid(at, partHeadEnd + 6 + size - at));
            break;
        }
        stream.jpegs.append(bytes.mid(partHeadEnd + 4, size));
        at = partHeadEnd + 4 + size + 2;
    }
    return stream;
}

// A client of the camera's stream on 127.0.0.1.
struct Client {
    QTcpSocket socket;
    QByteArray bytes;

    bool ask(quint16 port, const QByteArray& request = "GET / HTTP/1.1\r\nHost: x\r\n\r\n") {
        socket.connectToHost(QHostAddress::LocalHost, port);
        return socket.waitForConnected(2000) && socket.write(request) > 0 &&
               socket.waitForBytesWritten(2000);
    }
    // Reads until `parts` whole parts have come; false when they do not within two seconds.
    bool waitForParts(int parts) {
        QElapsedTimer timer;
        timer.start();
        while (split(bytes).jpegs.size() < parts && timer.elapsed() < 2000) {
            socket.waitForReadyRead(100);
            bytes += socket.readAll();
        }
        return split(bytes).jpegs.size() >= parts;
    }
};

// The pictures captured in [from, to).
std::vector<ServedPicture> capturedBetween(const std::vector<ServedPicture>& pictures,
                                           Clock::time_point from, Clock::time_point to) {
    std::vector<ServedPicture> chosen;
    std::copy_if(pictures.begin(), pictures.end(), std::back_inserter(chosen),
                 [&](const ServedPicture& p) { return p.captured >= from && p.captured < to; });
    return chosen;
}

}  // namespace

class CameraStreamTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exposureSharesTheSpanBetweenWhatTheModuleShowed_data() {
        QTest::addColumn<int>("from");  // ms; packet 1 lights LED 0 at 0 ms, packet 2 LED 1 at 10
        QTest::addColumn<int>("to");
        QTest::addColumn<float>("led0");
        QTest::addColumn<float>("led1");
        QTest::addColumn<int>("inFull");
        QTest::addColumn<int>("seen");
        QTest::newRow("before any packet") << -20 << -10 << 0.0f << 0.0f << 0 << 0;
        QTest::newRow("across packet 1") << -5 << 5 << 0.5f << 0.0f << 0 << 1;
        QTest::newRow("across packet 2") << 5 << 15 << 0.5f << 0.5f << 1 << 2;
        QTest::newRow("lopsided across packet 2") << 4 << 20 << 0.375f << 0.625f << 1 << 2;
        QTest::newRow("from packet 2 on") << 10 << 30 << 0.0f << 1.0f << 2 << 2;
        QTest::newRow("a moment") << 12 << 12 << 0.0f << 1.0f << 2 << 2;
        QTest::newRow("all of packet 1") << 0 << 10 << 1.0f << 0.0f << 1 << 1;
    }

    void exposureSharesTheSpanBetweenWhatTheModuleShowed() {
        QFETCH(int, from);
        QFETCH(int, to);
        const Clock::time_point zero = Clock::now();
        ModuleTimeline timeline;
        QBitArray first(2), second(2);
        first.setBit(0);
        second.setBit(1);
        timeline.record(zero, 1, QSize(2, 1), first);
        timeline.record(zero + 10ms, 2, QSize(2, 1), second);
        const ModuleTimeline::Exposure shown = timeline.over(zero + std::chrono::milliseconds(from),
                                                             zero + std::chrono::milliseconds(to));
        QTEST(shown.lastPacketInFull, "inFull");
        QTEST(shown.lastPacketSeen, "seen");
        QVERIFY(shown.lastPacketSeen == 0 ? shown.leds.isEmpty() : shown.leds == QSize(2, 1));
        QFETCH(float, led0);
        QFETCH(float, led1);
        QVERIFY(shown.lastPacketSeen == 0 || (std::abs(shown.levels[0] - led0) < 1e-4f &&
                                              std::abs(shown.levels[1] - led1) < 1e-4f));
    }

    // Clients asking with any GET get the stream's head, then parts of image/jpeg whose
    // Content-Length is the JPEG that follows; two at once both get it, one that goes away is
    // forgotten while the other goes on, and anything but GET is refused.
    void streamsMotionJpegToEveryClientThatAsks() {
        SimulatorThread sim;
        QVERIFY(sim.startCamera(smallCamera()));
        const quint16 port = sim.camera()->port();
        Client first, second, poster;
        QVERIFY(first.ask(port) && second.ask(port, "GET /video?fps=30 HTTP/1.0\r\n\r\n"));
        QVERIFY(first.waitForParts(3) && second.waitForParts(2));
        QCOMPARE(sim.camera()->clientCount(), 2);
        for (Client* client : {&first, &second}) {
            const Stream stream = split(client->bytes);
            QCOMPARE(stream.fault, QString());
            QVERIFY(stream.head.startsWith("HTTP/1.0 200 OK\r\n"));
            QVERIFY(stream.head.contains(
                "\r\nContent-Type: multipart/x-mixed-replace; boundary=lumotrixframe"));
            for (const QByteArray& jpeg : stream.jpegs) {
                QCOMPARE(QImage::fromData(jpeg, "JPG").size(), QSize(640, 360));
            }
        }
        first.socket.abort();
        QTRY_COMPARE(sim.camera()->clientCount(), 1);
        QVERIFY(second.waitForParts(static_cast<int>(split(second.bytes).jpegs.size()) + 3));
        QVERIFY(poster.ask(port, "POST / HTTP/1.1\r\n\r\n"));
        QVERIFY(poster.socket.waitForDisconnected(2000));
        QVERIFY(poster.socket.readAll().startsWith("HTTP/1.0 405 "));
    }

    // The camera sees the module a latency (100 ms) late over an exposure (33 ms): pictures
    // captured before a packet's write + latency still show the module before it, those
    // captured after its arrival + latency + exposure show it, and the log says which packet.
    void pictureShowsAPacketOnlyAfterTheLatency() {
        SimulatorThread sim;
        QVERIFY(sim.startCamera(smallCamera()));
        QSerialPort line(sim.devicePath());
        QVERIFY(line.open(QIODevice::ReadWrite));
        // CellTest 16 x 4 scan 2 lights every LED; then HangTest 0 the LED of bit 0 of address
        // 0, wired straight LED (0, 0).
        line.write(hex("5AA50DFFFF6016000010040002"));
        QVERIFY(line.waitForBytesWritten(1000));
        QTest::qWait(300);
        const Clock::time_point written = Clock::now();
        line.write(testPacket(0, 4));
        QVERIFY(line.waitForBytesWritten(1000));
        const Clock::time_point arrived = Clock::now() + kReadSlack;
        QTest::qWait(450);
        const std::vector<ServedPicture> pictures = sim.camera()->pictures();
        const auto before = capturedBetween(pictures, written - 100ms, written + 100ms);
        const auto after = capturedBetween(pictures, arrived + 133ms, Clock::now());
        QVERIFY(before.size() >= 2 && after.size() >= 2);
        for (const ServedPicture& picture : before) {
            QCOMPARE(picture.lastPacketSeen, 1);
            QCOMPARE(picture.litLeds(), ModuleFamilies::picture(16, 4, true));
        }
        for (const ServedPicture& picture : after) {
            QCOMPARE(picture.lastPacketInFull, 2);
            QCOMPARE(picture.litLeds(), QSet<QPoint>{QPoint(0, 0)});
            QVERIFY(picture.partlyLit.empty());
        }
    }

    // A reflection and a nudge given by the options begin at their time (as seen a latency
    // later), and the test takes both away again at run time.
    void reflectionAndNudgeComeAtTheirTimeAndGoWhenTakenAway() {
        CameraOptions options = smallCamera();
        options.reflectionAt = QPointF(3, 2);
        options.reflectionFrom = 200ms;
        options.nudge = QPointF(2, -1);
        options.nudgeFrom = 200ms;
        SimulatorThread sim;
        const Clock::time_point start = Clock::now();
        QVERIFY(sim.startCamera(options));
        QTest::qWait(500);
        const Clock::time_point takenAway = Clock::now();
        sim.camera()->setReflection(std::nullopt);
        sim.camera()->setNudge({});
        QTest::qWait(250);
        const std::vector<ServedPicture> pictures = sim.camera()->pictures();
        // Straight on, 7 pixels a pitch along x and y: (14, -7).
        const std::pair<Clock::time_point, Clock::time_point> spans[] = {
            {start, start + 300ms},
            {start + 360ms, takenAway + 100ms},
            {takenAway + 120ms, Clock::now()}};
        for (int i = 0; i < 3; ++i) {
            const auto during = capturedBetween(pictures, spans[i].first, spans[i].second);
            QVERIFY(during.size() >= 2);
            for (const ServedPicture& picture : during) {
                QCOMPARE(picture.effects.reflection, i == 1);
                QCOMPARE(picture.effects.shift, i == 1 ? QPointF(14, -7) : QPointF());
                QCOMPARE(picture.effects.reflectionAt, i == 1 ? QPointF(3, 2) : QPointF());
            }
        }
    }

    // Repeated pictures come as the same bytes in the next part, banding in one picture of N,
    // and the gain wanders within its drift.
    void faultsShowInTheirShareOfPictures() {
        CameraOptions options = smallCamera();
        options.repeatShare = 1;
        options.bandingEvery = 3;
        options.exposureDrift = 0.05;
        SimulatorThread sim;
        QVERIFY(sim.startCamera(options));
        Client client;
        QVERIFY(client.ask(sim.camera()->port()) && client.waitForParts(16));
        const QList<QByteArray> jpegs = split(client.bytes).jpegs;
        int same = 0;
        for (int i = 1; i < jpegs.size(); ++i) {
            same += jpegs[i] == jpegs[i - 1] ? 1 : 0;
        }
        // Every new picture is followed by its repeat.
        QVERIFY2(same >= 7 && same <= 8, qPrintable(QString::number(same)));
        const std::vector<ServedPicture> pictures = sim.camera()->pictures();
        for (std::size_t i = 1; i < pictures.size(); ++i) {
            const ServedPicture& picture = pictures[i];
            QCOMPARE(picture.repeated, picture.sequence == pictures[i - 1].sequence);
            QCOMPARE(picture.effects.bandRows > 0, picture.sequence % 3 == 0);
            QVERIFY(std::abs(picture.effects.gain - 1) <= 0.05);
            QVERIFY(picture.repeated || picture.effects.gain != pictures[i - 1].effects.gain);
        }
    }

    // At its end the stream closes every connection and takes no new one.
    void streamEndsAtItsTime() {
        CameraOptions options = smallCamera();
        options.endAfter = 400ms;
        SimulatorThread sim;
        QElapsedTimer sinceStart;
        sinceStart.start();
        QVERIFY(sim.startCamera(options));
        Client client, late;
        QVERIFY(client.ask(sim.camera()->port()) && client.waitForParts(2));
        QVERIFY(client.socket.waitForDisconnected(2000));
        QVERIFY2(sinceStart.elapsed() >= 400 && sinceStart.elapsed() < 1000,
                 qPrintable(QString::number(sinceStart.elapsed())));
        QVERIFY(!late.ask(sim.camera()->port()));
    }

    // The program as a person runs it: the camera's address on a line of its own before the
    // device's, and the pictures in the size asked for.
    void programServesTheCameraOnThePortItPrints() {
        QProcess sim;
        sim.start(QStringLiteral(SIM_PATH),
                  QStringLiteral("--camera-port 0 --camera-size 320x180 --camera-rotation 90")
                      .split(QLatin1Char(' ')));
        QVERIFY(sim.waitForReadyRead(5000));
        const QByteArray line = sim.readLine().trimmed();
        QVERIFY2(line.startsWith("camera http://127.0.0.1:") && line.endsWith('/'), line);
        Client client;
        QVERIFY(client.ask(static_cast<quint16>(line.mid(24).chopped(1).toUInt())));
        QVERIFY(client.waitForParts(1));
        QCOMPARE(QImage::fromData(split(client.bytes).jpegs.value(0), "JPG").size(),
                 QSize(320, 180));
        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));
    }

    // Each option out of its range ends the program with status 2 and says what it needs.
    void programRefusesABadCameraOption() {
        const std::pair<const char*, const char*> cases[] = {
            {"--camera-yaw 50", "--camera-yaw needs a number from -35 to 35"},
            {"--camera-repeat 1.5", "--camera-repeat needs a number from 0 to 1"},
            {"--camera-rotation 45", "--camera-rotation needs 0, 90, 180 or 270"},
            {"--camera-size 0x5", "--camera-size needs WxH, each 1 to 4096"},
            {"--camera-nudge 3", "--camera-nudge needs X,Y or X,Y@MS"},
            {"--dead-led 1", "--dead-led needs ADDRESS,BIT"}};
        for (const auto& [option, message] : cases) {
            QProcess sim;
            sim.start(QStringLiteral(SIM_PATH), QStringLiteral("--camera-port 0 %1")
                                                    .arg(QLatin1String(option))
                                                    .split(QLatin1Char(' ')));
            QVERIFY(sim.waitForFinished(5000));
            QCOMPARE(sim.exitCode(), 2);
            const QByteArray said = sim.readAllStandardError();
            QVERIFY2(said.startsWith(message), said);
        }
    }
};

QTEST_MAIN(CameraStreamTest)
#include "tst_camera_stream.moc"
