#include <QtTest>
#include <functional>

#include "Errors.h"
#include "Packets.h"
#include "TestBytes.h"

// Every packet kind byte for byte, and the byte range test that keeps a bad value off the wire.
class PacketsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void packetsHaveTheirExactBytes();
    void mapDataAndClosingPacketsCarryTheirBytes();
    void valuesOutsideAByteAreRefused();
};

void PacketsTest::packetsHaveTheirExactBytes() {
    const std::pair<QByteArray, QByteArray> cases[] = {
        {Packets::cellTest(64, 32, 0, 16), hex("5AA50DFFFF6070000040200010")},
        {Packets::cellTest(255, 255, 1, 255), hex("5AA50DFFFF60FE0000FFFF01FF")},
        {Packets::oeTest(0), hex("5AA50DFFFF6001000100000000")},
        {Packets::oeTest(1), hex("5AA50DFFFF6000000101000000")},
        {Packets::oeBlink(0xFF), hex("5AA50DFFFF60010001FFFFFFFF")},
        {Packets::disTest(0), hex("5AA50DFFFF6002000200000000")},
        {Packets::disTest(255), hex("5AA50DFFFF60020002FFFFFFFF")},
        {Packets::hangTest(1), hex("5AA50DFFFF6005000401000000")},
        {Packets::hangTest(300), hex("5AA50DFFFF602900042C010000")},  // low byte first
        {Packets::hangTest(65535), hex("5AA50DFFFF60040004FFFF0000")},
        {Packets::lieTest(8), hex("5AA50DFFFF600B000308000000")},
        {Packets::lieTest(136), hex("5AA50DFFFF608B000388000000")},
        {Packets::setAddress(0, {192, 168, 0, 100}),
         hex("5AA528FFFF0A03000F00C0A80064") + zeros(26)},
        {Packets::readAddress(), hex("5AA528FFFF0A100010") + zeros(31)},
    };
    for (const auto& [built, expected] : cases) {
        QCOMPARE(built.toHex(' '), expected.toHex(' '));
    }
}

void PacketsTest::mapDataAndClosingPacketsCarryTheirBytes() {
    QByteArray ramp;  // 00, 01, .. 7F: their XOR is 00
    for (int i = 0; i < 128; ++i) {
        ramp.append(static_cast<char>(i));
    }
    QCOMPARE(Packets::mapDataPacket(3, ramp), hex("5AA588FF03610000") + ramp);
    QByteArray last = zeros(128);
    last[127] = '\x80';
    QCOMPARE(Packets::mapDataPacket(15, last).at(6), '\x80');  // the checksum covers every byte
    const QByteArray tail(127, '\x5C');
    QCOMPARE(Packets::downLoadEnd(16, tail), hex("5AA588FF100A040004") + tail);
}

void PacketsTest::valuesOutsideAByteAreRefused() {
    const std::function<QByteArray()> refused[] = {
        [] { return Packets::cellTest(300, 32, 0, 16); },
        [] { return Packets::cellTest(-1, 32, 0, 16); },
        [] { return Packets::cellTest(64, 32, 0, 256); },
        [] { return Packets::oeTest(256); },
        [] { return Packets::oeBlink(-1); },
        [] { return Packets::disTest(300); },
        [] { return Packets::hangTest(-1); },
        [] { return Packets::lieTest(65536); },
        [] {
            return Packets::setAddress(256, {192, 168, 0, 100});
        },
        [] {
            return Packets::setAddress(0, {192, 168, 0, -1});
        },
        [] { return Packets::mapDataPacket(300, zeros(128)); },
        [] { return Packets::mapDataPacket(0, zeros(127)); },
        [] { return Packets::downLoadEnd(-1, zeros(127)); },
        [] { return Packets::downLoadEnd(16, zeros(128)); },
    };
    for (const auto& build : refused) {
        QVERIFY_THROWS_EXCEPTION(RangeError, build());
    }
}

QTEST_GUILESS_MAIN(PacketsTest)
#include "tst_link_packets.moc"
