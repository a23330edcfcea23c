#include <QProcess>

#include "SimWindow.h"

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(SimulatorFaults)

namespace {

// A well-behaved controller but for one fault.
template <typename T, typename V>
SimulatorFaults with(T SimulatorFaults::*fault, V value) {
    SimulatorFaults faults;
    faults.*fault = value;
    return faults;
}

// A set that must succeed with these faults on the controller: proves the window and the port
// are usable again.
void goodSetFollows(SimWindow& w, const SimulatorFaults& faults = {}) {
    w.sim->setFaults(faults);
    w.captions.clear();
    QVERIFY(w.press(w.setButton()));
    QCOMPARE(w.captions, (QStringList{u("设置地址"), u("设置成功")}));
    QVERIFY(!w.port.isOpen());
}

}  // namespace

// Every way the controller or the line can fail, each through the real window and the simulated
// controller: the captions and message it ends in, what reached the controller, the port state,
// and a good exchange after it.
class FaultMatrixTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A row: the controller's faults, the port "held" by another process or "missing" (or
    // neither), the button pressed, the captions it ends in and how many packets the controller
    // receives.
    void faultEndsTheCommandAndTheNextOneWorks_data() {
        QTest::addColumn<SimulatorFaults>("faults");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("packets");
        const QString download = u("DownLoad");
        const QStringList setFailed{u("设置地址"), u("设置失败")};
        const QStringList readFailed{u("读出地址"), u("读出失败")};
        const auto failedAt = [](int k) { return downloadCaptions(k - 1) << u("下载失败"); };
        for (int k = 1; k <= 16; ++k) {
            QTest::addRow("silent at packet %d", k) << with(&SimulatorFaults::silentDataPacket, k)
                                                    << QString() << download << failedAt(k) << k;
        }
        for (int k : {1, 16}) {
            QTest::addRow("NAK at packet %d", k) << with(&SimulatorFaults::nakDataPacket, k)
                                                 << QString() << download << failedAt(k) << k;
        }
        QTest::newRow("hang-up at packet 5") << with(&SimulatorFaults::hangUpAtDataPacket, 5)
                                             << QString() << download << downloadCaptions(4) << 5;
        const SimulatorFaults late = with(&SimulatorFaults::answerDelay, 600ms);
        const SimulatorFaults garbage = with(&SimulatorFaults::garbageAnswer, true);
        QTest::newRow("late set") << late << QString() << u("Command1") << setFailed << 1;
        QTest::newRow("late read") << late << QString() << u("Command2") << readFailed << 1;
        QTest::newRow("late download") << late << QString() << download << failedAt(1) << 1;
        QTest::newRow("garbage set") << garbage << QString() << u("Command1") << setFailed << 1;
        QTest::newRow("garbage read") << garbage << QString() << u("Command2") << readFailed << 1;
        QTest::newRow("garbage download") << garbage << QString() << download << failedAt(1) << 1;
        QTest::newRow("silent read") << with(&SimulatorFaults::neverAnswer, true) << QString()
                                     << u("Command2") << readFailed << 1;
        QTest::newRow("short read answer") << with(&SimulatorFaults::shortAddressAnswer, true)
                                           << QString() << u("Command2") << readFailed << 1;
        const std::pair<QString, QStringList> started[] = {{u("NextB"), {}},
                                                           {u("Command1"), {u("设置地址")}},
                                                           {u("Command2"), {u("读出地址")}},
                                                           {download, downloadCaptions(0)}};
        for (const auto& [button, captions] : started) {
            for (const char* port : {"held", "missing"}) {
                QTest::addRow("%s port, %s", port, qPrintable(button))
                    << SimulatorFaults() << u(port) << button << captions << 0;
            }
        }
    }

    void faultEndsTheCommandAndTheNextOneWorks() {
        QFETCH(SimulatorFaults, faults);
        QFETCH(QString, port);
        QFETCH(QString, button);
        QFETCH(QStringList, captions);
        QFETCH(int, packets);
        SimWindow w(faults);
        QProcess holder;  // holds the port open until its standard input closes
        if (port == u("held")) {
            holder.start(QStringLiteral(PORT_HOLDER_PATH), {w.sim->devicePath()});
            QVERIFY(holder.waitForReadyRead(5000));
        } else if (port == u("missing")) {
            w.useDevice(QStringLiteral("/dev/lumotrix-no-such-device"));
        }
        w.session().mapOpened(MapImage());  // a map to download, as opening a file gives
        QVERIFY(w.press(w.window->findChild<QPushButton*>(button), 8000));
        QCOMPARE(w.captions, captions);
        QVERIFY(!w.port.isOpen());
        QCOMPARE(w.ip(0)->text(), u("192"));  // a failed read leaves the boxes alone
        QCOMPARE(w.session().page(), Page::Parameters);
        QTest::qWait(static_cast<int>(faults.answerDelay.count()) + 100);  // a late answer arrives
        QCOMPARE(w.sim->packets().size(), packets);  // no closing packet after a failure
        holder.closeWriteChannel();
        QVERIFY(port != u("held") || holder.waitForFinished(5000));
        w.useDevice(w.sim->devicePath());  // COM1 is the simulator's again
        goodSetFollows(w);
        // A port that cannot be opened, or that vanishes, is reported once; nothing else is.
        const bool portFails = !port.isEmpty() || faults.hangUpAtDataPacket != 0;
        QCOMPARE(w.notifier.messages, QStringList(portFails ? 1 : 0, u("串口被占用")));
    }

    void strayBytesDuringTheWizardDoNotSpoilSetAndRead() {
        const SimulatorFaults faults = with(&SimulatorFaults::strayAfterTest, hex("065A06"));
        SimWindow w(faults);
        w.next()->click();
        QVERIFY(w.waitForPackets(2));  // CellTest and a blink, each followed by stray bytes
        QVERIFY(w.press(w.readButton()));
        QCOMPARE(w.captions, (QStringList{u("读出地址"), u("读出成功")}));
        QCOMPARE(w.ip(0)->text(), u("192"));
        QVERIFY(w.waitForPackets(4));  // the blink goes on after the exchange
        goodSetFollows(w, faults);
    }

    void deviceVanishingMidWizardIsReportedAndTheNextStepReopens() {
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
};

QTEST_MAIN(FaultMatrixTest)
#include "tst_fault_matrix.moc"
