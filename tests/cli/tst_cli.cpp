#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

#include "BatchPlan.h"
#include "Cli.h"
#include "Csv.h"
#include "Errors.h"
#include "Language.h"
#include "MapFile.h"
#include "SimWindow.h"

Q_DECLARE_METATYPE(SimulatorFaults)

namespace {

// Runs lumotrix-cli as a function call and keeps what it wrote.
struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

// No serial device is present; LUMOTRIX_COMn is read from the environment.
CliRun runCli(const QStringList& args, bool terminal = false) {
    static const bool english = (Languages::use(Language::English), true);  // as main() does
    Q_UNUSED(english);
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    CliIo io{out, err, terminal,
             PortNames([] { return QStringList(); },
                       [](const QString& name) { return qEnvironmentVariable(qPrintable(name)); })};
    run.code = Cli(io).run(args);
    out.flush();
    err.flush();
    return run;
}

// Writes bytes to the file name and returns the name.
QString writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(f.fileName()));
    }
    return f.fileName();
}

// The fields split from a line, and the line joined from them again.
QString csv(const QString& line) {
    const QStringList fields = Csv::split(line);
    return fields.join(u("|")) + u(" = ") + Csv::join(fields);
}

// The plan as a file; each line as "number port path screen ip", "-" for no address.
QString plan(const QString& text) {
    QStringList lines;
    for (const BatchPlan::Line& l : BatchPlan::load(writeFile(u("plan.csv"), text.toUtf8()))) {
        const QString address =
            l.address ? QStringLiteral("%1 %2").arg(l.address->screen).arg(l.address->ipText())
                      : u("-");
        lines << QStringLiteral("%1 %2 %3 %4").arg(l.lineNumber).arg(l.port, l.path, address);
    }
    return lines.join(u("|"));
}

// A 16 x 2 dual-colour module, scan count 2, red-green count 2, OE polarity 1 with marker 1,
// display polarity 255; row entries (0,3) (1,5), column entry (1,1). Bytes from at replaced.
QByteArray soundMap(int at = 0, const char* bytes = "10") {
    const QByteArray map = hex("100002000100020001000101ff000800") + hex("00030105") + zeros(28) +
                           hex("0101") + zeros(1998);
    return QByteArray(map).replace(at, hex(bytes).size(), hex(bytes));
}

QByteArray mapBytes(int seed) {  // every 128-byte data packet differs from the others
    QByteArray bytes(2048, '\0');
    for (int i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 128 + seed) & 0xFF);
    }
    return bytes;
}

// err: a part of standard error, "" when it must be empty. The controller hangs up at data
// packet hangUp, and answers garbage when garbage is set.
void row(const char* name, const char* args, int code, const char* err, const char* out = "",
         int hangUp = 0, bool garbage = false) {
    SimulatorFaults faults;
    faults.hangUpAtDataPacket = hangUp;
    faults.garbageAnswer = garbage;
    QTest::newRow(name) << u(args).split(u(" ")) << code << u(err) << u(out) << faults;
}

}  // namespace

// lumotrix-cli run as a function: its CSV and plan reading, `show`, and the commands against
// simulated controllers on pseudo-terminals, through the real serial port.
class CliTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QDir::setCurrent(m_dir.path()); }
    void textsAreReadAsDocumented_data();
    void textsAreReadAsDocumented();
    void showPrintsASoundMap();
    void showNamesWhatLooksWrong_data();
    void showNamesWhatLooksWrong();
    void commandsEndWithTheirExitCode_data();
    void commandsEndWithTheirExitCode();
    void batchRunsPortsAtOnceAndEachPortInPlanOrder();
    void windowAndCliSendIdenticalPackets();

private:
    QTemporaryDir m_dir;  // the current folder, holding the test's files
};

