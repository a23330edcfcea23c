#include <QTemporaryDir>
#include <QtTest>

#include "ControllerModel.h"

namespace {
QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

const QByteArray kHangTest16 = hex("5AA50DFFFF6014000410000000");
const QByteArray kCellTest = hex("5AA50DFFFF6070000040200010");
const QByteArray kSetAddress = hex("5AA528FFFF0A02000F070A010203") + QByteArray(26, '\0');
const QByteArray kReadAddress = hex("5AA528FFFF0A100010") + QByteArray(31, '\0');

// Data packet with sequence byte `sequence` and 128 bytes of `fill` (checksum 00: an even count).
QByteArray dataPacket(char sequence, char fill) {
    QByteArray packet = hex("5AA588FF0061000000") + QByteArray(127, fill);
    packet[4] = sequence;
    packet[8] = fill;
    return packet;
}

const QByteArray kDownLoadEnd = hex("5AA588FF100A040004") + QByteArray(127, '\x33');
}  // namespace

Q_DECLARE_METATYPE(SimulatorFaults)

class ControllerModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answersAndLogsEachKind_data();
    void answersAndLogsEachKind();
    void readAddressAnswersWhatSetAddressStored();
    void keepsTheImageAndWritesItOnDownLoadEnd();
    void hangsUpAtTheChosenDataPacket();
};

void ControllerModelTest::answersAndLogsEachKind_data() {
    QTest::addColumn<SimulatorFaults>("faults");
    QTest::addColumn<QByteArray>("packet");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QByteArray>("answer");
    const SimulatorFaults plain;
    SimulatorFaults nak3;
    nak3.nakDataPacket = 3;
    SimulatorFaults silent;
    silent.neverAnswer = true;
    SimulatorFaults silentAt2;
    silentAt2.silentDataPacket = 2;
    SimulatorFaults garbage;
    garbage.garbageAnswer = true;
    QByteArray badChecksum = kHangTest16;
    badChecksum[6] = 0x15;
    QTest::newRow("test packet, no answer")
        << plain << kHangTest16 << QStringLiteral("HangTest count=16") << QByteArray();
    QTest::newRow("cell test fields")
        << plain << kCellTest << QStringLiteral("CellTest width=64 height=32 colour=0 scan=16")
        << QByteArray();
    QTest::newRow("set address acknowledged")
        << plain << kSetAddress << QStringLiteral("SetAddress screen=7 ip=10.1.2.3 -> 06")
        << hex("06");
    QTest::newRow("data packet acknowledged")
        << plain << dataPacket(2, '\x11') << QStringLiteral("MapDataPacket #3 checksum ok -> 06")
        << hex("06");
    QTest::newRow("NAK to data packet 3")
        << nak3 << dataPacket(2, '\x11') << QStringLiteral("MapDataPacket #3 checksum ok -> 15")
        << hex("15");
    QTest::newRow("silent at data packet 2")
        << silentAt2 << dataPacket(1, '\x11')
        << QStringLiteral("MapDataPacket #2 checksum ok, not answering") << QByteArray();
    QTest::newRow("answers data packet 3 when silent at 2")
        << silentAt2 << dataPacket(2, '\x11')
        << QStringLiteral("MapDataPacket #3 checksum ok -> 06") << hex("06");
    QTest::newRow("no NAK to data packet 2")
        << nak3 << dataPacket(1, '\x11') << QStringLiteral("MapDataPacket #2 checksum ok -> 06")
        << hex("06");
    QTest::newRow("download end, no answer")
        << plain << kDownLoadEnd << QStringLiteral("DownLoadEnd #17 checksum ok") << QByteArray();
    QTest::newRow("set address checksum covers bytes 8..13 only")
        << plain << kSetAddress.left(14) + QByteArray(26, '\x01')
        << QStringLiteral("SetAddress screen=7 ip=10.1.2.3 -> 06") << hex("06");
    QTest::newRow("never answers")
        << silent << kSetAddress << QStringLiteral("SetAddress screen=7 ip=10.1.2.3")
        << QByteArray();
    QTest::newRow("garbage") << garbage << kReadAddress
                             << QStringLiteral("ReadAddress -> A5 13 FF 00 C3")
                             << hex("A513FF00C3");
    QTest::newRow("unknown setting sub-code")
        << plain << hex("5AA528FFFF0A070007") + QByteArray(31, '\0')
        << QStringLiteral("unknown packet 5A A5 28 FF FF 0A 07 00 07") << QByteArray();
    QTest::newRow("bad checksum is ignored")
        << plain << badChecksum
        << QStringLiteral("HangTest checksum BAD (got 15, want 14), ignored") << QByteArray();
}

void ControllerModelTest::answersAndLogsEachKind() {
    QFETCH(SimulatorFaults, faults);
    QFETCH(QByteArray, packet);
    QFETCH(QString, log);
    QFETCH(QByteArray, answer);
    ControllerModel model;
    model.setFaults(faults);
    const ControllerModel::Reaction reaction = model.handle(packet);
    QCOMPARE(reaction.log, log);
    QCOMPARE(reaction.answer.toHex(' '), answer.toHex(' '));
    QVERIFY(!reaction.hangUp);
}

void ControllerModelTest::readAddressAnswersWhatSetAddressStored() {
    ControllerModel model;
    model.handle(kSetAddress);
    // Checksum 1D = 10 ^ 07 ^ 0A ^ 01 ^ 02 ^ 03, the XOR of bytes 8..39.
    const QByteArray expected = hex("5AA528FFFF0A1D0010") + QByteArray(8, '\0') + hex("07") +
                                QByteArray(4, '\0') + hex("0A010203") + QByteArray(14, '\0');
    QCOMPARE(model.handle(kReadAddress).answer.toHex(' '), expected.toHex(' '));

    SimulatorFaults shortAnswer;
    shortAnswer.shortAddressAnswer = true;
    model.setFaults(shortAnswer);
    QCOMPARE(model.handle(kReadAddress).answer.size(), 10);
}

void ControllerModelTest::keepsTheImageAndWritesItOnDownLoadEnd() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("received.bin"));
    ControllerModel model;
    model.setImagePath(path);
    model.handle(dataPacket(0, '\x01'));
    model.handle(dataPacket(15, '\x7F'));
    QCOMPARE(model.handle(kDownLoadEnd).log,
             QStringLiteral("DownLoadEnd #17 checksum ok, image written to ") + path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray expected =
        QByteArray(128, '\x01') + QByteArray(14 * 128, '\0') + QByteArray(128, '\x7F');
    QCOMPARE(file.readAll(), expected);
}

void ControllerModelTest::hangsUpAtTheChosenDataPacket() {
    SimulatorFaults faults;
    faults.hangUpAtDataPacket = 2;
    ControllerModel model;
    model.setFaults(faults);
    QVERIFY(!model.handle(dataPacket(0, '\x01')).hangUp);
    const ControllerModel::Reaction reaction = model.handle(dataPacket(1, '\x01'));
    QVERIFY(reaction.hangUp);
    QVERIFY(reaction.answer.isEmpty());
}

QTEST_GUILESS_MAIN(ControllerModelTest)
#include "tst_sim_controller_model.moc"
