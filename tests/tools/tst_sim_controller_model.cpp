#include <QTemporaryDir>
#include <QtTest>

#include "ControllerModel.h"
#include "SimPackets.h"

using namespace Qt::StringLiterals;

using namespace SimPackets;

namespace {
const QByteArray kHangTest16 = hex("5AA50DFFFF6014000410000000");
const QByteArray kCellTest = hex("5AA50DFFFF6070000040200010");
const QByteArray kSetAddress = hex("5AA528FFFF0A02000F070A010203") + QByteArray(26, '\0');
const QByteArray kReadAddress = hex("5AA528FFFF0A100010") + QByteArray(31, '\0');

QByteArray dataPacket(int sequence, char fill) {
    return SimPackets::dataPacket(sequence, QByteArray(128, fill));
}

const QByteArray kDownLoadEnd = hex("5AA588FF100A040004") + QByteArray(127, '\x33');

// The download of a map for an 8 x 4 scan 2 module wired straight: row entries (0,0), (1,0),
// column picks (0,0) then (2,0), OE byte 01, display 0; without its first data packets.
QList<QByteArray> straightDownload(int from) {
    const QByteArray image = (hex("08000400000002000000010000001000") + hex("00000100") +
                              QByteArray(28, '\0') + hex("02000000"))
                                 .leftJustified(2048, '\0');
    QList<QByteArray> packets;
    for (int n = from; n < 16; ++n) {
        packets.append(SimPackets::dataPacket(n, image.mid(n * 128, 128)));
    }
    return packets << kDownLoadEnd;
}
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
    void packetsDriveTheModule_data();
    void packetsDriveTheModule();
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
        << plain << kHangTest16 << u"HangTest count=16"_s << QByteArray();
    QTest::newRow("cell test fields")
        << plain << kCellTest << u"CellTest width=64 height=32 colour=0 scan=16"_s << QByteArray();
    QTest::newRow("set address acknowledged")
        << plain << kSetAddress << u"SetAddress screen=7 ip=10.1.2.3 -> 06"_s << hex("06");
    QTest::newRow("data packet acknowledged")
        << plain << dataPacket(2, '\x11') << u"MapDataPacket #3 checksum ok -> 06"_s << hex("06");
    QTest::newRow("NAK to data packet 3")
        << nak3 << dataPacket(2, '\x11') << u"MapDataPacket #3 checksum ok -> 15"_s << hex("15");
    QTest::newRow("silent at data packet 2")
        << silentAt2 << dataPacket(1, '\x11') << u"MapDataPacket #2 checksum ok, not answering"_s
        << QByteArray();
    QTest::newRow("answers data packet 3 when silent at 2")
        << silentAt2 << dataPacket(2, '\x11') << u"MapDataPacket #3 checksum ok -> 06"_s
        << hex("06");
    QTest::newRow("no NAK to data packet 2")
        << nak3 << dataPacket(1, '\x11') << u"MapDataPacket #2 checksum ok -> 06"_s << hex("06");
    QTest::newRow("download end, no answer")
        << plain << kDownLoadEnd << u"DownLoadEnd #17 checksum ok"_s << QByteArray();
    QTest::newRow("set address checksum covers bytes 8..13 only")
        << plain << kSetAddress.left(14) + QByteArray(26, '\x01')
        << u"SetAddress screen=7 ip=10.1.2.3 -> 06"_s << hex("06");
    QTest::newRow("never answers")
        << silent << kSetAddress << u"SetAddress screen=7 ip=10.1.2.3"_s << QByteArray();
    QTest::newRow("garbage") << garbage << kReadAddress << u"ReadAddress -> A5 13 FF 00 C3"_s
                             << hex("A513FF00C3");
    QTest::newRow("unknown setting sub-code")
        << plain << hex("5AA528FFFF0A070007") + QByteArray(31, '\0')
        << u"unknown packet 5A A5 28 FF FF 0A 07 00 07"_s << QByteArray();
    QTest::newRow("bad checksum is ignored")
        << plain << badChecksum << u"HangTest checksum BAD (got 15, want 14), ignored"_s
        << QByteArray();
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
    const QString path = dir.filePath(u"received.bin"_s);
    ControllerModel model;
    model.setImagePath(path);
    model.handle(dataPacket(0, '\x01'));
    model.handle(dataPacket(15, '\x7F'));
    QCOMPARE(model.handle(kDownLoadEnd).log,
             u"DownLoadEnd #17 checksum ok, image written to "_s + path);
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

void ControllerModelTest::packetsDriveTheModule_data() {
    QTest::addColumn<QList<QByteArray>>("packets");
    QTest::addColumn<QString>("rows");
    const QByteArray cell = testPacket("0008040002");
    QTest::newRow("OeTest 00 is state 1: dark")
        << QList{cell, testPacket("0100000000")} << u"........|........|........|........"_s;
    QTest::newRow("OeTest 01 is state 2: lit")
        << QList{cell, testPacket("0101000000")} << u"########|########|########|########"_s;
    QTest::newRow("DisTest FF is state 2: inverted")
        << QList{cell, testPacket("02FFFFFFFF"), testPacket("0401000000")}
        << u"########|.#######|########|########"_s;
    QTest::newRow("HangTest 1") << QList{cell, testPacket("0401000000")}
                                << u"........|#.......|........|........"_s;
    QTest::newRow("HangTest 256: past the last address")
        << QList{cell, testPacket("0400010000")} << u"........|........|........|........"_s;
    QTest::newRow("LieTest 1") << QList{cell, testPacket("0301000000")}
                               << u".#......|........|........|........"_s;
    QTest::newRow("a complete download shows the test picture")
        << QList{cell} + straightDownload(0) << u"########|##....#.|#.#.####|#..#..#."_s;
    QTest::newRow("DownLoadEnd after 15 data packets changes nothing")
        << QList{cell} + straightDownload(1) << u"########|########|########|########"_s;
}

void ControllerModelTest::packetsDriveTheModule() {
    QFETCH(QList<QByteArray>, packets);
    QFETCH(QString, rows);
    ControllerModel model;
    QString last;
    for (const QByteArray& packet : packets) {
        last = model.handle(packet).log;
    }
    QCOMPARE(model.moduleSnapshot().rows().join(u'|'), rows);
    QVERIFY(model.moduleSnapshot().state.endsWith(" | last: "_L1 + last));
}

QTEST_GUILESS_MAIN(ControllerModelTest)
#include "tst_sim_controller_model.moc"
