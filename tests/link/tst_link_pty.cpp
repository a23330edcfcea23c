#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "Errors.h"
#include "Link.h"
#include "QtSerialPort.h"
#include "SimulatorThread.h"

using namespace std::chrono_literals;

// The real QSerialPort path against the simulated controller on a pseudo-terminal.

namespace {
const QByteArray kHangTest0 = QByteArray::fromHex("5AA50DFFFF6004000400000000");
const QByteArray kHangTest1 = QByteArray::fromHex("5AA50DFFFF6005000401000000");
const QByteArray kReadAddress = QByteArray::fromHex("5AA528FFFF0A100010") + QByteArray(31, '\0');
// Screen 7 at 10.1.2.3.
const QByteArray kSetAddress =
    QByteArray::fromHex("5AA528FFFF0A02000F070A010203") + QByteArray(26, '\0');
const QByteArray kFirstDataPacket =
    QByteArray::fromHex("5AA588FF0061000000") + QByteArray(127, '\0');

// Far above any scheduling delay, for waits that must end in success.
constexpr auto kPatience = 5s;

// A link on the real port whose every port number resolves to one path, counting opens.
struct PtyRig {
    explicit PtyRig(const QString& path)
        : link(port, [this, path](int) {
              ++resolved;
              return path;
          }) {}
    QtSerialPort port;
    int resolved = 0;
    Link link;
};

SimulatorFaults strayAfterTests() {
    SimulatorFaults faults;
    faults.neverAnswer = true;
    faults.strayAfterTest = QByteArray("\x06");
    return faults;
}
}  // namespace

class LinkPtyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twoPacketsInARowOpenThePortOnce();
    void answerWithinTheWaitIsReadWhole();
    void answerAfterTheWaitIsNotSeen();
    void silentControllerGivesNoAnswer();
    void strayBytesBeforeARequestAreNotTakenForItsAnswer();
    void missingDeviceFailsAsPortError();
    void portHeldByAnotherProcessFailsAsPortError();
    void choosingAnotherPortClosesTheOpenOne();
    void vanishedDeviceClosesThePortAndIsReportedOnce_data();
    void vanishedDeviceClosesThePortAndIsReportedOnce();
    void hangUpDuringAnExchangeFailsThatExchange();
};

void LinkPtyTest::twoPacketsInARowOpenThePortOnce() {
    SimulatorThread sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    PtyRig rig(sim.devicePath());
    rig.link.sendPacket(kHangTest0);
    rig.link.sendPacket(kHangTest1);
    QVERIFY(sim.waitForLog(QStringLiteral("HangTest count=1"), kPatience));
    QCOMPARE(rig.resolved, 1);
    QVERIFY(rig.link.isOpen());
    QCOMPARE(sim.log(),
             (QStringList{QStringLiteral("HangTest count=0"), QStringLiteral("HangTest count=1")}));
}

void LinkPtyTest::answerWithinTheWaitIsReadWhole() {
    SimulatorThread sim;
    PtyRig rig(sim.devicePath());
    rig.link.sendRequest(kSetAddress);
    QCOMPARE(rig.link.awaitAnswer(Link::kAnswerWait), std::optional<QByteArray>("\x06"));
    rig.link.sendRequest(kReadAddress);
    const std::optional<QByteArray> answer = rig.link.awaitAnswer(Link::kAnswerWait);
    QVERIFY(answer.has_value());
    // 5A first, screen 7 at byte 17, 10.1.2.3 at bytes 22..25: the values just set.
    const QByteArray expected = QByteArray::fromHex("5AA528FFFF0A1D0010") + QByteArray(8, '\0') +
                                QByteArray::fromHex("07") + QByteArray(4, '\0') +
                                QByteArray::fromHex("0A010203") + QByteArray(14, '\0');
    QCOMPARE(answer->toHex(' '), expected.toHex(' '));
}

void LinkPtyTest::answerAfterTheWaitIsNotSeen() {
    SimulatorFaults late;
    late.answerDelay = 600ms;
    SimulatorThread sim(late);
    PtyRig rig(sim.devicePath());
    rig.link.sendRequest(kSetAddress);
    QCOMPARE(rig.link.awaitAnswer(Link::kAnswerWait), std::nullopt);
    // The answer was sent, only too late: a later look finds it.
    QVERIFY(sim.waitForLog(QStringLiteral("sent 1 bytes"), kPatience));
    QCOMPARE(rig.link.awaitAnswer(10ms), std::optional<QByteArray>("\x06"));
}

void LinkPtyTest::silentControllerGivesNoAnswer() {
    SimulatorFaults silent;
    silent.neverAnswer = true;
    SimulatorThread sim(silent);
    PtyRig rig(sim.devicePath());
    rig.link.sendRequest(kReadAddress);
    QCOMPARE(rig.link.awaitAnswer(Link::kAnswerWait), std::nullopt);
    QVERIFY(sim.waitForLog(QStringLiteral("ReadAddress"), kPatience));
    QVERIFY(rig.link.isOpen());
}