void CliTest::textsAreReadAsDocumented_data() {
    QTest::addColumn<bool>("isPlan");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");  // "! <message begins>" when refused; DIR: m_dir
    const auto add = [](const char* name, bool isPlan, const char* text, const char* expected) {
        QTest::newRow(name) << isPlan << u(text) << u(expected);
    };
    add("csv", false, " a ,\"b, c\",two\nlines,\"say \"\"hi\"\"\" , \" d \"",
        "a|b, c|two\nlines|say \"hi\"| d  = a,\"b, c\",two lines,\"say \"\"hi\"\"\",\" d \"");
    add("csv open quote", false, "a,\"b", "! a quoted field is not closed");
    add("csv after quote", false, R"("a"b)", "! text follows a closing quote");
    add("csv stray quote", false, R"(a"b)", "! a double quote inside a field that does not");
    add("plan", true,
        "\xEF\xBB\xBFPort,File,Screen,IP\r\n# site A\r\nCOM1,maps/p10.bin,1,192.168.0.101\r\n\r\n"
        "  # hall\n/dev/ttyUSB3,\"/abs/hall, left.bin\",,\n",
        "3 COM1 DIR/maps/p10.bin 1 192.168.0.101|6 /dev/ttyUSB3 /abs/hall, left.bin -");
    add("plan short header", true, "port,file\nCOM2,x.bin", "2 COM2 DIR/x.bin -");
    add("plan header", true, "COM1,a.bin\n", "! plan.csv:1: the header must be \"port,file\"");
    add("plan fields", true, "port,file,screen,ip\nCOM1,a.bin,1\n",
        "! plan.csv:2: expected 4 fields (port,file,screen,ip), found 3");
    add("plan screen only", true, "port,file,screen,ip\n\nCOM1,a.bin,1,\n",
        "! plan.csv:3: give both screen and ip, or neither");
    add("plan screen", true, "port,file,screen,ip\nCOM1,a.bin,300,1.2.3.4",
        "! plan.csv:2: the screen number must be 0..255");
    add("plan no line", true, "# c\nport,file\n", "! plan.csv:3: the plan names no port");
}

void CliTest::textsAreReadAsDocumented() {
    QFETCH(bool, isPlan);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QString got;
    try {
        got = isPlan ? plan(text) : csv(text);
    } catch (const InputError& e) {
        got = u("! ") + QString::fromUtf8(e.what());
    }
    got.replace(m_dir.path(), u("DIR"));
    QCOMPARE(expected.startsWith(u("!")) ? got.left(expected.size()) : got, expected);
}

void CliTest::showPrintsASoundMap() {
    writeFile(u("sound.bin"), soundMap());
    const CliRun text = runCli({u("show"), u("sound.bin")});
    QCOMPARE(text.code, 0);
    QCOMPARE(text.out, u("file              sound.bin\nsize              2048 bytes\n"
                         "CRC-32            6cb12986\nwidth             16\n"
                         "height            2\ncolour            1 (dual)\n"
                         "scan count        2\nred-green count   2 (list position 1)\n"
                         "OE polarity       1, marker 1\ndisplay polarity  255\n"
                         "column extent     8 (1 column entries)\n\n"
                         "row entries (pixel row, pixel column):\n    0: 0, 3\n    1: 1, 5\n\n"
                         "column entries (pixel row, 8-column group), last pick first:\n"
                         "    0: 1, 1\n\nno problems found\n"));
    const CliRun json = runCli({u("show"), u("--json"), u("sound.bin")});
    QCOMPARE(json.code, 0);
    QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8()), QJsonDocument::fromJson(R"({
        "file": "sound.bin", "size": 2048, "crc32": "6cb12986", "width": 16, "height": 2,
        "colour": 1, "scanCount": 2, "redGreenPosition": 1, "redGreenCount": 2, "oePolarity": 1,
        "oeMarker": 1, "displayPolarity": 255, "columnExtent": 8, "problems": [],
        "rowEntries": [{"row": 0, "column": 3}, {"row": 1, "column": 5}],
        "columnEntries": [{"row": 1, "group": 1}]})"));
}

void CliTest::showNamesWhatLooksWrong_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problems");  // as the text lists them
    QTest::newRow("short") << soundMap(6, "0000").left(100)
                           << u("the file is 100 bytes; a map file is exactly 2048 bytes\n"
                                "  - scan count 0 is outside 1..16");
    // scan count 3, column extent 12, row entries (0,3) (0,3) (2,5)
    QTest::newRow("long") << soundMap(6, "0300").replace(14, 8, hex("0c00000300030205")) + "x"
                          << u("the file is 2049 bytes; a map file is exactly 2048 bytes\n"
                               "  - column extent 12 is not a multiple of 8 in 0..1024\n"
                               "  - row entry 1 repeats pixel row 0, column 3\n"
                               "  - row entry 2 (pixel row 2, column 5) lies outside the 16 x 2 "
                               "module");
}

