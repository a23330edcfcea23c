#include <QtTest>

#include "PacketFramer.h"

namespace {
const QByteArray kHangTest = QByteArray::fromHex("5AA50DFFFF6004000400000000");
const QByteArray kReadAddress = QByteArray::fromHex("5AA528FFFF0A100010") + QByteArray(31, '\0');
}  // namespace

class PacketFramerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cutsTheStreamIntoPackets_data();
    void cutsTheStreamIntoPackets();
    void keepsAnIncompletePacketForTheNextBytes();
};

void PacketFramerTest::cutsTheStreamIntoPackets_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QList<QByteArray>>("packets");
    QTest::addColumn<int>("skipped");
    QTest::newRow("one packet") << kHangTest << QList<QByteArray>{kHangTest} << 0;
    QTest::newRow("two kinds back to back")
        << kHangTest + kReadAddress << QList<QByteArray>{kHangTest, kReadAddress} << 0;
    QTest::newRow("stray byte before")
        << QByteArray("\x06") + kHangTest << QList<QByteArray>{kHangTest} << 1;
    QTest::newRow("5A without A5 is skipped")
        << QByteArray::fromHex("5A00") + kHangTest << QList<QByteArray>{kHangTest} << 2;
    QTest::newRow("header with a length no packet has")
        << QByteArray::fromHex("5AA50E") + kHangTest << QList<QByteArray>{kHangTest} << 3;
    QTest::newRow("5A 5A A5 finds the second header")
        << QByteArray::fromHex("5A") + kHangTest << QList<QByteArray>{kHangTest} << 1;
    QTest::newRow("nothing but noise")
        << QByteArray::fromHex("0615FF00A5") << QList<QByteArray>{} << 5;
}

void PacketFramerTest::cutsTheStreamIntoPackets() {
    QFETCH(QByteArray, stream);
    QFETCH(QList<QByteArray>, packets);
    QFETCH(int, skipped);
    PacketFramer framer;
    QCOMPARE(framer.feed(stream), packets);
    QCOMPARE(framer.takeSkipped(), skipped);
}

void PacketFramerTest::keepsAnIncompletePacketForTheNextBytes() {
    PacketFramer framer;
    QCOMPARE(framer.feed(kReadAddress.left(2)), QList<QByteArray>{});
    QCOMPARE(framer.feed(kReadAddress.mid(2, 20)), QList<QByteArray>{});
    QCOMPARE(framer.feed(kReadAddress.mid(22) + kHangTest.left(5)),
             QList<QByteArray>{kReadAddress});
    QCOMPARE(framer.feed(kHangTest.mid(5)), QList<QByteArray>{kHangTest});
    QCOMPARE(framer.takeSkipped(), 0);
}

QTEST_GUILESS_MAIN(PacketFramerTest)
#include "tst_sim_framer.moc"
