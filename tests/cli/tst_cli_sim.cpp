#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "CliRunner.h"
#include "SimulatorThread.h"

using namespace std::chrono_literals;

// lumotrix-cli against simulated controllers on pseudo-terminals, through the real serial
// port: each subcommand's good path, the controller's and the port's failures, arguments
// refused before the port is touched, and batches over several controllers at once.
class CliSimTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void downloadLeavesTheFileInTheController();
    void downloadFailuresNameThePacket_data();
    void downloadFailuresNameThePacket();
    void missingPortsAreAPortFailure_data();
    void missingPortsAreAPortFailure();
    void badArgumentsAreRefusedBeforeThePort_data();
    void badArgumentsAreRefusedBeforeThePort();
    void setThenReadBringsTheValuesBackOnAComName();
    void addressFailuresAreNotAcknowledged_data();
    void addressFailuresAreNotAcknowledged();
    void batchRunsPortsTogetherAndReportsEveryLine();
    void faultyPlansSendNothing_data();
    void faultyPlansSendNothing();
    void batchReturnsTheWorstOutcome();

private:
    QString writeMap(const QString& name, char seed);
    QString writeFile(const QString& name, const QByteArray& bytes);
    std::unique_ptr<SimulatorThread> startSim(const SimulatorFaults& faults = {});

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

QString u(const char* s) {
    return QString::fromUtf8(s);
}

QByteArray mapBytes(char seed) {
    QByteArray bytes(2048, '\0');
    for (int i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 7 + seed) & 0xFF);
    }
    return bytes;
}

int countLines(const QStringList& log, const char* text) {
    return static_cast<int>(log.filter(QString::fromUtf8(text)).size());
}

}  // namespace

void CliSimTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

QString CliSimTest::writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir->filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

QString CliSimTest::writeMap(const QString& name, char seed) {
    return writeFile(name, mapBytes(seed));
}

std::unique_ptr<SimulatorThread> CliSimTest::startSim(const SimulatorFaults& faults) {
    auto sim = std::make_unique<SimulatorThread>(faults);
    if (!sim->isRunning()) {
        qFatal("simulator: %s", qPrintable(sim->errorString()));
    }
    return sim;
}

void CliSimTest::downloadLeavesTheFileInTheController() {
    const auto sim = startSim();
    const QString file = writeMap(u("map.bin"), 3);
    const CliRun run = runCli({u("download"), file, u("--port"), sim->devicePath()});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.out, u("download complete: 16 data packets acknowledged and the closing packet "
                        "sent to ") +
                          sim->devicePath() + u("\n"));
    QVERIFY(run.err.startsWith(u("sending ") + file + u(" (CRC-32 ")));
    QCOMPARE(run.err.count(u("acknowledged\n")), 16);
    QVERIFY(run.err.contains(u("data packet 16 of 16 acknowledged\n")));
    QVERIFY(sim->waitForLog(u("DownLoadEnd #17 checksum ok"), 2s));
    QCOMPARE(sim->image(), mapBytes(3));
    QCOMPARE(sim->packets().size(), 17);
}

void CliSimTest::downloadFailuresNameThePacket_data() {
    QTest::addColumn<int>("nak");
    QTest::addColumn<int>("silent");
    QTest::addColumn<int>("hangUp");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("dataPackets");
    QTest::addColumn<QString>("message");
    QTest::newRow("NAK to packet 1")
        << 1 << 0 << 0 << 2 << 1 << u("did not acknowledge data packet 1 of 16");
    QTest::newRow("NAK to packet 5")
        << 5 << 0 << 0 << 2 << 5 << u("did not acknowledge data packet 5 of 16");
    QTest::newRow("no answer to packet 3")
        << 0 << 3 << 0 << 2 << 3 << u("did not acknowledge data packet 3 of 16");
    QTest::newRow("line hung up at packet 4")
        << 0 << 0 << 4 << 3 << 4 << u("failed at data packet 4 of 16");
}

void CliSimTest::downloadFailuresNameThePacket() {
    QFETCH(int, nak);
    QFETCH(int, silent);
    QFETCH(int, hangUp);
    QFETCH(int, code);
    QFETCH(int, dataPackets);
    QFETCH(QString, message);
    SimulatorFaults faults;
    faults.nakDataPacket = nak;
    faults.silentDataPacket = silent;
    faults.hangUpAtDataPacket = hangUp;
    const auto sim = startSim(faults);
    const QString port = sim->devicePath();
    const CliRun run = runCli({u("download"), writeMap(u("m.bin"), 1), u("--port"), port});
    QCOMPARE(run.code, code);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY2(run.err.contains(port), qPrintable(run.err));
    QCOMPARE(run.err.count(u("acknowledged\n")), dataPackets - 1);
    QCOMPARE(countLines(sim->log(), "MapDataPacket"), dataPackets);
    QCOMPARE(countLines(sim->log(), "DownLoadEnd"), 0);
}

