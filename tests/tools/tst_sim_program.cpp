#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "Link.h"
#include "Packets.h"
#include "QtSerialPort.h"
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

QString firstLine(QProcess& process) {
    if (!process.waitForReadyRead(5000)) {
        return {};
    }
    return QString::fromLocal8Bit(process.readLine().trimmed());
}
}  // namespace

class SimulatorProgramTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpExplainsEveryOption();
    void programTakesADownloadAndWritesTheImage();
    void lineTimeHoldsTheAnswerBackByTheLineTime();
};

void SimulatorProgramTest::helpExplainsEveryOption() {
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH), {QStringLiteral("--help")});
    QVERIFY(sim.waitForFinished(5000));
    const QString help = QString::fromLocal8Bit(sim.readAllStandardOutput());
    const QStringList options = {
        QStringLiteral("--link"),       QStringLiteral("--image"),    QStringLiteral("--no-answer"),
        QStringLiteral("--nak"),        QStringLiteral("--silent"),   QStringLiteral("--late"),
        QStringLiteral("--short-read"), QStringLiteral("--garbage"),  QStringLiteral("--stray"),
        QStringLiteral("--hang-up"),    QStringLiteral("--line-time")};
    for (const QString& option : options) {
        QVERIFY2(help.contains(option), qPrintable(option));
    }
}

void SimulatorProgramTest::programTakesADownloadAndWritesTheImage() {
    QTemporaryDir dir;
    const QString linkPath = dir.filePath(QStringLiteral("COM1"));
    const QString imagePath = dir.filePath(QStringLiteral("received.bin"));
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH),
              {QStringLiteral("--link"), linkPath, QStringLiteral("--image"), imagePath});
    QCOMPARE(firstLine(sim), linkPath);

    QtSerialPort port;
    Link link(port);
    link.choosePort(QStringLiteral("COM1"), linkPath);
    const QByteArray image = patternImage();
    for (int n = 0; n < 16; ++n) {
        link.sendRequest(Packets::mapDataPacket(n, image.mid(n * 128, 128)));
        link.drain();
        QThread::msleep(100);
        QCOMPARE(link.takeAnswer(), std::optional<QByteArray>("\x06"));
    }
    link.sendPacket(Packets::downLoadEnd(16, image.right(127)));
    link.drain();
    QByteArray log;
    QTRY_VERIFY_WITH_TIMEOUT((log += sim.readAllStandardOutput()).contains("image written"), 5000);
    link.closePort();

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
    QtSerialPort port;
    Link link(port);
    link.choosePort(QStringLiteral("COM1"), sim.devicePath());
    QElapsedTimer sinceWrite;
    sinceWrite.start();
    link.sendRequest(QByteArray::fromHex("5AA588FF0061000000") + QByteArray(127, '\0'));
    std::optional<QByteArray> answer;
    while (!answer && sinceWrite.elapsed() < 5000) {
        QThread::msleep(2);
        answer = link.takeAnswer();
    }
    QCOMPARE(answer, std::optional<QByteArray>("\x06"));
    // 136 bytes out and 1 byte back at 10 bits a byte and 19200 bit/s take 71.4 ms; a pty
    // alone would answer at once.
    QVERIFY2(sinceWrite.elapsed() >= 71, qPrintable(QString::number(sinceWrite.elapsed())));
}

QTEST_GUILESS_MAIN(SimulatorProgramTest)
#include "tst_sim_program.moc"
