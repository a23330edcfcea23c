#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "SimulatorThread.h"

using namespace std::chrono_literals;

// The simulator as a person runs it, and its line-time emulation.

namespace {
// 2048 bytes: byte i is i mod 251, so every 128-byte slice differs from the others.
QByteArray patternImage() {
    QByteArray image;
    for (int i = 0; i < 2048; ++i) {
        image.append(static_cast<char>(i % 251));
    }
    return image;
}

QByteArray withChecksum(QByteArray packet, int last) {
    char sum = 0;
    for (int i = 8; i <= last; ++i) {
        sum = static_cast<char>(sum ^ packet.at(i));
    }
    packet[6] = sum;
    return packet;
}

QByteArray dataPacket(int sequence, const QByteArray& bytes) {
    QByteArray packet = QByteArray::fromHex("5AA588FF0061000000").left(8) + bytes;
    packet[4] = static_cast<char>(sequence);
    return withChecksum(packet, 135);
}

QByteArray testPacket(const char* subCodeAndBytes) {
    return withChecksum(
        QByteArray::fromHex("5AA50DFFFF600000") + QByteArray::fromHex(subCodeAndBytes), 12);
}

const QByteArray kCellTest16x4Scan2 = testPacket("0010040002");

QString firstLine(QProcess& process) {
    if (!process.waitForReadyRead(5000)) {
        return {};
    }
    return QString::fromLocal8Bit(process.readLine().trimmed());
}

// The program's end of the line, opened as a plain device.
class LineEnd {
public:
    explicit LineEnd(const QString& path)
        : m_fd(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY)) {}
    ~LineEnd() { ::close(m_fd); }
    bool send(const QByteArray& bytes) {
        return ::write(m_fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }
    // Whatever arrives until count bytes are there or 5 s have passed.
    QByteArray receive(int count) {
        QByteArray bytes;
        const QDeadlineTimer deadline(5s);
        pollfd readable{m_fd, POLLIN, 0};
        while (bytes.size() < count &&
               ::poll(&readable, 1, static_cast<int>(deadline.remainingTime())) > 0) {
            char buffer[64];
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            bytes.append(buffer, static_cast<int>(got));
        }
        return bytes;
    }

private:
    int m_fd;
};
}  // namespace

class SimulatorProgramTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpExplainsEveryOption();
    void badModuleOptionsAreRefused_data();
    void badModuleOptionsAreRefused();
    void programTakesADownloadAndWritesTheImage();
    void moduleOutFollowsEveryPacketOfTheChosenModule();
    void lineTimeHoldsTheAnswerBackByTheLineTime();
    void threadShowsTheModuleOfItsTruth();
};

void SimulatorProgramTest::helpExplainsEveryOption() {
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH), {QStringLiteral("--help")});
    QVERIFY(sim.waitForFinished(5000));
    const QString help = QString::fromLocal8Bit(sim.readAllStandardOutput());
    const QStringList options = {QStringLiteral("--link"),       QStringLiteral("--image"),
                                 QStringLiteral("--no-answer"),  QStringLiteral("--nak"),
                                 QStringLiteral("--silent"),     QStringLiteral("--late"),
                                 QStringLiteral("--short-read"), QStringLiteral("--garbage"),
                                 QStringLiteral("--stray"),      QStringLiteral("--hang-up"),
                                 QStringLiteral("--line-time"),  QStringLiteral("--wiring"),
                                 QStringLiteral("--oe-lit"),     QStringLiteral("--display-lit"),
                                 QStringLiteral("--module-out"), QStringLiteral("--window")};
    for (const QString& option : options) {
        QVERIFY2(help.contains(option), qPrintable(option));
    }
}

void SimulatorProgramTest::badModuleOptionsAreRefused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown family")
        << QStringList{QStringLiteral("--wiring"), QStringLiteral("zigzag")};
    QTest::newRow("random without a seed")
        << QStringList{QStringLiteral("--wiring"), QStringLiteral("random")};
    QTest::newRow("seed not a number")
        << QStringList{QStringLiteral("--wiring"), QStringLiteral("random:x")};
    QTest::newRow("OE state 3") << QStringList{QStringLiteral("--oe-lit"), QStringLiteral("3")};
    QTest::newRow("display state 0")
        << QStringList{QStringLiteral("--display-lit"), QStringLiteral("0")};
}

void SimulatorProgramTest::badModuleOptionsAreRefused() {
    QFETCH(QStringList, arguments);
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH), arguments);
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 2);
    const QString error = QString::fromLocal8Bit(sim.readAllStandardError());
    QVERIFY2(error.startsWith(arguments.first() + QStringLiteral(" needs ")), qPrintable(error));
}

