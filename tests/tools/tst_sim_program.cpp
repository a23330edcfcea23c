#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "SimPackets.h"
#include "SimulatorThread.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace SimPackets;

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

const QByteArray kCellTest8x4Scan2 = testPacket("0008040002");

QString firstLine(QProcess& process) {
    return process.waitForReadyRead(5000) ? QString::fromLocal8Bit(process.readLine().trimmed())
                                          : QString();
}

// The program's end of the line, opened as a plain device.
struct LineEnd {
    explicit LineEnd(const QString& path) : fd(::open(qPrintable(path), O_RDWR | O_NOCTTY)) {}
    ~LineEnd() { ::close(fd); }
    bool send(const QByteArray& bytes) {
        return ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }
    // The next byte that arrives within 5 s; empty when none does.
    QByteArray receiveByte() {
        pollfd readable{fd, POLLIN, 0};
        char byte = 0;
        return ::poll(&readable, 1, 5000) == 1 && ::read(fd, &byte, 1) == 1 ? QByteArray(1, byte)
                                                                            : QByteArray();
    }
    int fd;
};
}  // namespace

class SimulatorProgramTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpExplainsEveryOption();
    void badModuleOptionsAreRefused_data();
    void badModuleOptionsAreRefused();
    void programShowsTheModuleAndTakesADownload();
    void lineTimeHoldsTheAnswerBackByTheLineTime();
    void threadShowsTheModuleOfItsTruth();
};

void SimulatorProgramTest::helpExplainsEveryOption() {
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH), {u"--help"_s});
    QVERIFY(sim.waitForFinished(5000));
    const QString help = QString::fromLocal8Bit(sim.readAllStandardOutput());
    const QStringList options = {
        u"--link"_s,   u"--image"_s,       u"--no-answer"_s,  u"--nak"_s,
        u"--silent"_s, u"--late"_s,        u"--short-read"_s, u"--garbage"_s,
        u"--stray"_s,  u"--hang-up"_s,     u"--line-time"_s,  u"--wiring"_s,
        u"--oe-lit"_s, u"--display-lit"_s, u"--module-out"_s, u"--window"_s};
    for (const QString& option : options) {
        QVERIFY2(help.contains(option), qPrintable(option));
    }
}

void SimulatorProgramTest::badModuleOptionsAreRefused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown family") << QStringList{u"--wiring"_s, u"zigzag"_s};
    QTest::newRow("random without a seed") << QStringList{u"--wiring"_s, u"random"_s};
    QTest::newRow("seed not a number") << QStringList{u"--wiring"_s, u"random:x"_s};
    QTest::newRow("OE state 3") << QStringList{u"--oe-lit"_s, u"3"_s};
}

void SimulatorProgramTest::badModuleOptionsAreRefused() {
    QFETCH(QStringList, arguments);
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH), arguments);
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 2);
    const QString error = QString::fromLocal8Bit(sim.readAllStandardError());
    QVERIFY2(error.startsWith(arguments.first() + u" needs "_s), qPrintable(error));
}

// One session: the module follows the wizard's packets in the file, then a download.
void SimulatorProgramTest::programShowsTheModuleAndTakesADownload() {
    QTemporaryDir dir;
    const QString linkPath = dir.filePath(u"COM1"_s);
    const QString imagePath = dir.filePath(u"received.bin"_s);
    const QString outPath = dir.filePath(u"module.txt"_s);
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH),
              {u"--link"_s, linkPath, u"--image"_s, imagePath, u"--module-out"_s, outPath,
               u"--wiring"_s, u"stripe"_s, u"--oe-lit"_s, u"1"_s, u"--display-lit"_s, u"2"_s});
    QCOMPARE(firstLine(sim), linkPath);
    const auto text = [&outPath] {
        QFile file(outPath);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    QCOMPARE(text(), u"no module yet: waiting for CellTest\n"_s);
    LineEnd line(linkPath);
    QVERIFY(line.send(kCellTest8x4Scan2));
    QTRY_VERIFY_WITH_TIMEOUT(
        text().startsWith(u"########\n"_s.repeated(4) + u"8x4 scan 2, wiring stripe"_s), 5000);
    // OE 00 and display FF are the states this module lights in; LieTest 8 lights bit 8.
    QVERIFY(
        line.send(testPacket("0100000000") + testPacket("02FFFFFFFF") + testPacket("0308000000")));
    QTRY_VERIFY_WITH_TIMEOUT(text().startsWith(u"........\n........\n#.......\n........\n"_s),
                             5000);
    QVERIFY(text().endsWith(u" | last: LieTest count=8\n"_s));

    const QByteArray image = patternImage();
    for (int n = 0; n < 16; ++n) {
        QVERIFY(line.send(dataPacket(n, image.mid(n * 128, 128))));
        QCOMPARE(line.receiveByte(), QByteArray("\x06"));
    }
    QVERIFY(line.send(hex("5AA588FF100A040004") + image.right(127)));
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

void SimulatorProgramTest::lineTimeHoldsTheAnswerBackByTheLineTime() {
    SimulatorFaults faults;
    faults.lineTime = true;
    SimulatorThread sim(faults);
    LineEnd line(sim.devicePath());
    QElapsedTimer sinceWrite;
    sinceWrite.start();
    QVERIFY(line.send(dataPacket(0, QByteArray(128, '\0'))));
    QCOMPARE(line.receiveByte(), QByteArray("\x06"));
    // 136 bytes out and 1 byte back at 10 bits a byte and 19200 bit/s take 71.4 ms; a pty
    // alone would answer at once.
    QVERIFY2(sinceWrite.elapsed() >= 71, qPrintable(QString::number(sinceWrite.elapsed())));
}

void SimulatorProgramTest::threadShowsTheModuleOfItsTruth() {
    SimulatorThread sim({}, {}, {*Wiring::fromName(u"reversed"_s), Level::One});
    QCOMPARE(sim.moduleSize(), QSize(0, 0));
    LineEnd line(sim.devicePath());
    QVERIFY(line.send(kCellTest8x4Scan2 + testPacket("0100000000") + testPacket("0401000000")));
    QVERIFY(sim.waitForLog(u"HangTest count=1"_s, 5s));
    QCOMPARE(sim.litLeds(), QSet<QPoint>{QPoint(0, 0)});
    QCOMPARE(sim.moduleSize(), QSize(8, 4));
    QVERIFY(sim.moduleState().startsWith("8x4 scan 2, wiring reversed"_L1));
    QCOMPARE(sim.outOfPlace(), -1);
}

QTEST_GUILESS_MAIN(SimulatorProgramTest)
#include "tst_sim_program.moc"
