#include <QtTest>
#include <optional>

#include "Errors.h"
#include "FakeSerialPort.h"
#include "Link.h"

using namespace std::chrono_literals;

namespace {
const QByteArray kTestPacket = QByteArray::fromHex("5AA50DFFFF6004000400000000");
const QByteArray kReadAddress = QByteArray::fromHex("5AA528FFFF0A100010") + QByteArray(31, '\0');

// Port n is "/dev/fake<n>"; port 9 has no device.
QString fakeDevice(int number) {
    return number == 9 ? QString() : QStringLiteral("/dev/fake%1").arg(number);
}

// A link over a fake port whose sleeps are logged in the port's call list instead of slept.
struct Rig {
    FakeSerialPort port;
    Link link{port, fakeDevice};
    Rig() {
        link.setSleeper([this](std::chrono::milliseconds delay) {
            port.calls.append(QStringLiteral("sleep %1").arg(delay.count()));
        });
    }
};
}  // namespace

Q_DECLARE_METATYPE(std::optional<QByteArray>)

class LinkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twoPacketsInARowOpenThePortOnce();
    void testPacketWaitsForNothingAndReadsNothing();
    void portOpensOnTheNumberChosenInTheList();
    void choosingAnotherPortWhileOpenClosesIt();
    void choosingAPortWhileClosedOnlyChangesTheNumber();
    void requestDropsBytesThatWereWaitingBeforeItIsWritten();
    void awaitAnswerDrainsThenSleepsThenLooksOnce();
    void awaitAnswerReportsWhatArrived_data();
    void awaitAnswerReportsWhatArrived();
    void portThatCannotOpenFailsAndStaysClosed();
    void portWithoutDeviceFailsWithoutOpening();
    void drainFailureEndsTheExchangeBeforeAnyRead();
    void vanishedDeviceIsReportedOnceAndTheNextSendReopens();
};

void LinkTest::twoPacketsInARowOpenThePortOnce() {
    Rig rig;
    rig.link.sendPacket(kTestPacket);
    rig.link.sendPacket(kTestPacket);
    QCOMPARE(rig.port.openedDevices, QStringList{QStringLiteral("/dev/fake1")});
    QCOMPARE(rig.port.written, (QList<QByteArray>{kTestPacket, kTestPacket}));
    QVERIFY(rig.link.isOpen());
}

void LinkTest::testPacketWaitsForNothingAndReadsNothing() {
    Rig rig;
    rig.port.answers = {QByteArray("\x06")};
    rig.link.sendPacket(kTestPacket);
    QCOMPARE(rig.port.calls,
             (QStringList{QStringLiteral("open /dev/fake1"), QStringLiteral("write")}));
    QCOMPARE(rig.port.pendingInput, QByteArray("\x06"));
}

void LinkTest::portOpensOnTheNumberChosenInTheList() {
    Rig rig;
    rig.link.onCombo1Click(11);
    QCOMPARE(rig.link.portNumber(), 12);
    rig.link.sendPacket(kTestPacket);
    QCOMPARE(rig.port.openedDevices, QStringList{QStringLiteral("/dev/fake12")});
}

void LinkTest::choosingAnotherPortWhileOpenClosesIt() {
    Rig rig;
    rig.link.sendPacket(kTestPacket);
    rig.link.onCombo1Click(1);
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(rig.port.closeCount, 1);
    rig.link.sendPacket(kTestPacket);
    QCOMPARE(rig.port.openedDevices,
             (QStringList{QStringLiteral("/dev/fake1"), QStringLiteral("/dev/fake2")}));
}

void LinkTest::choosingAPortWhileClosedOnlyChangesTheNumber() {
    Rig rig;
    rig.link.onCombo1Click(4);
    QCOMPARE(rig.link.portNumber(), 5);
    QCOMPARE(rig.port.calls, QStringList{});
}