void SimulatorProgramTest::programTakesADownloadAndWritesTheImage() {
    QTemporaryDir dir;
    const QString linkPath = dir.filePath(QStringLiteral("COM1"));
    const QString imagePath = dir.filePath(QStringLiteral("received.bin"));
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH),
              {QStringLiteral("--link"), linkPath, QStringLiteral("--image"), imagePath});
    QCOMPARE(firstLine(sim), linkPath);

    LineEnd line(linkPath);
    const QByteArray image = patternImage();
    for (int n = 0; n < 16; ++n) {
        QVERIFY(line.send(dataPacket(n, image.mid(n * 128, 128))));
        QCOMPARE(line.receive(1), QByteArray("\x06"));
    }
    const QByteArray end = QByteArray::fromHex("5AA588FF100A040004") + image.right(127);
    QVERIFY(line.send(end));
    QByteArray log;
    QTRY_VERIFY_WITH_TIMEOUT((log += sim.readAllStandardOutput()).contains("image written"), 5000);

    QFile received(imagePath);
    QVERIFY(received.open(QIODevice::ReadOnly));
    QCOMPARE(received.readAll(), image);
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(linkPath));
}

void SimulatorProgramTest::moduleOutFollowsEveryPacketOfTheChosenModule() {
    QTemporaryDir dir;
    const QString linkPath = dir.filePath(QStringLiteral("COM1"));
    const QString outPath = dir.filePath(QStringLiteral("module.txt"));
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH),
              {QStringLiteral("--link"), linkPath, QStringLiteral("--module-out"), outPath,
               QStringLiteral("--wiring"), QStringLiteral("stripe"), QStringLiteral("--oe-lit"),
               QStringLiteral("1"), QStringLiteral("--display-lit"), QStringLiteral("2")});
    QCOMPARE(firstLine(sim), linkPath);
    const auto text = [&outPath] {
        QFile file(outPath);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    QCOMPARE(text(), QStringLiteral("no module yet: waiting for CellTest\n"));
    LineEnd line(linkPath);
    QVERIFY(line.send(kCellTest16x4Scan2));
    QTRY_VERIFY_WITH_TIMEOUT(text().startsWith(QStringLiteral("################\n").repeated(4) +
                                               QStringLiteral("16x4 scan 2, wiring stripe")),
                             5000);
    // OE 00 and display FF are the states this module lights in; LieTest 8 lights bit 8.
    QVERIFY(
        line.send(testPacket("0100000000") + testPacket("02FFFFFFFF") + testPacket("0308000000")));
    const QString dark = QStringLiteral("................\n");
    QTRY_VERIFY_WITH_TIMEOUT(
        text().startsWith(dark + dark + QStringLiteral("#...............\n") + dark), 5000);
    QVERIFY(text().endsWith(QStringLiteral(" | last: LieTest count=8\n")));
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
}

void SimulatorProgramTest::lineTimeHoldsTheAnswerBackByTheLineTime() {
    SimulatorFaults faults;
    faults.lineTime = true;
    SimulatorThread sim(faults);
    LineEnd line(sim.devicePath());
    QElapsedTimer sinceWrite;
    sinceWrite.start();
    QVERIFY(line.send(dataPacket(0, QByteArray(128, '\0'))));
    QCOMPARE(line.receive(1), QByteArray("\x06"));
    // 136 bytes out and 1 byte back at 10 bits a byte and 19200 bit/s take 71.4 ms; a pty
    // alone would answer at once.
    QVERIFY2(sinceWrite.elapsed() >= 71, qPrintable(QString::number(sinceWrite.elapsed())));
}

void SimulatorProgramTest::threadShowsTheModuleOfItsTruth() {
    ModuleTruth truth;
    truth.wiring = *Wiring::fromName(QStringLiteral("from-right"));
    truth.oeLit = Level::One;
    SimulatorThread sim({}, {}, truth);
    QCOMPARE(sim.moduleSize(), QSize(0, 0));
    LineEnd line(sim.devicePath());
    QVERIFY(line.send(kCellTest16x4Scan2 + testPacket("0100000000") + testPacket("0300000000")));
    QVERIFY(sim.waitForLog(QStringLiteral("LieTest count=0"), 5s));
    QCOMPARE(sim.litLeds(), QSet<QPoint>{QPoint(8, 0)});
    QCOMPARE(sim.moduleSize(), QSize(16, 4));
    QVERIFY(sim.moduleState().startsWith(QLatin1String("16x4 scan 2, wiring from-right")));
    QCOMPARE(sim.outOfPlace(), -1);
}

QTEST_GUILESS_MAIN(SimulatorProgramTest)
#include "tst_sim_program.moc"