void CliTest::showNamesWhatLooksWrong() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problems);
    writeFile(u("faulty.bin"), bytes);
    const CliRun text = runCli({u("show"), u("faulty.bin")});
    QCOMPARE(text.code, 4);
    QVERIFY2(text.out.endsWith(u("\nproblems:\n  - ") + problems + u("\n")), qPrintable(text.out));
    const CliRun json = runCli({u("show"), u("faulty.bin"), u("--json")});
    QCOMPARE(json.code, 4);
    QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8())[u("problems")],
             QJsonValue(QJsonArray::fromStringList(problems.split(u("\n  - ")))));
}

void CliTest::commandsEndWithTheirExitCode_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("out");
    QTest::addColumn<SimulatorFaults>("faults");
    // PORT is the controller's device, also named COM2; m.bin is a map file, short.m a byte
    // short; "plan:TEXT" is plan.csv holding TEXT.
    row("download", "download m.bin --port PORT", 0, "\r[################] 16/16\n",
        "download complete: 16 data packets acknowledged and the closing packet sent to PORT\n");
    row("line lost", "download m.bin --port PORT", 3,
        "] 3/16\nlumotrix-cli: the port PORT failed at data packet 4 of 16: ", "", 4);
    row("set", "set-address --port com2 --screen 2.5 --ip 192.168.7abc.1", 0, "",
        "screen number 2 and IP address 192.168.7.1 set on COM2 (PORT)\n");
    row("set refused", "set-address --port PORT --screen 7 --ip 1.2.3.4", 2,
        "the controller on PORT did not acknowledge the screen number and IP address", "", 0, true);
    row("read", "read-address --port PORT", 0, "", "screen 0\nip 192.168.0.100\n");
    row("read refused", "read-address --port PORT", 2,
        "the controller on PORT did not report its address", "", 0, true);
    row("no device", "read-address --port COM12", 3, "the port COM12 (no device) failed: COM12: ");
    row("no port", "download m.bin", 4, "lumotrix-cli: --port is missing (see --help)\n");
    row("short file", "download short.m --port PORT", 4, "the file short.m: it holds only");
    row("two files", "download m.bin m.bin --port PORT", 4, "expected 1 argument(s) besides");
    row("unknown option", "read-address --port PORT -x", 4, "Unknown option 'x'.");
    row("screen", "set-address --port PORT --screen 256 --ip 1.2.3.4", 4,
        "lumotrix-cli: the screen number must be 0..255, not \"256\"\n");
    row("octet", "set-address --port PORT --screen 1 --ip 1.2.3.-1", 4,
        "lumotrix-cli: IP octet 4 must be 0..255, not \"-1\"\n");
    row("ip", "set-address --port PORT --screen 1 --ip 1.2.3", 4,
        "lumotrix-cli: the IP address must be four numbers separated by dots (A.B.C.D), not ");
    row("COM0", "read-address --port COM0", 4, "lumotrix-cli: port COM0 does not exist");
    row("COM13", "read-address --port COM13", 4, "lumotrix-cli: port COM13 does not exist");
    row("plan file", "batch plan:port,file\nPORT,m.bin\nPORT,no.bin", 4,
        "lumotrix-cli: plan.csv:3: Cannot open the");
    row("plan port", "batch plan:port,file\nCOM13,m.bin", 4,
        "lumotrix-cli: plan.csv:2: port COM13");
    row("report", "batch plan:port,file\nPORT,m.bin --report /no/r.csv", 4,
        "lumotrix-cli: cannot write the report /no/r.csv: ");
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
    writeFile(u("m.bin"), mapBytes(1));
    writeFile(u("short.m"), zeros(2047));
    for (QString& arg : args) {
        arg.replace(u("PORT"), port);
        arg = arg.startsWith(u("plan:")) ? writeFile(u("plan.csv"), arg.mid(5).toUtf8()) : arg;
    }
    const CliRun run = runCli(args, true);  // standard error on a terminal
    QCOMPARE(run.code, code);
    QCOMPARE(run.out, out.replace(u("PORT"), port));
    QVERIFY2(err.isEmpty() ? run.err.isEmpty() : run.err.contains(err.replace(u("PORT"), port)),
             qPrintable(run.err));
    QTest::qWait(code == 4 ? 50 : 0);
    QVERIFY(code != 4 || sim.packets().isEmpty());  // refused before the port was touched
}

