#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <memory>

#include "SimulatorThread.h"
#include "SoakRun.h"
#include "TestBytes.h"
#include "cli/Cli.h"
#include "cli/Csv.h"

// A long run of lumotrix-cli in one process: 200 downloads as 25 batches over eight simulated
// controllers, a fault on every third (see SoakRun). Each controller is on a link of its own
// (ctl1 .. ctl8 in a temporary folder, so that a hang-up keeps the path). After each batch:
// every line's result in the report and the exit code, the map in every controller that
// acknowledged it, and no port or thread left open (the process holds as many files as
// before). The controllers are restarted before every batch: a simulated controller keeps every
// packet and log line it has seen, which would count as growth of this process.
class SoakCliTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoHundredDownloadsInBatchesLeaveNothingBehind() {
        batch(QByteArray(2048, '\0'), {});  // sets up what later ones reuse
        SoakRun run;
        for (int b = 0; b < 25 && !QTest::currentTestFailed(); ++b) {
            QList<SoakRun::Fault> faults;
            for (int i = 0; i < 8; ++i) {
                faults.append(run.faultFor(b * 8 + i + 1));
            }
            batch(QByteArray(2048, static_cast<char>(b + 1)), faults);
            QCOMPARE(SoakRun::openFiles(), run.filesAtStart());
        }
        run.finish("cli: 200 downloads in 25 batches over 8 controllers");
    }

private:
    // Switches the eight controllers off (what they recorded is gone, an answer still held back
    // is never sent) and on again, controller i with faults[i], runs lumotrix-cli's batch
    // command, every controller getting a map file of these bytes, and checks what it did.
    void batch(const QByteArray& map, const QList<SoakRun::Fault>& faults) {
        const QString file = writeFile(m_dir.filePath(QStringLiteral("map.bin")), map);
        QString plan = QStringLiteral("port,file\n");
        QStringList expected;
        for (int i = 0; i < 8; ++i) {
            const SoakRun::Fault fault = faults.value(i);
            m_sims[i].reset();  // the old controller gives up the path first
            m_sims[i] = std::make_unique<SimulatorThread>(
                fault.faults, m_dir.filePath(QStringLiteral("ctl%1").arg(i + 1)));
            plan += Csv::join({m_sims[i]->devicePath(), file}) + QLatin1Char('\n');
            expected.append(QString::fromLatin1(!fault.name       ? "ok"
                                                : fault.hangsUp() ? "port-failed"
                                                                  : "not-acknowledged"));
        }
        QString report;  // standard output: without --report, the report goes there
        QString progress;
        QTextStream out(&report);
        QTextStream err(&progress);
        CliIo io{out, err, false, {}};  // the plan names devices: no COM name is looked up
        const int code =
            Cli(io).run({QStringLiteral("batch"),
                         writeFile(m_dir.filePath(QStringLiteral("plan.csv")), plan.toUtf8())});
        const QStringList rows = report.trimmed().split(u'\n').mid(1);  // after the header
        QCOMPARE(rows.size(), 8);
        QCOMPARE(code, expected.contains(QStringLiteral("port-failed"))        ? 3
                       : expected.contains(QStringLiteral("not-acknowledged")) ? 2
                                                                               : 0);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(Csv::split(rows[i]).value(4), expected[i]);  // the result
            QVERIFY2(expected[i] != QStringLiteral("ok") || m_sims[i]->image() == map,
                     qPrintable(QStringLiteral("controller %1's map").arg(i + 1)));
        }
    }

    QTemporaryDir m_dir;
    std::unique_ptr<SimulatorThread> m_sims[8];
};

QTEST_GUILESS_MAIN(SoakCliTest)
#include "tst_soak_cli.moc"
