#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "AddressExchange.h"
#include "DownloadExchange.h"
#include "Errors.h"
#include "FakeSerialPort.h"
#include "Link.h"
#include "QtSerialPort.h"
#include "SimulatorThread.h"
#include "TestBytes.h"

using namespace std::chrono_literals;

// The link on the real serial port class, against the simulated controller on a
// pseudo-terminal; and which packet a download reports when its port fails. What the
// controller and the line can do wrong is the fault matrix's (tests/e2e).
class LinkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void packetsGoOutOnOnePortOpenedOnce();
    void choosingAnotherPortClosesTheOpenOne();
    void vanishedDeviceIsReportedOnceAndTheNextSendReopens();
    void failedWriteIsReportedAtThePacketBeingWritten_data();
    void failedWriteIsReportedAtThePacketBeingWritten();
};

namespace {

const QByteArray kHangTest0 = hex("5AA50DFFFF6004000400000000");
const QByteArray kHangTest1 = hex("5AA50DFFFF6005000401000000");
constexpr auto kPatience = 5s;

struct Rig {
    QtSerialPort port;
    Link link{port};
    explicit Rig(const QString& device) { link.choosePort(QStringLiteral("COM1"), device); }
};

ExchangeOutcome finish(QSignalSpy& spy) {
    if (spy.isEmpty() && !spy.wait(5000)) {
        return {ExchangeOutcome::Kind::Done, -1, QStringLiteral("never finished")};
    }
    return spy.takeFirst().at(0).value<ExchangeOutcome>();
}

}  // namespace

void LinkTest::packetsGoOutOnOnePortOpenedOnce() {
    SimulatorThread sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    Rig rig(sim.devicePath());
    rig.link.sendPacket(kHangTest0);
    rig.link.sendPacket(kHangTest1);
    QVERIFY(sim.waitForLog(QStringLiteral("HangTest count=1"), kPatience));
    QVERIFY(rig.link.isOpen());
    QCOMPARE(sim.packets(), (QList<QByteArray>{kHangTest0, kHangTest1}));
}

void LinkTest::choosingAnotherPortClosesTheOpenOne() {
    SimulatorThread first;
    SimulatorThread second;
    Rig rig(first.devicePath());
    rig.link.sendPacket(kHangTest0);
    rig.link.choosePort(QStringLiteral("COM2"), second.devicePath());
    QVERIFY(!rig.link.isOpen());
    rig.link.sendPacket(kHangTest1);
    QVERIFY(second.waitForLog(QStringLiteral("HangTest count=1"), kPatience));
    QCOMPARE(first.packets(), QList<QByteArray>{kHangTest0});
}

// Noticed by the next send, with no turn of the event loop between (the fault matrix covers
// the loss noticed by the event loop).
void LinkTest::vanishedDeviceIsReportedOnceAndTheNextSendReopens() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("COM1"));
    SimulatorThread sim({}, path);
    Rig rig(path);
    rig.link.sendPacket(kHangTest0);
    QVERIFY(sim.waitForLog(QStringLiteral("HangTest count=0"), kPatience));
    sim.hangUp();
    QVERIFY_THROWS_EXCEPTION(PortError, rig.link.sendPacket(kHangTest1));
    QVERIFY(!rig.link.isOpen());
    rig.link.sendPacket(kHangTest1);  // the fresh line at the same path
    QVERIFY(sim.waitForLog(QStringLiteral("HangTest count=1"), kPatience));
}

void LinkTest::failedWriteIsReportedAtThePacketBeingWritten_data() {
    QTest::addColumn<int>("write");
    QTest::newRow("data packet 1") << 1;
    QTest::newRow("data packet 5") << 5;
    QTest::newRow("closing packet") << 17;
}

void LinkTest::failedWriteIsReportedAtThePacketBeingWritten() {
    QFETCH(int, write);
    FakeSerialPort port;
    port.answers = QList<QByteArray>(16, hex("06"));
    port.failOnWrite = write;
    Link link(port);
    link.choosePort(QStringLiteral("COM1"), QStringLiteral("/dev/fake"));
    DownloadExchange download(link);
    QSignalSpy finished(&download, &DownloadExchange::finished);
    download.start(QByteArray(2048, '\0'));
    const ExchangeOutcome outcome = finish(finished);
    QCOMPARE(outcome.kind, ExchangeOutcome::Kind::PortFailed);
    QCOMPARE(outcome.packet, write);
    QVERIFY(!link.isOpen());
}

QTEST_GUILESS_MAIN(LinkTest)
#include "tst_link.moc"
