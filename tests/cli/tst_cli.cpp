#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "CliCall.h"
#include "SimulatorThread.h"
#include "TestBytes.h"
#include "cli/Cli.h"
#include "core/Language.h"

Q_DECLARE_METATYPE(SimulatorFaults)

namespace {

// lumotrix-cli run as a function call, standard error counting as a terminal. No serial device
// is present; LUMOTRIX_COMn is read from the environment.
CliRun runCli(const QStringList& args) {
    return runCli(
        args,
        PortNames([] { return QStringList(); },
                  [](const QString& name) { return qEnvironmentVariable(qPrintable(name)); }),
        true);
}

// The lumotrix-cli program as a shell runs it, standard error a pipe.
CliRun runProgram(const QStringList& args) {
    QProcess cli;
    cli.start(QStringLiteral(LUMOTRIX_CLI_PATH), args);
    const bool ended = cli.waitForFinished(10000) && cli.exitStatus() == QProcess::NormalExit;
    return {ended ? cli.exitCode() : -1, QString::fromUtf8(cli.readAllStandardOutput()),
            QString::fromUtf8(cli.readAllStandardError())};
}

// A 16 x 2 dual-colour module, scan count 2, red-green count 2, OE polarity 1 with marker 1,
// display polarity 255; row entries (0,3) (1,5), column entry (1,1).
QByteArray soundMap() {
    return hex("100002000100020001000101ff000800") + hex("00030105") + zeros(28) + hex("0101") +
           zeros(1998);
}

// err, out: a part of standard error and output, "" when it must be empty. The controller
// hangs up at data packet hangUp, answers garbage when garbage is set, and does not
// acknowledge data packet nak.
void row(const char* name, const char* args, int code, const char* err, const char* out = "",
         int hangUp = 0, bool garbage = false, int nak = 0) {
    SimulatorFaults faults;
    faults.hangUpAtDataPacket = hangUp;
    faults.garbageAnswer = garbage;
    faults.nakDataPacket = nak;
    QTest::newRow(name) << u(args).split(u(" ")) << code << u(err) << u(out) << faults;
}

}  // namespace

// lumotrix-cli run as a function and as a program against simulated controllers on
// pseudo-terminals, through the real serial port.
class CliTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void commandsEndWithTheirExitCode_data();
    void commandsEndWithTheirExitCode();
    void batchRunsPortsAtOnceAndEachPortInPlanOrder();

private:
    QTemporaryDir m_dir;  // the current folder, holding the test's files
};

void CliTest::initTestCase() {
    QDir::setCurrent(m_dir.path());
    Languages::use(Language::English);  // as main() does
}