void CliTest::batchRunsPortsAtOnceAndEachPortInPlanOrder() {
    SimulatorFaults nakAt16;
    nakAt16.nakDataPacket = 16;
    SimulatorThread a;
    SimulatorThread b;
    SimulatorThread c(nakAt16);
    writeFile(u("one.bin"), mapBytes(1));
    writeFile(u("two.bin"), mapBytes(2));
    const QString plan = writeFile(
        u("batch.csv"), QStringLiteral("port,file,screen,ip\n%1,one.bin,,\n%2,one.bin,,\n"
                                       "%1,two.bin,5,10.0.0.5\n%3,two.bin,,\nCOM9,one.bin,,\n")
                            .arg(a.devicePath(), b.devicePath(), c.devicePath())
                            .toUtf8());
    QElapsedTimer clock;
    clock.start();
    const CliRun run = runCli({u("batch"), plan, u("--report"), u("report.csv")});
    // Four downloads of about 2.1 s, two on one port: about 4.2 s at once, 8.3 s in turn.
    QVERIFY2(clock.elapsed() < 6300, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(run.code, 3);  // the worst: COM9 has no device
    QVERIFY(run.err.startsWith(u("batch: 5 line(s) on 4 port(s)\n")));
    QVERIFY(run.err.contains(u("\nline 3, ") + b.devicePath() + u(": ok in ")));
    QFile report(u("report.csv"));
    QVERIFY(report.open(QIODevice::ReadOnly));
    static const QRegularExpression seconds(u(",\\d\\.\\d\\d,"));
    QCOMPARE(QString::fromUtf8(report.readAll()).replace(seconds, u(",S,")),
             QStringLiteral(
                 "line,port,file,crc32,result,step,packet,seconds,message\n"
                 "2,%1,one.bin,fa8f01dd,ok,,,S,\n3,%2,one.bin,fa8f01dd,ok,,,S,\n"
                 "4,%1,two.bin,cb063eeb,ok,,,S,\n"
                 "5,%3,two.bin,cb063eeb,not-acknowledged,download,16,S,\"the controller on %3 "
                 "did not acknowledge data packet 16 of 16 (no answer in time, or an answer other "
                 "than 06); the download stopped there and the closing packet was not sent\"\n"
                 "6,COM9,one.bin,fa8f01dd,port-failed,download,0,S,the port COM9 (no device) "
                 "failed: COM9: no serial device\n")
                 .arg(a.devicePath(), b.devicePath(), c.devicePath()));
    QCOMPARE(a.image(), mapBytes(2));  // line 4 after line 2
    QCOMPARE(a.packets().size(), 35);  // two downloads of 17 packets, then SetAddress
}

void CliTest::windowAndCliSendIdenticalPackets() {
    SimWindow w;
    SimulatorThread cliSim;
    const QString file = writeFile(u("same.bin"), mapBytes(9));
    w.session().mapOpened(MapFile::load(file));
    w.window->commands().download();  // on this thread's event loop, which runCli turns
    QCOMPARE(runCli({u("download"), file, u("--port"), cliSim.devicePath()}).code, 0);
    QTRY_VERIFY_WITH_TIMEOUT(w.idle(), 5000);
    w.window->commands().setAddress({u("9"), {u("172"), u("16"), u("254"), u("3")}});
    QTRY_VERIFY_WITH_TIMEOUT(w.idle(), 2000);
    const CliRun set = runCli({u("set-address"), u("--port"), cliSim.devicePath(), u("--screen"),
                               u("9"), u("--ip"), u("172.16.254.3")});
    QCOMPARE(set.code, 0);
    QCOMPARE(w.notifier.messages, QStringList());
    QCOMPARE(cliSim.packets().size(), 18);
    QCOMPARE(cliSim.packets(), w.sim->packets());
    QCOMPARE(cliSim.packets().last().left(14), hex("5AA528FFFF0A47000F09AC10FE03"));
}

QTEST_MAIN(CliTest)
#include "tst_cli.moc"
