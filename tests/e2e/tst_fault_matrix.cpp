#include <QProcess>

#include "SimWindow.h"

using namespace std::chrono_literals;

// Every way the controller or the line can fail, each through the real window and the simulated
// controller: the caption or message it ends in, the port state, and a good exchange after it.
class FaultMatrixTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void unansweredDataPacketKFailsAfterKMinusOne_data();
    void unansweredDataPacketKFailsAfterKMinusOne();
    void lateOrGarbledAnswersFail_data();
    void lateOrGarbledAnswersFail();
    void strayBytesDuringTheWizardDoNotSpoilSetAndRead();
    void deviceVanishingMidDownloadIsReportedOnce();
    void deviceVanishingMidWizardIsReportedAndTheNextStepReopens();
    void portHeldByAnotherProcessIsReported_data();
    void portHeldByAnotherProcessIsReported();
    void nonexistentDeviceIsReportedEverywhere();

private:
    // A set that must succeed with these faults on the controller: proves the window and the
    // port are usable again.
    static void goodSetFollows(SimWindow& w, const SimulatorFaults& faults = {}) {
        w.sim->setFaults(faults);
        w.captions.clear();
        QVERIFY(w.press(w.setButton()));
        QCOMPARE(w.captions, (QStringList{u("设置地址"), u("设置成功")}));
        QVERIFY(!w.port.isOpen());
    }
};

void FaultMatrixTest::unansweredDataPacketKFailsAfterKMinusOne_data() {
    QTest::addColumn<int>("k");
    QTest::addColumn<bool>("nak");
    for (int k = 1; k <= 16; ++k) {
        QTest::addRow("silent at packet %d", k) << k << false;
    }
    QTest::addRow("NAK at packet 1") << 1 << true;
    QTest::addRow("NAK at packet 16") << 16 << true;
}

void FaultMatrixTest::unansweredDataPacketKFailsAfterKMinusOne() {
    QFETCH(int, k);
    QFETCH(bool, nak);
    SimulatorFaults faults;
    (nak ? faults.nakDataPacket : faults.silentDataPacket) = k;
    SimWindow w(faults);
    w.enableDownload();
    QVERIFY(w.press(w.window->downloadButton(), 8000));
    QCOMPARE(w.captions.size(), k + 1);
    QCOMPARE(w.captions.at(k - 1), u("下载") + QString::number(k - 1));
    QCOMPARE(w.captions.last(), u("下载失败"));
    QVERIFY(w.waitForPackets(k));
    QTest::qWait(20);
    QCOMPARE(w.sim->packets().size(), k);  // no closing packet after a failure
    QVERIFY(w.notifier.messages.isEmpty());
    QVERIFY(!w.port.isOpen());
    goodSetFollows(w);
}

void FaultMatrixTest::lateOrGarbledAnswersFail_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("caption");
    QTest::newRow("late set") << u("late") << u("Command1") << u("设置失败");
    QTest::newRow("late read") << u("late") << u("Command2") << u("读出失败");
    QTest::newRow("late download") << u("late") << u("DownLoad") << u("下载失败");
    QTest::newRow("garbage set") << u("garbage") << u("Command1") << u("设置失败");
    QTest::newRow("garbage read") << u("garbage") << u("Command2") << u("读出失败");
    QTest::newRow("garbage download") << u("garbage") << u("DownLoad") << u("下载失败");
    QTest::newRow("silent read") << u("silent") << u("Command2") << u("读出失败");
    QTest::newRow("short read answer") << u("short") << u("Command2") << u("读出失败");
}

void FaultMatrixTest::lateOrGarbledAnswersFail() {
    QFETCH(QString, fault);
    QFETCH(QString, command);
    QFETCH(QString, caption);
    SimulatorFaults faults;
    faults.answerDelay = fault == u("late") ? 600ms : 0ms;
    faults.garbageAnswer = fault == u("garbage");
    faults.neverAnswer = fault == u("silent");
    faults.shortAddressAnswer = fault == u("short");
    SimWindow w(faults);
    w.enableDownload();
    QVERIFY(w.press(w.window->findChild<QPushButton*>(command), 5000));
    QCOMPARE(w.captions.last(), caption);
    QCOMPARE(w.ip(0)->text(), u("192"));
    QVERIFY(w.notifier.messages.isEmpty());
    QVERIFY(!w.port.isOpen());
    QTest::qWait(700);  // the late answer arrives now, into a closed port
    goodSetFollows(w);
}