void CliTest::commandsEndWithTheirExitCode_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("out");  // JSON in its compact form
    QTest::addColumn<SimulatorFaults>("faults");
    // PORT is the controller's device, also named COM2; m.bin is soundMap(), short.m a map a
    // byte short; "plan:TEXT" is plan.csv holding TEXT; "$" runs the program.
    row("download", "download m.bin --port PORT", 0, "\r[################] 16/16\n",
        "download complete: 16 data packets acknowledged and the closing packet sent to PORT\n");
    row("line lost", "download m.bin --port PORT", 3,
        "] 3/16\nlumotrix-cli: the port PORT failed at data packet 4 of 16: ", "", 4);
    row("set", "set-address --port com2 --screen 2 --ip 192.168.7.1", 0, "",
        "screen number 2 and IP address 192.168.7.1 set on COM2 (PORT)\n");
    row("set refused", "set-address --port PORT --screen 7 --ip 1.2.3.4", 2,
        "the controller on PORT did not acknowledge the screen number and IP address", "", 0, true);
    row("read", "read-address --port PORT", 0, "", "screen 0\nip 192.168.0.100\n");
    row("read refused", "read-address --port PORT", 2,
        "the controller on PORT did not report its address", "", 0, true);
    row("show", "show m.bin", 0, "",
        "file              m.bin\nsize              2048 bytes\nCRC-32            6cb12986\nwidth"
        "             16\nheight            2\ncolour            1 (dual)\nscan count        2\n"
        "red-green count   2 (list position 1)\nOE polarity       1, marker 1\ndisplay polarity  "
        "255\ncolumn extent     8 (1 column entries)\n\nrow entries (pixel row, pixel column):\n"
        "    0: 0, 3\n    1: 1, 5\n\ncolumn entries (pixel row, 8-column group), last pick "
        "first:\n    0: 1, 1\n\nno problems found\n");
    row("show json", "show --json m.bin", 0, "",
        R"({"colour":1,"columnEntries":[{"group":1,"row":1}],"columnExtent":8,"crc32":"6cb12986",)"
        R"("displayPolarity":255,"file":"m.bin","height":2,"oeMarker":1,"oePolarity":1,)"
        R"("problems":[],"redGreenCount":2,"redGreenPosition":1,"rowEntries":[{"column":3,"row":0},)"
        R"({"column":5,"row":1}],"scanCount":2,"size":2048,"width":16})");
    row("show suspect", "show short.m", 4, "",
        "problems:\n  - the file is 2047 bytes; a map file is exactly 2048 bytes\n  - the");
    row("show suspect json", "show short.m --json", 4, "",
        R"("problems":["the file is 2047 bytes; a map file is exactly 2048 bytes","the module)");
    row("no port", "download m.bin", 4, "lumotrix-cli: --port is missing (see --help)\n");
    row("short file", "download short.m --port PORT", 4, "the file short.m: it holds only");
    row("screen", "set-address --port PORT --screen 300 --ip 1.2.3.4", 4,
        "lumotrix-cli: the screen number must be 0..255, not \"300\"\n");
    row("ip", "set-address --port PORT --screen 1 --ip 1.2.3", 4,
        "lumotrix-cli: the IP address must be four numbers separated by dots (A.B.C.D), not ");
    row("plan header", "batch plan:COM1,a.bin", 4, "lumotrix-cli: plan.csv:1: the header must");
    row("plan fields", "batch plan:port,file,screen,ip\nCOM1,a.bin,1", 4,
        "lumotrix-cli: plan.csv:2: expected 4 fields (port,file,screen,ip), found 3\n");
    row("plan screen only", "batch plan:port,file,screen,ip\n\nCOM1,a.bin,1,", 4,
        "lumotrix-cli: plan.csv:3: give both screen and ip, or neither\n");
    row("plan octet", "batch plan:port,file,screen,ip\nCOM1,a.bin,1,1.2.3.256", 4,
        "lumotrix-cli: plan.csv:2: IP octet 4 must be 0..255, not \"256\"\n");
    row("plan open quote", "batch plan:port,file\nCOM1,\"a", 4, "2: a quoted field is not closed");
    row("plan after quote", "batch plan:port,file\n\"a\"b,c", 4, "2: text follows a closing quote");
    row("plan stray quote", "batch plan:port,file\na\"b,c", 4, "2: a double quote inside a field");
    row("plan file", "batch plan:port,file\nPORT,m.bin\nPORT,no.bin", 4, "3: Cannot open the");
    row("plan port", "batch plan:port,file\nCOM13,m.bin", 4, "plan.csv:2: port COM13 does");
    row("report", "batch plan:port,file\nPORT,m.bin --report /no/r", 4, "write the report /no/r:");
    row("help", "$ --help", 0, "", "Usage: lumotrix-cli COMMAND [ARGUMENTS]\n");
    row("unknown", "$ upload", 4, "lumotrix-cli: unknown command \"upload\" (see lumotrix-cli");
    row("in English", "$ show /no/m.bin", 4,
        "lumotrix-cli: Cannot open the file /no/m.bin: there is no such file\n");
    // Standard error is a pipe: one line per acknowledged packet, no bar.
    row("program", "$ download m.bin --port COM2", 2,
        "sending m.bin (CRC-32 6cb12986) to COM2 (PORT)\ndata packet 1 of 16 acknowledged\n"
        "data packet 2 of 16 acknowledged\nlumotrix-cli: the controller on",
        "", 0, false, 3);
}

