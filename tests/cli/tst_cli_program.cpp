#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "SimulatorThread.h"

// The lumotrix-cli executable itself: its help texts and its exit codes as a shell sees them.
class CliProgramTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void helpOfEveryCommandIsComplete_data();
    void helpOfEveryCommandIsComplete();
    void exitCodesReachTheShell();

private:
    struct Result {
        int code = -1;
        QString out;
        QString err;
    };
    static Result run(const QStringList& args);
};

namespace {
QString u(const char* s) {
    return QString::fromUtf8(s);
}
}  // namespace

CliProgramTest::Result CliProgramTest::run(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(LUMOTRIX_CLI_PATH), args);
    if (!process.waitForFinished(10000)) {
        qFatal("lumotrix-cli did not end");
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void CliProgramTest::helpOfEveryCommandIsComplete_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("mentions");
    QTest::newRow("program") << QStringList{u("--help")}
                             << QStringList{u("Usage: lumotrix-cli COMMAND"),
                                            u("show FILE.bin [--json]"),
                                            u("download FILE.bin --port PORT"),
                                            u("set-address --port PORT --screen N --ip A.B.C.D"),
                                            u("read-address --port PORT"),
                                            u("batch PLAN.csv [--report REPORT.csv]"),
                                            u("LUMOTRIX_COMn"),
                                            u("0  success"),
                                            u("2  a controller did not acknowledge"),
                                            u("3  a serial port"),
                                            u("4  bad input")};
    QTest::newRow("show") << QStringList{u("show"), u("--help")}
                          << QStringList{u("Usage: lumotrix-cli show FILE.bin [--json]"),
                                         u("--json"), u("Exit codes: 0")};
    QTest::newRow("download") << QStringList{u("help"), u("download")}
                              << QStringList{u("Usage: lumotrix-cli download FILE.bin --port"),
                                             u("--port PORT"), u("COM1..COM12"),
                                             u("Exit codes: 0 complete; 2")};
    QTest::newRow("set-address")
        << QStringList{u("set-address"), u("-h")}
        << QStringList{u("Usage: lumotrix-cli set-address --port PORT --screen N --ip A.B.C.D"),
                       u("--screen N"), u("--ip A.B.C.D"), u("Exit codes: 0")};
    QTest::newRow("read-address") << QStringList{u("read-address"), u("--help")}
                                  << QStringList{u("Usage: lumotrix-cli read-address --port"),
                                                 u("ip 192.168.1.10"), u("Exit codes: 0")};
    QTest::newRow("batch") << QStringList{u("batch"), u("--help")}
                           << QStringList{u("Usage: lumotrix-cli batch PLAN.csv"),
                                          u("port,file,screen,ip"),
                                          u("line,port,file,crc32,result,step,packet,seconds,"
                                            "message"),
                                          u("Exit codes: the worst outcome")};
}

void CliProgramTest::helpOfEveryCommandIsComplete() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, mentions);
    const Result r = run(args);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QString());
    for (const QString& text : mentions) {
        QVERIFY2(r.out.contains(text), qPrintable(text));
    }
}

void CliProgramTest::exitCodesReachTheShell() {
    SimulatorFaults nakAt2;
    nakAt2.nakDataPacket = 2;
    SimulatorThread sim(nakAt2);
    QVERIFY(sim.isRunning());
    QTemporaryDir dir;
    const QString map = dir.filePath(u("map.bin"));
    QFile f(map);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(2048, '\x5a')) == 2048);
    f.close();

    QCOMPARE(run({}).code, 4);
    QCOMPARE(run({u("show"), map}).code, 4);  // 0x5A5A is no sound map
    QCOMPARE(run({u("read-address"), u("--port"), dir.filePath(u("none"))}).code, 3);

    const Result read = run({u("read-address"), u("--port"), sim.devicePath()});
    QCOMPARE(read.code, 0);
    QCOMPARE(read.out, u("screen 0\nip 192.168.0.100\n"));

    // Standard error is a pipe here: one plain line per acknowledged packet, no bar.
    const Result download = run({u("download"), map, u("--port"), sim.devicePath()});
    QCOMPARE(download.code, 2);
    QVERIFY2(download.err.contains(u("\ndata packet 1 of 16 acknowledged\nlumotrix-cli: the "
                                     "controller on ") +
                                   sim.devicePath() + u(" did not acknowledge data packet 2")),
             qPrintable(download.err));
    QVERIFY(!download.err.contains(QLatin1Char('\r')));
}

QTEST_GUILESS_MAIN(CliProgramTest)
#include "tst_cli_program.moc"