void LinkTest::requestDropsBytesThatWereWaitingBeforeItIsWritten() {
    Rig rig;
    rig.link.sendPacket(kTestPacket);
    rig.port.pendingInput = QByteArray("\x06");  // a stray reaction to the test packet
    rig.link.sendRequest(kReadAddress);
    QCOMPARE(rig.port.calls.mid(2),
             (QStringList{QStringLiteral("discard"), QStringLiteral("write")}));
    QCOMPARE(rig.link.awaitAnswer(Link::kAnswerWait), std::nullopt);
    QCOMPARE(rig.port.written.last(), kReadAddress);
}

void LinkTest::awaitAnswerDrainsThenSleepsThenLooksOnce() {
    Rig rig;
    rig.link.sendRequest(kReadAddress);
    rig.port.calls.clear();
    (void)rig.link.awaitAnswer(500ms);
    QCOMPARE(rig.port.calls, (QStringList{QStringLiteral("drain 2000"), QStringLiteral("sleep 500"),
                                          QStringLiteral("read")}));
}

void LinkTest::awaitAnswerReportsWhatArrived_data() {
    QTest::addColumn<QByteArray>("arrived");
    QTest::addColumn<std::optional<QByteArray>>("expected");
    const QByteArray address = QByteArray::fromHex("5A") + QByteArray(16, '\x01') +
                               QByteArray::fromHex("07000000 00C0A8010A");
    QTest::newRow("nothing") << QByteArray() << std::optional<QByteArray>();
    QTest::newRow("acknowledge") << QByteArray("\x06") << std::optional<QByteArray>("\x06");
    QTest::newRow("negative") << QByteArray("\x15") << std::optional<QByteArray>("\x15");
    QTest::newRow("26-byte address answer, whole") << address << std::optional<QByteArray>(address);
    QTest::newRow("a zero byte is an answer")
        << QByteArray(1, '\0') << std::optional<QByteArray>(QByteArray(1, '\0'));
}

void LinkTest::awaitAnswerReportsWhatArrived() {
    QFETCH(QByteArray, arrived);
    QFETCH(std::optional<QByteArray>, expected);
    Rig rig;
    rig.port.answers = {arrived};
    rig.link.sendRequest(kReadAddress);
    QCOMPARE(rig.link.awaitAnswer(Link::kAnswerWait), expected);
}

void LinkTest::portThatCannotOpenFailsAndStaysClosed() {
    Rig rig;
    rig.port.failOpen = true;
    QVERIFY_THROWS_EXCEPTION(PortError, rig.link.sendPacket(kTestPacket));
    QVERIFY(!rig.link.isOpen());
    QVERIFY(rig.port.written.isEmpty());
}

void LinkTest::portWithoutDeviceFailsWithoutOpening() {
    Rig rig;
    rig.link.onCombo1Click(8);
    QVERIFY_THROWS_EXCEPTION(PortError, rig.link.sendRequest(kReadAddress));
    QCOMPARE(rig.port.calls, QStringList{});
}

void LinkTest::drainFailureEndsTheExchangeBeforeAnyRead() {
    Rig rig;
    rig.port.answers = {QByteArray("\x06")};
    rig.link.sendRequest(kReadAddress);
    rig.port.failDrain = true;
    rig.port.calls.clear();
    QVERIFY_THROWS_EXCEPTION(PortError, (void)rig.link.awaitAnswer(Link::kAnswerWait));
    QCOMPARE(rig.port.calls, QStringList{QStringLiteral("drain 2000")});
}

void LinkTest::vanishedDeviceIsReportedOnceAndTheNextSendReopens() {
    Rig rig;
    rig.link.sendPacket(kTestPacket);
    rig.port.vanishOnWrite = true;
    QVERIFY_THROWS_EXCEPTION(PortError, rig.link.sendPacket(kTestPacket));
    QVERIFY(!rig.link.isOpen());
    rig.link.sendPacket(kTestPacket);
    QCOMPARE(rig.port.openedDevices.size(), 2);
    QCOMPARE(rig.port.written.size(), 2);
}

QTEST_GUILESS_MAIN(LinkTest)
#include "tst_link_fake_port.moc"
