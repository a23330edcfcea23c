#include <QtTest>
#include <memory>

#include "Cli.h"
#include "Csv.h"
#include "SimulatorThread.h"
#include "SoakRun.h"

// A long run of lumotrix-cli in one process: 200 downloads as 25 batches over eight simulated
// controllers, a fault on every third (see SoakRun). Each controller is on a link of its own
// (ctl1 .. ctl8 in a temporary folder, so that a hang-up keeps the path). After each batch:
// every line's result, the map in every controller that acknowledged it, and no port or thread
// left open (the process holds as many files as before). The controllers are restarted before
// every batch: a simulated controller keeps every packet and log line it has seen, which would
// count as growth of this process.
class SoakCliTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoHundredDownloadsInBatchesLeaveNothingBehind();

private:
    // Switches the eight controllers off (what they recorded is gone, an answer still held back
    // is never sent) and on again, controller i with faults[i], then runs lumotrix-cli's batch
    // command, every controller getting a map file of these bytes. Returns the exit code and
    // puts the report's result column, line by line, into results.
    int batch(const QByteArray& map, const QList<SimulatorFaults>& faults, QStringList& results);
    QString write(const QString& name, const QByteArray& bytes);

    QTemporaryDir m_dir;
    std::unique_ptr<SimulatorThread> m_sims[8];
};

QString SoakCliTest::write(const QString& name, const QByteArray& bytes) {
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(file.fileName()));
    }
    return file.fileName();
}

int SoakCliTest::batch(const QByteArray& map, const QList<SimulatorFaults>& faults,
                       QStringList& results) {
    const QString file = write(QStringLiteral("map.bin"), map);
    QString plan = QStringLiteral("port,file\n");
    for (int i = 0; i < 8; ++i) {
        m_sims[i].reset();  // the old controller gives up the path first
        m_sims[i] = std::make_unique<SimulatorThread>(
            faults.value(i), m_dir.filePath(QStringLiteral("ctl%1").arg(i + 1)));
        plan += Csv::join({m_sims[i]->devicePath(), file}) + QLatin1Char('\n');
    }
    const QString report = m_dir.filePath(QStringLiteral("report.csv"));
    QFile::remove(report);  // so that a batch that writes no report is not read as one
    QString out;
    QTextStream stream(&out);
    const PortNames names([] { return QStringList(); }, [](const QString&) { return QString(); });
    CliIo io{stream, stream, false, names};
    const int code =
        Cli(io).run({QStringLiteral("batch"), write(QStringLiteral("plan.csv"), plan.toUtf8()),
                     QStringLiteral("--report"), report});
    QFile csv(report);
    csv.open(QIODevice::ReadOnly);
    results.clear();
    for (const QString& row : QString::fromUtf8(csv.readAll().trimmed()).split(u'\n').mid(1)) {
        results.append(Csv::split(row).value(4));
    }
    return code;
}

void SoakCliTest::twoHundredDownloadsInBatchesLeaveNothingBehind() {
    QStringList results;
    QCOMPARE(batch(QByteArray(2048, '\0'), {}, results), 0);  // sets up what later ones reuse
    SoakRun run;
    for (int b = 0; b < 25; ++b) {
        const QByteArray map(2048, static_cast<char>(b + 1));
        QList<SimulatorFaults> faults;
        QStringList expected;
        for (int i = 0; i < 8; ++i) {
            const SoakRun::Fault fault = run.faultFor(b * 8 + i + 1);
            faults.append(fault.faults);
            expected.append(QString::fromLatin1(!fault.name       ? "ok"
                                                : fault.hangsUp() ? "port-failed"
                                                                  : "not-acknowledged"));
        }
        const int code = batch(map, faults, results);
        QCOMPARE(results, expected);
        QCOMPARE(code, expected.contains(QStringLiteral("port-failed"))        ? 3
                       : expected.contains(QStringLiteral("not-acknowledged")) ? 2
                                                                               : 0);
        for (int i = 0; i < 8; ++i) {
            if (expected[i] == QStringLiteral("ok")) {
                QCOMPARE(m_sims[i]->image(), map);
            }
        }
        QCOMPARE(SoakRun::openFiles(), run.filesAtStart());
    }
    run.finish("cli: 200 downloads in 25 batches over 8 controllers");
}

QTEST_GUILESS_MAIN(SoakCliTest)
#include "tst_soak_cli.moc"
