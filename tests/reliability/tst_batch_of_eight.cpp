#include <QtTest>

#include "EightControllers.h"

// A batch over eight controllers at once, one worker thread each, three of them failing in
// the three ways a download can fail: the other five end with their map in the controller, and
// each failing line is reported with its own result and the packet it reached.
class BatchOfEightTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void faultsOnThreeControllersLeaveTheOtherFiveDone();
};

void BatchOfEightTest::faultsOnThreeControllersLeaveTheOtherFiveDone() {
    EightControllers c;
    SimulatorFaults nak;
    nak.nakDataPacket = 4;
    SimulatorFaults silence;
    silence.silentDataPacket = 9;
    SimulatorFaults hangUp;
    hangUp.hangUpAtDataPacket = 6;
    c.sims[2]->setFaults(nak);
    c.sims[4]->setFaults(silence);
    c.sims[6]->setFaults(hangUp);
    QStringList files;
    for (int i = 0; i < 8; ++i) {
        files.append(c.write(QStringLiteral("map%1.bin").arg(i), QByteArray(2048, char('a' + i))));
    }
    const EightControllers::Result r = c.batch(files);
    QCOMPARE(r.code, 3);  // the worst outcome: a port failure
    QCOMPARE(r.results.join(QLatin1Char(',')),
             QStringLiteral("ok,ok,not-acknowledged,ok,not-acknowledged,ok,port-failed,ok"));
    QCOMPARE(r.packets.join(QLatin1Char(',')), QStringLiteral(",,4,,9,,6,"));
    for (const int i : {0, 1, 3, 5, 7}) {
        QCOMPARE(c.sims[static_cast<std::size_t>(i)]->image(), QByteArray(2048, char('a' + i)));
    }
}

QTEST_GUILESS_MAIN(BatchOfEightTest)
#include "tst_batch_of_eight.moc"