void CliSimTest::missingPortsAreAPortFailure_data() {
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("message");
    QTest::newRow("device path") << u("/dev/lumotrix-no-such-port")
                                 << u("lumotrix-cli: the port /dev/lumotrix-no-such-port failed: "
                                      "/dev/lumotrix-no-such-port: ");
    QTest::newRow("COM name without device")
        << u("COM4") << u("lumotrix-cli: the port COM4 (no device) failed: COM4: no serial device");
}

void CliSimTest::missingPortsAreAPortFailure() {
    QFETCH(QString, port);
    QFETCH(QString, message);
    const QString file = writeMap(u("m.bin"), 1);
    for (const QStringList& args : {QStringList{u("download"), file, u("--port"), port},
                                    QStringList{u("set-address"), u("--port"), port, u("--screen"),
                                                u("1"), u("--ip"), u("1.2.3.4")},
                                    QStringList{u("read-address"), u("--port"), port}}) {
        const CliRun run = runCli(args);
        QCOMPARE(run.code, 3);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    }
}

void CliSimTest::badArgumentsAreRefusedBeforeThePort_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    const QString port = u("PORT");
    QTest::newRow("download without port")
        << QStringList{u("download"), u("MAP")} << u("--port is missing");
    QTest::newRow("download of a short file")
        << QStringList{u("download"), u("SHORT"), u("--port"), port}
        << u("Cannot open the file SHORT: it holds only 2047 bytes; a map file holds exactly 2048");
    QTest::newRow("download of no file")
        << QStringList{u("download"), u("NOFILE"), u("--port"), port}
        << u("Cannot open the file NOFILE: there is no such file");
    QTest::newRow("two files") << QStringList{u("download"), u("MAP"), u("MAP"), u("--port"), port}
                               << u("expected 1 argument(s) besides the options, got 2");
    QTest::newRow("unknown option")
        << QStringList{u("read-address"), u("--port"), port, u("-x")} << u("Unknown option 'x'.");
    QTest::newRow("screen 256") << QStringList{u("set-address"), u("--port"), port,
                                               u("--screen"),    u("256"),    u("--ip"),
                                               u("1.2.3.4")}
                                << u("the screen number must be 0..255, not \"256\"");
    QTest::newRow("screen -1") << QStringList{u("set-address"), u("--port"), port,
                                              u("--screen"),    u("-1"),     u("--ip"),
                                              u("1.2.3.4")}
                               << u("the screen number must be 0..255, not \"-1\"");
    QTest::newRow("three octets") << QStringList{u("set-address"), u("--port"), port,
                                                 u("--screen"),    u("1"),      u("--ip"),
                                                 u("1.2.3")}
                                  << u("the IP address must be four numbers");
    QTest::newRow("set without ip")
        << QStringList{u("set-address"), u("--port"), port, u("--screen"), u("1")}
        << u("--ip is missing");
    QTest::newRow("COM13") << QStringList{u("read-address"), u("--port"), u("COM13")}
                           << u("port COM13 does not exist");
    QTest::newRow("unknown command") << QStringList{u("upload")} << u("unknown command \"upload\"");
}

void CliSimTest::badArgumentsAreRefusedBeforeThePort() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const auto sim = startSim();
    const QString map = writeMap(u("map.bin"), 2);
    const QString shortFile = writeFile(u("short.bin"), QByteArray(2047, '\0'));
    const QString noFile = m_dir->filePath(u("none.bin"));
    args.replaceInStrings(u("PORT"), sim->devicePath());
    args.replaceInStrings(u("SHORT"), shortFile);
    args.replaceInStrings(u("NOFILE"), noFile);
    args.replaceInStrings(u("MAP"), map);
    message.replace(u("SHORT"), shortFile).replace(u("NOFILE"), noFile);
    const CliRun run = runCli(args);
    QCOMPARE(run.code, 4);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith(u("lumotrix-cli: ") + message), qPrintable(run.err));
    QTest::qWait(50);
    QCOMPARE(sim->packets().size(), 0);
}