void FaultMatrixTest::strayBytesDuringTheWizardDoNotSpoilSetAndRead() {
    SimulatorFaults faults;
    faults.strayAfterTest = hex("065A06");
    SimWindow w(faults);
    w.next()->click();
    QVERIFY(w.waitForPackets(2));  // CellTest and a blink, each followed by stray bytes
    QVERIFY(w.press(w.readButton()));
    QCOMPARE(w.captions, (QStringList{u("读出地址"), u("读出成功")}));
    QCOMPARE(w.ip(0)->text(), u("192"));
    QVERIFY(w.waitForPackets(4));  // the blink goes on after the exchange
    goodSetFollows(w, faults);
}

void FaultMatrixTest::deviceVanishingMidDownloadIsReportedOnce() {
    SimulatorFaults faults;
    faults.hangUpAtDataPacket = 5;
    SimWindow w(faults);
    w.enableDownload();
    QVERIFY(w.press(w.window->downloadButton(), 8000));
    QCOMPARE(w.captions.last(), u("下载4"));
    QCOMPARE(w.notifier.messages, QStringList{u("串口被占用")});
    QVERIFY(!w.port.isOpen());
    goodSetFollows(w);
    QCOMPARE(w.notifier.messages.size(), 1);
}

void FaultMatrixTest::deviceVanishingMidWizardIsReportedAndTheNextStepReopens() {
    SimWindow w;
    w.window->parameterPage()->scanBox()->setEditText(QStringLiteral("4"));
    for (int i = 0; i < 3; ++i) {
        w.next()->click();
    }
    QCOMPARE(w.session().page(), Page::RowOrder);
    QVERIFY(w.port.isOpen());
    w.sim->hangUp();
    QTest::qWait(50);
    w.pick(PickGrid::Rows, 1, 1);  // the row pick ends silently on the failed port
    QCOMPARE(w.session().picks(PickGrid::Rows).count(), 1);
    QVERIFY(!w.port.isOpen());
    QVERIFY(w.notifier.messages.isEmpty());
    w.pick(PickGrid::Rows, 2, 1);  // the next pick opens the fresh line
    QVERIFY(w.port.isOpen());
    QVERIFY(w.sim->waitForLog(QStringLiteral("HangTest count=2"), 2s));

    w.sim->hangUp();
    QTest::qWait(50);
    w.next()->click();  // row page -> column page: LieTest fails
    QCOMPARE(w.notifier.messages, QStringList{u("串口被占用")});
    QCOMPARE(w.session().page(), Page::ColumnOrder);
    w.window->previousButton()->click();  // back to rows: reopens and sends HangTest 0
    QCOMPARE(w.notifier.messages.size(), 1);
    QVERIFY(w.sim->waitForLog(QStringLiteral("HangTest count=0"), 2s));
    goodSetFollows(w);
}

void FaultMatrixTest::portHeldByAnotherProcessIsReported_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("step advance") << "NextB";
    QTest::newRow("set") << "Command1";
    QTest::newRow("read") << "Command2";
    QTest::newRow("download") << "DownLoad";
}

void FaultMatrixTest::portHeldByAnotherProcessIsReported() {
    QFETCH(QString, command);
    SimWindow w;
    QProcess holder;
    holder.start(QStringLiteral(PORT_HOLDER_PATH), {w.sim->devicePath()});
    QVERIFY(holder.waitForReadyRead(5000));
    w.enableDownload();
    QVERIFY(w.press(w.window->findChild<QPushButton*>(command)));
    QCOMPARE(w.notifier.messages, QStringList{u("串口被占用")});
    QVERIFY(!w.port.isOpen());
    QVERIFY(w.sim->packets().isEmpty());
    QCOMPARE(w.session().page(), Page::Parameters);
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(5000));
    goodSetFollows(w);
}

void FaultMatrixTest::nonexistentDeviceIsReportedEverywhere() {
    SimWindow w;
    const QString simulator = w.device;
    w.useDevice(QStringLiteral("/dev/lumotrix-no-such-device"));
    w.enableDownload();
    for (QPushButton* b : {w.next(), w.setButton(), w.readButton(), w.window->downloadButton()}) {
        QVERIFY(w.press(b));
    }
    QCOMPARE(w.notifier.messages, QStringList(4, u("串口被占用")));
    QCOMPARE(w.session().page(), Page::Parameters);
    w.useDevice(simulator);
    goodSetFollows(w);
}

QTEST_MAIN(FaultMatrixTest)
#include "tst_fault_matrix.moc"