void LinkPtyTest::strayBytesBeforeARequestAreNotTakenForItsAnswer() {
    SimulatorThread sim(strayAfterTests());
    PtyRig rig(sim.devicePath());
    // Sent without dropping what waits, the stray 06 passes for an acknowledgement...
    rig.link.sendPacket(kHangTest0);
    QVERIFY(sim.waitForLog(QStringLiteral("sent 1 bytes"), kPatience));
    rig.link.sendPacket(kSetAddress);
    QCOMPARE(rig.link.awaitAnswer(Link::kAnswerWait), std::optional<QByteArray>("\x06"));
    // ...sent as a request, it is dropped and the silent controller is seen as silent.
    rig.link.sendPacket(kHangTest1);
    QVERIFY(sim.waitForLog(QStringLiteral("HangTest count=1"), kPatience));
    QTRY_COMPARE_WITH_TIMEOUT(sim.log().count(QStringLiteral("sent 1 bytes")), 2, 5000);
    rig.link.sendRequest(kSetAddress);
    QCOMPARE(rig.link.awaitAnswer(Link::kAnswerWait), std::nullopt);
}

void LinkPtyTest::missingDeviceFailsAsPortError() {
    QTemporaryDir dir;
    PtyRig rig(dir.filePath(QStringLiteral("no-such-device")));
    QVERIFY_THROWS_EXCEPTION(PortError, rig.link.sendPacket(kHangTest0));
    QVERIFY(!rig.link.isOpen());
}

void LinkPtyTest::portHeldByAnotherProcessFailsAsPortError() {
    SimulatorThread sim;
    QProcess holder;
    holder.start(QStringLiteral(PORT_HOLDER_PATH), {sim.devicePath()});
    QVERIFY(holder.waitForReadyRead(5000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
    PtyRig rig(sim.devicePath());
    QVERIFY_THROWS_EXCEPTION(PortError, rig.link.sendPacket(kHangTest0));
    QVERIFY(!rig.link.isOpen());
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(5000));
    // Once the other program lets go, the same port opens.
    rig.link.sendPacket(kHangTest0);
    QVERIFY(sim.waitForLog(QStringLiteral("HangTest count=0"), kPatience));
}

void LinkPtyTest::choosingAnotherPortClosesTheOpenOne() {
    SimulatorThread first;
    SimulatorThread second;
    const QStringList paths = {first.devicePath(), second.devicePath()};
    QtSerialPort port;
    Link link(port, [&paths](int number) { return paths.value(number - 1); });
    link.sendPacket(kHangTest0);
    link.onCombo1Click(1);
    QVERIFY(!link.isOpen());
    link.sendPacket(kHangTest1);
    QVERIFY(second.waitForLog(QStringLiteral("HangTest count=1"), kPatience));
    QCOMPARE(first.log(), QStringList{QStringLiteral("HangTest count=0")});
    QCOMPARE(second.log(), QStringList{QStringLiteral("HangTest count=1")});
}

void LinkPtyTest::vanishedDeviceClosesThePortAndIsReportedOnce_data() {
    QTest::addColumn<bool>("eventLoopRunsBetween");
    QTest::newRow("noticed by the next send") << false;
    QTest::newRow("noticed earlier by the event loop") << true;
}

void LinkPtyTest::vanishedDeviceClosesThePortAndIsReportedOnce() {
    QFETCH(bool, eventLoopRunsBetween);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("COM1"));
    SimulatorThread sim({}, path);
    PtyRig rig(path);
    rig.link.sendPacket(kHangTest0);
    QVERIFY(sim.waitForLog(QStringLiteral("HangTest count=0"), kPatience));
    sim.hangUp();
    if (eventLoopRunsBetween) {
        QTest::qWait(200);
    }
    QVERIFY_THROWS_EXCEPTION(PortError, rig.link.sendPacket(kHangTest1));
    QVERIFY(!rig.link.isOpen());
    // The next packet opens the line that now stands at the same path.
    rig.link.sendPacket(kHangTest1);
    QVERIFY(sim.waitForLog(QStringLiteral("HangTest count=1"), kPatience));
    QVERIFY(rig.link.isOpen());
    QCOMPARE(rig.resolved, 2);
}

void LinkPtyTest::hangUpDuringAnExchangeFailsThatExchange() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("COM1"));
    SimulatorFaults hangUp;
    hangUp.hangUpAtDataPacket = 1;
    SimulatorThread sim(hangUp, path);
    PtyRig rig(path);
    rig.link.sendRequest(kFirstDataPacket);
    QVERIFY(sim.waitForLog(QStringLiteral("hung up"), kPatience));
    QVERIFY_THROWS_EXCEPTION(PortError, (void)rig.link.awaitAnswer(Link::kFirstDataWait));
    QVERIFY(!rig.link.isOpen());
}

QTEST_GUILESS_MAIN(LinkPtyTest)
#include "tst_link_pty.moc"