void CliSimTest::setThenReadBringsTheValuesBackOnAComName() {
    const auto sim = startSim();
    const QString device = sim->devicePath();
    const PortNames names(
        [] { return QStringList{u("/dev/ttyS0")}; },
        [device](const QString& name) { return name == u("LUMOTRIX_COM2") ? device : QString(); });
    const CliRun set = runCli({u("set-address"), u("--port"), u("COM2"), u("--screen"), u("7.0"),
                               u("--ip"), u("192.168.1.10")},
                              names);
    QCOMPARE(set.code, 0);
    QCOMPARE(set.out,
             u("screen number 7 and IP address 192.168.1.10 set on COM2 (") + device + u(")\n"));
    QCOMPARE(
        sim->packets().value(0).toHex(' '),
        QByteArray("5a a5 28 ff ff 0a 6b 00 0f 07 c0 a8 01 0a") + QByteArray(" 00").repeated(26));
    const CliRun read = runCli({u("read-address"), u("--port"), u("com2")}, names);
    QCOMPARE(read.code, 0);
    QCOMPARE(read.out, u("screen 7\nip 192.168.1.10\n"));
    QCOMPARE(sim->packets().value(1),
             QByteArray::fromHex("5AA528FFFF0A100010") + QByteArray(31, '\0'));
}

void CliSimTest::addressFailuresAreNotAcknowledged_data() {
    QTest::addColumn<bool>("never");
    QTest::addColumn<bool>("garbage");
    QTest::addColumn<bool>("shortAnswer");
    QTest::addColumn<int>("setCode");
    QTest::newRow("no answer") << true << false << false << 2;
    QTest::newRow("garbage answer") << false << true << false << 2;
    QTest::newRow("short read answer") << false << false << true << 0;
}

void CliSimTest::addressFailuresAreNotAcknowledged() {
    QFETCH(bool, never);
    QFETCH(bool, garbage);
    QFETCH(bool, shortAnswer);
    QFETCH(int, setCode);
    SimulatorFaults faults;
    faults.neverAnswer = never;
    faults.garbageAnswer = garbage;
    faults.shortAddressAnswer = shortAnswer;
    const auto sim = startSim(faults);
    const QString port = sim->devicePath();
    const CliRun set = runCli(
        {u("set-address"), u("--port"), port, u("--screen"), u("1"), u("--ip"), u("1.2.3.4")});
    QCOMPARE(set.code, setCode);
    if (setCode != 0) {
        QVERIFY2(set.err.contains(u("did not acknowledge the screen number and IP address")),
                 qPrintable(set.err));
    }
    const CliRun read = runCli({u("read-address"), u("--port"), port});
    QCOMPARE(read.code, 2);
    QCOMPARE(read.out, QString());
    QCOMPARE(read.err, u("lumotrix-cli: the controller on ") + port +
                           u(" did not report its address (no answer in time, or not a 26-byte "
                             "answer starting 5A)\n"));
}

