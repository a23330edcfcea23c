#include <QtTest>

#include "EightControllers.h"
#include "SoakSupport.h"

// A long run of lumotrix-cli in one process: 200 downloads as 25 batches over eight controllers,
// a fault drawn from a fixed seed on every third download. After each batch: every line's
// result, the map in every controller that acknowledged it, and no port or thread left open
// (the process holds as many files as before). At the end resident memory has grown by less
// than 2 MiB. The controllers are restarted before every batch: a simulated controller keeps
// every packet and log line it has seen, which would count as growth of this process.
class SoakCliTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoHundredDownloadsInBatchesLeaveNothingBehind();

private:
    // Restarts the eight controllers, every third download (counted from first) with a fault
    // drawn from random and tallied in drawn; returns each line's expected result.
    static QStringList restartWithFaults(EightControllers& c, int first, std::mt19937& random,
                                         QMap<QString, int>& drawn);
};

QStringList SoakCliTest::restartWithFaults(EightControllers& c, int first, std::mt19937& random,
                                           QMap<QString, int>& drawn) {
    QStringList expected;
    for (int i = 0; i < 8; ++i) {
        const bool faulty = (first + i) % 3 == 2;
        const Soak::Fault fault = faulty ? Soak::drawFault(random) : Soak::Fault{};
        c.restart(static_cast<std::size_t>(i), fault.faults);
        expected.append(QString::fromLatin1(!faulty         ? "ok"
                                            : fault.hangsUp ? "port-failed"
                                                            : "not-acknowledged"));
        if (faulty) {
            ++drawn[QString::fromLatin1(fault.name)];
        }
    }
    return expected;
}

void SoakCliTest::twoHundredDownloadsInBatchesLeaveNothingBehind() {
    EightControllers c;
    std::mt19937 random(20240611);
    const QStringList warmUp(8, c.write(QStringLiteral("warm-up.bin"), QByteArray(2048, '\0')));
    QCOMPARE(c.batch(warmUp).code, 0);  // sets up what every later batch reuses
    const int files = Soak::openFiles();
    const qint64 resident = Soak::residentBytes();
    QMap<QString, int> faults;
    for (int batch = 0; batch < 25; ++batch) {
        const QByteArray map(2048, static_cast<char>(batch + 1));
        const QStringList maps(8, c.write(QStringLiteral("map.bin"), map));
        const QStringList expected = restartWithFaults(c, batch * 8, random, faults);
        const EightControllers::Result r = c.batch(maps);
        QCOMPARE(r.results, expected);
        QCOMPARE(r.code, expected.contains(QStringLiteral("port-failed"))        ? 3
                         : expected.contains(QStringLiteral("not-acknowledged")) ? 2
                                                                                 : 0);
        for (int i = 0; i < 8; ++i) {
            if (expected[i] == QStringLiteral("ok")) {
                QCOMPARE(c.sims[static_cast<std::size_t>(i)]->image(), map);
            }
        }
        QCOMPARE(Soak::openFiles(), files);
    }
    const qint64 grown = Soak::residentBytes() - resident;
    qInfo(
        "cli: 200 downloads in 25 batches over 8 controllers, faults %s; open files %d "
        "before and after every batch; resident memory %lld KiB before, grown by %lld KiB",
        Soak::tally(faults).constData(), files, resident / 1024, grown / 1024);
    QVERIFY(grown < 2 * 1024 * 1024);
}

QTEST_GUILESS_MAIN(SoakCliTest)
#include "tst_soak_cli.moc"