void CliTest::commandsEndWithTheirExitCode() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, err);
    QFETCH(QString, out);
    QFETCH(SimulatorFaults, faults);
    SimulatorThread sim(faults);
    const QString port = sim.devicePath();  // a hang-up offers a fresh device
    qputenv("LUMOTRIX_COM2", port.toUtf8());
    writeFile(u("m.bin"), soundMap());
    writeFile(u("short.m"), zeros(2047));
    for (QString& arg : args) {
        arg.replace(u("PORT"), port);
        arg = arg.startsWith(u("plan:")) ? writeFile(u("plan.csv"), arg.mid(5).toUtf8()) : arg;
    }
    CliRun run = args[0] == u("$") ? runProgram(args.mid(1)) : runCli(args);
    if (run.out.startsWith(u("{"))) {
        run.out = QString::fromUtf8(
            QJsonDocument::fromJson(run.out.toUtf8()).toJson(QJsonDocument::Compact));
    }
    QCOMPARE(run.code, code);
    for (const auto& [got, part] : {std::pair(run.out, out), std::pair(run.err, err)}) {
        QVERIFY2(
            part.isEmpty() ? got.isEmpty() : got.contains(QString(part).replace(u("PORT"), port)),
            qPrintable(got));
    }
    QTest::qWait(code == 4 ? 50 : 0);
    QVERIFY(code != 4 || sim.packets().isEmpty());  // refused before the port was touched
}

void CliTest::batchRunsPortsAtOnceAndEachPortInPlanOrder() {
    SimulatorFaults nakAt16;
    nakAt16.nakDataPacket = 16;
    SimulatorThread a;
    SimulatorThread b;
    SimulatorThread c(nakAt16);
    const QByteArray two = soundMap().replace(2047, 1, "\x01");  // another map
    writeFile(u("one.bin"), soundMap());
    writeFile(u("two, \"b\".bin"), two);
    // As a spreadsheet saves it: a byte order mark, CR LF; then comments and a blank line.
    const QString plan = writeFile(
        u("batch.csv"),
        u("\xEF\xBB\xBFPort,File,Screen,IP\r\n# site A\r\n%1,one.bin,,\r\n\r\n%2,one.bin,,\n"
          "  # hall\n%1,\"two, \"\"b\"\".bin\",5,10.0.0.5\n%3, \"two, \"\"b\"\".bin\" ,,\n"
          "COM9,one.bin,,\n")
            .arg(a.devicePath(), b.devicePath(), c.devicePath())
            .toUtf8());
    const QDeadlineTimer limit(6300);
    const CliRun run = runCli({u("batch"), plan, u("--report"), u("report.csv")});
    // Four downloads of about 2.1 s, two on one port: about 4.2 s at once, 8.3 s in turn.
    QVERIFY(!limit.hasExpired());
    QCOMPARE(run.code, 3);  // the worst: COM9 has no device
    QVERIFY(run.err.startsWith(u("batch: 5 line(s) on 4 port(s)\n")));
    QVERIFY(run.err.contains(u("\nline 5, ") + b.devicePath() + u(": ok in ")));
    static const QRegularExpression seconds(u(",\\d\\.\\d\\d,"));
    QCOMPARE(QString::fromUtf8(readFile(u("report.csv"))).replace(seconds, u(",S,")),
             u("line,port,file,crc32,result,step,packet,seconds,message\n"
               "3,%1,one.bin,6cb12986,ok,,,S,\n5,%2,one.bin,6cb12986,ok,,,S,\n"
               "7,%1,\"two, \"\"b\"\".bin\",1bb61910,ok,,,S,\n"
               "8,%3,\"two, \"\"b\"\".bin\",1bb61910,not-acknowledged,download,16,S,\"the "
               "controller on %3 did not acknowledge data packet 16 of 16 (no answer in time, or "
               "an answer other than 06); the download stopped there and the closing packet was "
               "not sent\"\n"
               "9,COM9,one.bin,6cb12986,port-failed,download,0,S,the port COM9 (no device) "
               "failed: COM9: no serial device\n")
                 .arg(a.devicePath(), b.devicePath(), c.devicePath()));
    QCOMPARE(a.image(), two);          // line 7 after line 3
    QCOMPARE(a.packets().size(), 35);  // two downloads of 17 packets, then SetAddress
    QCOMPARE(a.packets().last().mid(8, 6), hex("0F050A000005"));  // screen 5, IP 10.0.0.5
}

QTEST_MAIN(CliTest)
#include "tst_cli.moc"