void CliSimTest::batchRunsPortsTogetherAndReportsEveryLine() {
    SimulatorFaults nakAt5;
    nakAt5.nakDataPacket = 5;
    const auto a = startSim();
    const auto b = startSim();
    const auto c = startSim(nakAt5);
    const auto d = startSim();
    writeMap(u("one.bin"), 1);
    writeMap(u("two, second.bin"), 2);
    const QString plan = writeFile(
        u("plan.csv"), QStringLiteral("# four controllers\n"
                                      "port,file,screen,ip\n"
                                      "%1,one.bin,,\n"
                                      "%2,\"two, second.bin\",2,10.0.0.2\n"
                                      "\n"
                                      "%3,one.bin,3,10.0.0.3\n"
                                      "%4,one.bin,,\n"
                                      "%1,\"two, second.bin\",5,10.0.0.5\n")
                           .arg(a->devicePath(), b->devicePath(), c->devicePath(), d->devicePath())
                           .toUtf8());
    const QString report = m_dir->filePath(u("report.csv"));
    QElapsedTimer clock;
    clock.start();
    const CliRun run = runCli({u("batch"), plan, u("--report"), report});
    // Five downloads of about 2.1 s each: in turn they would take over 10.5 s; on four ports at
    // once about 4.3 s. The bound leaves room for a loaded machine and still shows the overlap.
    QVERIFY2(clock.elapsed() < 9000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(run.code, 2);
    QCOMPARE(run.out, QString());
    QVERIFY(run.err.startsWith(u("batch: 5 line(s) on 4 port(s)\n")));

    QFile file(report);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList rows = QString::fromUtf8(file.readAll()).split(u("\n"));
    QCOMPARE(rows.size(), 7);
    QCOMPARE(rows.takeLast(), QString());
    static const QRegularExpression seconds(u(",\\d+\\.\\d\\d,"));
    rows.replaceInStrings(seconds, u(",S,"));
    QCOMPARE(rows, (QStringList{
                       u("line,port,file,crc32,result,step,packet,seconds,message"),
                       u("3,") + a->devicePath() + u(",one.bin,72189096,ok,,,S,"),
                       u("4,") + b->devicePath() + u(",\"two, second.bin\",0536462f,ok,,,S,"),
                       u("6,") + c->devicePath() +
                           u(",one.bin,72189096,not-acknowledged,download,5,S,\"the controller "
                             "on ") +
                           c->devicePath() +
                           u(" did not acknowledge data packet 5 of 16 (no answer in time, or "
                             "an answer other than 06); the download stopped there and the "
                             "closing packet was not sent\""),
                       u("7,") + d->devicePath() + u(",one.bin,72189096,ok,,,S,"),
                       u("8,") + a->devicePath() + u(",\"two, second.bin\",0536462f,ok,,,S,"),
                   }));

    QCOMPARE(a->image(), mapBytes(2));
    QCOMPARE(countLines(a->log(), "DownLoadEnd"), 2);
    QCOMPARE(a->log().filter(u("SetAddress")),
             QStringList{u("SetAddress screen=5 ip=10.0.0.5 -> 06")});
    QCOMPARE(b->log().filter(u("SetAddress")),
             QStringList{u("SetAddress screen=2 ip=10.0.0.2 -> 06")});
    QCOMPARE(b->image(), mapBytes(2));
    QCOMPARE(countLines(c->log(), "SetAddress"), 0);
    QCOMPARE(countLines(c->log(), "MapDataPacket"), 5);
    QCOMPARE(d->image(), mapBytes(1));
}

void CliSimTest::faultyPlansSendNothing_data() {
    QTest::addColumn<QString>("plan");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing map file") << u("port,file\nPORT,one.bin\nPORT,gone.bin\n") << QString()
                                      << u("PLAN:3: Cannot open the file");
    QTest::newRow("port name") << u("port,file\nCOM13,one.bin\nPORT,one.bin\n") << QString()
                               << u("PLAN:2: port COM13 does not exist");
    QTest::newRow("bad ip") << u("port,file,screen,ip\nPORT,one.bin,1,1.2.3.400\n") << QString()
                            << u("PLAN:2: IP octet 4 must be 0..255");
    QTest::newRow("report in a missing folder")
        << u("port,file\nPORT,one.bin\n") << u("no/such/folder/r.csv")
        << u("cannot write the report");
}

void CliSimTest::faultyPlansSendNothing() {
    QFETCH(QString, plan);
    QFETCH(QString, report);
    QFETCH(QString, message);
    const auto sim = startSim();
    writeMap(u("one.bin"), 1);
    const QString planPath =
        writeFile(u("plan.csv"), plan.replace(u("PORT"), sim->devicePath()).toUtf8());
    QStringList args{u("batch"), planPath};
    if (!report.isEmpty()) {
        args << u("--report") << m_dir->filePath(report);
    }
    const CliRun run = runCli(args);
    QCOMPARE(run.code, 4);
    QVERIFY2(run.err.startsWith(u("lumotrix-cli: ") + message.replace(u("PLAN"), planPath)),
             qPrintable(run.err));
    QTest::qWait(50);
    QCOMPARE(sim->packets().size(), 0);
}

void CliSimTest::batchReturnsTheWorstOutcome() {
    const auto sim = startSim();
    writeMap(u("one.bin"), 1);
    const QString plan = writeFile(
        u("plan.csv"),
        QStringLiteral("port,file\n%1,one.bin\nCOM9,one.bin\n").arg(sim->devicePath()).toUtf8());
    const CliRun run = runCli({u("batch"), plan});
    QCOMPARE(run.code, 3);
    QVERIFY2(run.out.contains(u("\n3,COM9,one.bin,72189096,port-failed,download,0,")),
             qPrintable(run.out));
    QVERIFY2(run.out.contains(u("\n2,") + sim->devicePath() + u(",one.bin,72189096,ok,")),
             qPrintable(run.out));
    QVERIFY2(run.err.contains(u("line 3, COM9 (no device): the port COM9 (no device) failed: "
                                "COM9: no serial device\n")),
             qPrintable(run.err));
}

QTEST_GUILESS_MAIN(CliSimTest)
#include "tst_cli_sim.moc"
