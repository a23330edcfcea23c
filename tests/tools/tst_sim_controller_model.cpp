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

// A 13-byte test packet with sub-code and bytes 9..12, its checksum the XOR of bytes 8..12.
QByteArray testPacket(const char* subCodeAndBytes) {
    QByteArray packet = hex("5AA50DFFFF600000") + hex(subCodeAndBytes);
    for (int i = 8; i < 13; ++i) {
        packet[6] = static_cast<char>(packet.at(6) ^ packet.at(i));
    }
    return packet;
}

// The download of a map for a 16 x 4 scan 2 module wired straight: row entries (0,0) and (1,0),
// column picks (0,0), (0,1), (2,0), (2,1), OE byte 01, display 0.
QList<QByteArray> straightDownload(int dataPackets) {
    QByteArray image = hex("10000400000002000000010000002000") + hex("00000100") +
                       QByteArray(28, '\0') + hex("0201020000010000");
    image += QByteArray(2048 - image.size(), '\0');
    QList<QByteArray> packets;
    for (int n = 16 - dataPackets; n < 16; ++n) {
        QByteArray packet = hex("5AA588FF00610000") + image.mid(n * 128, 128);
        packet[4] = static_cast<char>(n);
        for (int i = 8; i < 136; ++i) {
            packet[6] = static_cast<char>(packet.at(6) ^ packet.at(i));
        }
        packets.append(packet);
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
    void moduleStateEndsWithTheLastPacket();
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

void ControllerModelTest::packetsDriveTheModule_data() {
    QTest::addColumn<QList<QByteArray>>("packets");
    QTest::addColumn<QStringList>("rows");
    const QByteArray cell = testPacket("0010040002");
    const QString dark(16, QLatin1Char('.'));
    const QString lit(16, QLatin1Char('#'));
    QTest::newRow("OeTest 00 is state 1: dark")
        << QList<QByteArray>{cell, testPacket("0100000000")} << QStringList{dark, dark, dark, dark};
    QTest::newRow("OeTest 01 is state 2: lit")
        << QList<QByteArray>{cell, testPacket("0101000000")} << QStringList{lit, lit, lit, lit};
    QTest::newRow("DisTest FF is state 2: inverted")
        << QList<QByteArray>{cell, testPacket("02FFFFFFFF"), testPacket("0401000000")}
        << QStringList{lit, QStringLiteral(".###############"), lit, lit};
    QTest::newRow("HangTest 1") << QList<QByteArray>{cell, testPacket("0401000000")}
                                << QStringList{dark, QStringLiteral("#..............."), dark,
                                               dark};
    QTest::newRow("HangTest 256 is past the last address")
        << QList<QByteArray>{cell, testPacket("0400010000")} << QStringList{dark, dark, dark, dark};
    QTest::newRow("LieTest 8") << QList<QByteArray>{cell, testPacket("0308000000")}
                               << QStringList{QStringLiteral("........#......."), dark, dark, dark};
    QTest::newRow("a complete download shows the test picture")
        << QList<QByteArray>{cell} + straightDownload(16)
        << QStringList{lit, QStringLiteral("##............#."), QStringLiteral("#.#.....########"),
                       QStringLiteral("#..#..........#.")};
    QTest::newRow("DownLoadEnd after 15 data packets changes nothing")
        << QList<QByteArray>{cell} + straightDownload(15) << QStringList{lit, lit, lit, lit};
}

void ControllerModelTest::packetsDriveTheModule() {
    QFETCH(QList<QByteArray>, packets);
    QFETCH(QStringList, rows);
    ControllerModel model;
    for (const QByteArray& packet : packets) {
        model.handle(packet);
    }
    QCOMPARE(model.moduleSnapshot().rows(), rows);
}

void ControllerModelTest::moduleStateEndsWithTheLastPacket() {
    ControllerModel model;
    model.handle(kHangTest16);
    QVERIFY(model.moduleSnapshot().state.endsWith(QLatin1String(" | last: HangTest count=16")));
    QByteArray badChecksum = kHangTest16;
    badChecksum[6] = 0x15;
    model.handle(badChecksum);
    QVERIFY(model.moduleSnapshot().state.endsWith(
        QLatin1String(" | last: HangTest checksum BAD (got 15, want 14), ignored")));
}

QTEST_GUILESS_MAIN(ControllerModelTest)
#include "tst_sim_controller_model.moc"
