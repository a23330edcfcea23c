#include <QtTest>
#include <functional>

#include "Errors.h"
#include "Packets.h"
#include "TestBytes.h"

namespace {
using Builder = std::function<QByteArray()>;

// 128 image bytes 0x00, 0x01, ..., 0x7F (their XOR is 0x00).
QByteArray rampBytes() {
    QByteArray bytes;
    for (int i = 0; i < 128; ++i) {
        bytes.append(static_cast<char>(i));
    }
    return bytes;
}
}  // namespace

Q_DECLARE_METATYPE(Builder)

class PacketsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void packetsHaveTheirExactBytes_data();
    void packetsHaveTheirExactBytes();
    void mapDataPacketCarriesImageBytesAndSequenceNumber();
    void mapDataChecksumCoversEveryDataByte();
    void downLoadEndChecksumCoversOnlyItsSubCode();
    void valuesOutsideAByteAreRefused_data();
    void valuesOutsideAByteAreRefused();
    void wrongImageSliceLengthsAreRefused();
};

void PacketsTest::packetsHaveTheirExactBytes_data() {
    QTest::addColumn<Builder>("build");
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char* name, const QByteArray& expected, Builder build) {
        QTest::newRow(name) << build << expected;
    };
    row("CellTest 64x32 single scan16", QByteArray::fromHex("5AA50DFFFF6070000040200010"),
        [] { return Packets::cellTest(64, 32, 0, 16); });
    row("CellTest largest values", QByteArray::fromHex("5AA50DFFFF60FE0000FFFF01FF"),
        [] { return Packets::cellTest(255, 255, 1, 255); });
    row("OeTest chosen 1亮", QByteArray::fromHex("5AA50DFFFF6001000100000000"),
        [] { return Packets::oeTest(0); });
    row("OeTest chosen 2亮", QByteArray::fromHex("5AA50DFFFF6000000101000000"),
        [] { return Packets::oeTest(1); });
    row("OeTest blink off", QByteArray::fromHex("5AA50DFFFF6001000100000000"),
        [] { return Packets::oeBlink(0x00); });
    row("OeTest blink on", QByteArray::fromHex("5AA50DFFFF60010001FFFFFFFF"),
        [] { return Packets::oeBlink(0xFF); });
    row("DisTest chosen 1亮", QByteArray::fromHex("5AA50DFFFF6002000200000000"),
        [] { return Packets::disTest(0); });
    row("DisTest chosen 2亮", QByteArray::fromHex("5AA50DFFFF60020002FFFFFFFF"),
        [] { return Packets::disTest(255); });
    row("HangTest first row pick", QByteArray::fromHex("5AA50DFFFF6005000401000000"),
        [] { return Packets::hangTest(1); });
    row("HangTest 300 low byte first", QByteArray::fromHex("5AA50DFFFF602900042C010000"),
        [] { return Packets::hangTest(300); });
    row("HangTest 65535", QByteArray::fromHex("5AA50DFFFF60040004FFFF0000"),
        [] { return Packets::hangTest(65535); });
    row("LieTest first column pick", QByteArray::fromHex("5AA50DFFFF600B000308000000"),
        [] { return Packets::lieTest(8); });
    row("LieTest 136", QByteArray::fromHex("5AA50DFFFF608B000388000000"),
        [] { return Packets::lieTest(136); });
    row("SetAddress screen 0 at 192.168.0.100",
        QByteArray::fromHex("5AA528FFFF0A03000F00C0A80064") + zeros(26), [] {
            return Packets::setAddress(0, {192, 168, 0, 100});
        });
    row("ReadAddress", QByteArray::fromHex("5AA528FFFF0A100010") + zeros(31),
        [] { return Packets::readAddress(); });
}

void PacketsTest::packetsHaveTheirExactBytes() {
    QFETCH(Builder, build);
    QFETCH(QByteArray, expected);
    QCOMPARE(build().toHex(' '), expected.toHex(' '));
}

void PacketsTest::mapDataPacketCarriesImageBytesAndSequenceNumber() {
    const QByteArray packet = Packets::mapDataPacket(3, rampBytes());
    QCOMPARE(packet.size(), 136);
    QCOMPARE(packet.left(8).toHex(' '), QByteArray("5a a5 88 ff 03 61 00 00"));
    QCOMPARE(packet.mid(8), rampBytes());
}

void PacketsTest::mapDataChecksumCoversEveryDataByte() {
    QCOMPARE(Packets::mapDataPacket(0, zeros(128)).at(6), '\x00');
    QByteArray first = zeros(128);
    first[0] = '\x01';
    QCOMPARE(Packets::mapDataPacket(0, first).at(6), '\x01');
    QByteArray last = zeros(128);
    last[127] = '\x80';
    QCOMPARE(Packets::mapDataPacket(15, last).at(6), '\x80');
}

void PacketsTest::downLoadEndChecksumCoversOnlyItsSubCode() {
    QByteArray tail(127, '\x5C');
    const QByteArray packet = Packets::downLoadEnd(16, tail);
    QCOMPARE(packet.size(), 136);
    QCOMPARE(packet.left(9).toHex(' '), QByteArray("5a a5 88 ff 10 0a 04 00 04"));
    QCOMPARE(packet.mid(9), tail);
}

void PacketsTest::valuesOutsideAByteAreRefused_data() {
    QTest::addColumn<Builder>("build");
    QTest::newRow("CellTest width 300")
        << Builder([] { return Packets::cellTest(300, 32, 0, 16); });
    QTest::newRow("CellTest width -1") << Builder([] { return Packets::cellTest(-1, 32, 0, 16); });
    QTest::newRow("CellTest scan 256") << Builder([] { return Packets::cellTest(64, 32, 0, 256); });
    QTest::newRow("OeTest polarity 256") << Builder([] { return Packets::oeTest(256); });
    QTest::newRow("OeTest blink -1") << Builder([] { return Packets::oeBlink(-1); });
    QTest::newRow("DisTest 300") << Builder([] { return Packets::disTest(300); });
    QTest::newRow("HangTest -1") << Builder([] { return Packets::hangTest(-1); });
    QTest::newRow("HangTest -256") << Builder([] { return Packets::hangTest(-256); });
    QTest::newRow("LieTest 65536") << Builder([] { return Packets::lieTest(65536); });
    QTest::newRow("SetAddress screen 256") << Builder([] {
        return Packets::setAddress(256, {192, 168, 0, 100});
    });
    QTest::newRow("SetAddress last octet -1") << Builder([] {
        return Packets::setAddress(0, {192, 168, 0, -1});
    });
    QTest::newRow("MapDataPacket number 300")
        << Builder([] { return Packets::mapDataPacket(300, zeros(128)); });
    QTest::newRow("DownLoadEnd number -1")
        << Builder([] { return Packets::downLoadEnd(-1, zeros(127)); });
}

void PacketsTest::valuesOutsideAByteAreRefused() {
    QFETCH(Builder, build);
    QVERIFY_THROWS_EXCEPTION(RangeError, build());
}

void PacketsTest::wrongImageSliceLengthsAreRefused() {
    QVERIFY_THROWS_EXCEPTION(RangeError, Packets::mapDataPacket(0, zeros(127)));
    QVERIFY_THROWS_EXCEPTION(RangeError, Packets::mapDataPacket(0, zeros(129)));
    QVERIFY_THROWS_EXCEPTION(RangeError, Packets::downLoadEnd(16, zeros(128)));
}

QTEST_GUILESS_MAIN(PacketsTest)
#include "tst_link_packets.moc"
