#include <QtTest>

#include "AddressValues.h"
#include "BatchPlan.h"
#include "BatchReport.h"
#include "Csv.h"
#include "Errors.h"
#include "MapReportFormat.h"
#include "PortNames.h"
#include "PortTarget.h"
#include "Progress.h"

// The pieces of lumotrix-cli that need no port: checksums, CSV, the plan, argument values,
// port names, the report's rows and the progress display.
class CliPartsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void crc32MatchesTheCommonCheckValues_data();
    void crc32MatchesTheCommonCheckValues();
    void csvSplitsQuotedAndPlainFields_data();
    void csvSplitsQuotedAndPlainFields();
    void csvRefusesBrokenQuotes_data();
    void csvRefusesBrokenQuotes();
    void csvJoinQuotesOnlyWhatNeedsIt();
    void planReadsHeaderCommentsAndOptionalAddress();
    void planFaultsNameTheirLine_data();
    void planFaultsNameTheirLine();
    void addressValuesAreReadLikeTheWindowBoxes_data();
    void addressValuesAreReadLikeTheWindowBoxes();
    void addressValuesOutOfRangeAreRefused_data();
    void addressValuesOutOfRangeAreRefused();
    void portNamesResolveLikeTheWindowList_data();
    void portNamesResolveLikeTheWindowList();
    void portNamesOutsideCom1To12AreRefused_data();
    void portNamesOutsideCom1To12AreRefused();
    void reportRowsSayResultStepAndPacket_data();
    void reportRowsSayResultStepAndPacket();
    void progressIsABarOnATerminalAndLinesElsewhere();
};

namespace {

QString u(const char* s) {
    return QString::fromUtf8(s);
}

PortNames devicesWithEnvironment() {
    return PortNames(
        [] {
            return QStringList{u("/dev/ttyS0"), u("/dev/ttyUSB1"), u("/dev/ttyUSB0")};
        },
        [](const QString& name) {
            return name == u("LUMOTRIX_COM5") ? u("/dev/ttyACM7") : QString();
        });
}

}  // namespace

void CliPartsTest::crc32MatchesTheCommonCheckValues_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("crc");
    QTest::newRow("check string") << QByteArray("123456789") << u("cbf43926");
    QTest::newRow("empty") << QByteArray() << u("00000000");
    QTest::newRow("one zero byte") << QByteArray(1, '\0') << u("d202ef8d");
    QTest::newRow("blank map") << QByteArray(2048, '\0') << u("f1e8ba9e");
}

void CliPartsTest::crc32MatchesTheCommonCheckValues() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, crc);
    QCOMPARE(MapReportFormat::crc32(bytes), crc);
}

void CliPartsTest::csvSplitsQuotedAndPlainFields_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << u("COM1,a.bin,3,1.2.3.4")
                           << QStringList{u("COM1"), u("a.bin"), u("3"), u("1.2.3.4")};
    QTest::newRow("spaces dropped")
        << u("  COM1 , a b.bin ,,") << QStringList{u("COM1"), u("a b.bin"), u(""), u("")};
    QTest::newRow("comma in quotes")
        << u("COM2,\"hall, left.bin\"") << QStringList{u("COM2"), u("hall, left.bin")};
    QTest::newRow("doubled quote")
        << u("\"say \"\"hi\"\"\" , x") << QStringList{u("say \"hi\""), u("x")};
    QTest::newRow("quoted keeps spaces") << u("\" a \"") << QStringList{u(" a ")};
    QTest::newRow("empty quoted") << u("\"\",b") << QStringList{u(""), u("b")};
}

void CliPartsTest::csvSplitsQuotedAndPlainFields() {
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(Csv::split(line), fields);
}

void CliPartsTest::csvRefusesBrokenQuotes_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("not closed") << u("COM1,\"a.bin");
    QTest::newRow("text after the quote") << u("COM1,\"a\"b");
    QTest::newRow("stray quote") << u("COM1,a\"b");
}

void CliPartsTest::csvRefusesBrokenQuotes() {
    QFETCH(QString, line);
    QVERIFY_THROWS_EXCEPTION(InputError, Csv::split(line));
}

void CliPartsTest::csvJoinQuotesOnlyWhatNeedsIt() {
    QCOMPARE(Csv::join({u("3"), u("COM1"), u("a,b.bin"), u("say \"x\""), u(" pad"), u("")}),
             u("3,COM1,\"a,b.bin\",\"say \"\"x\"\"\",\" pad\","));
    QCOMPARE(Csv::join({u("two\nlines")}), u("two lines"));
}

void CliPartsTest::planReadsHeaderCommentsAndOptionalAddress() {
    const QString text =
        u("\n# site A\r\n"
          "Port,File,Screen,IP\r\n"
          "COM1,maps/p10.bin,1,192.168.0.101\r\n"
          "\r\n"
          "  # the hall\n"
          "/dev/ttyUSB3,\"/abs/hall, left.bin\",,\n");
    const QList<BatchPlan::Line> lines = BatchPlan::parse(text, u("/plans/site.csv"));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].lineNumber, 4);
    QCOMPARE(lines[0].port, u("COM1"));
    QCOMPARE(lines[0].file, u("maps/p10.bin"));
    QCOMPARE(lines[0].path, u("/plans/maps/p10.bin"));
    QVERIFY(lines[0].address.has_value());
    QCOMPARE(lines[0].address->screen, 1);
    QCOMPARE(lines[0].address->ipText(), u("192.168.0.101"));
    QCOMPARE(lines[1].lineNumber, 7);
    QCOMPARE(lines[1].path, u("/abs/hall, left.bin"));
    QVERIFY(!lines[1].address.has_value());

    const QList<BatchPlan::Line> shortForm =
        BatchPlan::parse(u("port,file\nCOM2,x.bin\n"), u("p.csv"));
    QCOMPARE(shortForm.size(), 1);
    QCOMPARE(shortForm[0].port, u("COM2"));
}

void CliPartsTest::planFaultsNameTheirLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("no header") << u("COM1,a.bin\n") << u("p.csv:1: the header must be");
    QTest::newRow("too few fields")
        << u("port,file,screen,ip\nCOM1,a.bin,1\n") << u("p.csv:2: expected 4 fields");
    QTest::newRow("too many fields")
        << u("# c\nport,file\nCOM1,a.bin,1\n") << u("p.csv:3: expected 2 fields");
    QTest::newRow("screen without ip")
        << u("port,file,screen,ip\n\nCOM1,a.bin,1,\n") << u("p.csv:3: give both screen and ip");
    QTest::newRow("screen out of range") << u("port,file,screen,ip\nCOM1,a.bin,300,1.2.3.4\n")
                                         << u("p.csv:2: the screen number must be 0..255");
    QTest::newRow("short ip") << u("port,file,screen,ip\nCOM1,a.bin,1,1.2.3\n")
                              << u("p.csv:2: the IP address must be four numbers");
    QTest::newRow("empty file field")
        << u("port,file\nCOM1,\n") << u("p.csv:2: port and file must not be empty");
    QTest::newRow("broken quote") << u("port,file\nCOM1,\"a.bin\n")
                                  << u("p.csv:2: a quoted field is not closed");
    QTest::newRow("header only") << u("port,file\n") << u("p.csv:2: the plan names no port");
}

void CliPartsTest::planFaultsNameTheirLine() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    try {
        BatchPlan::parse(text, u("p.csv"));
        QFAIL("the plan was taken");
    } catch (const InputError& e) {
        QVERIFY2(QString::fromUtf8(e.what()).startsWith(message), e.what());
    }
}

void CliPartsTest::addressValuesAreReadLikeTheWindowBoxes_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("screenValue");
    QTest::addColumn<QString>("ipText");
    QTest::newRow("plain") << u("0") << u("192.168.0.100") << 0 << u("192.168.0.100");
    QTest::newRow("rounded half to even") << u("2.5") << u("1.2.3.255") << 2 << u("1.2.3.255");
    QTest::newRow("leading number taken")
        << u(" 12abc") << u("10. 0 .0x1.7e1") << 12 << u("10.0.0.70");
    QTest::newRow("full-width digits") << u("６") << u("１.2.3.4") << 6 << u("1.2.3.4");
    QTest::newRow("no number reads 0") << u("abc") << u(".1.2.3") << 0 << u("0.1.2.3");
}

void CliPartsTest::addressValuesAreReadLikeTheWindowBoxes() {
    QFETCH(QString, screen);
    QFETCH(QString, ip);
    QFETCH(int, screenValue);
    QFETCH(QString, ipText);
    const AddressValues values = AddressValues::parse(screen, ip);
    QCOMPARE(values.screen, screenValue);
    QCOMPARE(values.ipText(), ipText);
}

void CliPartsTest::addressValuesOutOfRangeAreRefused_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("message");
    QTest::newRow("screen 256") << u("256") << u("1.2.3.4") << u("the screen number");
    QTest::newRow("screen 255.5") << u("255.5") << u("1.2.3.4") << u("the screen number");
    QTest::newRow("screen -1") << u("-1") << u("1.2.3.4") << u("the screen number");
    QTest::newRow("octet 3 too big") << u("1") << u("1.2.300.4") << u("IP octet 3");
    QTest::newRow("five octets") << u("1") << u("1.2.3.4.5") << u("the IP address");
    QTest::newRow("huge") << u("1") << u("99999999999999999999999.0.0.0") << u("IP octet 1");
}

void CliPartsTest::addressValuesOutOfRangeAreRefused() {
    QFETCH(QString, screen);
    QFETCH(QString, ip);
    QFETCH(QString, message);
    try {
        AddressValues::parse(screen, ip);
        QFAIL("the values were taken");
    } catch (const InputError& e) {
        QVERIFY2(QString::fromUtf8(e.what()).startsWith(message), e.what());
    }
}

void CliPartsTest::portNamesResolveLikeTheWindowList_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("described");
    QTest::newRow("COM1 is the first USB adapter")
        << u("COM1") << u("COM1") << u("/dev/ttyUSB0") << u("COM1 (/dev/ttyUSB0)");
    QTest::newRow("any letter case")
        << u("com3") << u("COM3") << u("/dev/ttyS0") << u("COM3 (/dev/ttyS0)");
    QTest::newRow("environment wins")
        << u("COM5") << u("COM5") << u("/dev/ttyACM7") << u("COM5 (/dev/ttyACM7)");
    QTest::newRow("no such device")
        << u("COM12") << u("COM12") << QString() << u("COM12 (no device)");
    QTest::newRow("device path") << u(" /dev/ttyS9 ") << u("/dev/ttyS9") << u("/dev/ttyS9")
                                 << u("/dev/ttyS9");
}

void CliPartsTest::portNamesResolveLikeTheWindowList() {
    QFETCH(QString, text);
    QFETCH(QString, label);
    QFETCH(QString, device);
    QFETCH(QString, described);
    const PortTarget target = PortTarget::parse(text, devicesWithEnvironment());
    QCOMPARE(target.label, label);
    QCOMPARE(target.device, device);
    QCOMPARE(target.describe(), described);
}

void CliPartsTest::portNamesOutsideCom1To12AreRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("COM0") << u("COM0");
    QTest::newRow("COM13") << u("COM13");
    QTest::newRow("empty") << u("  ");
}

void CliPartsTest::portNamesOutsideCom1To12AreRefused() {
    QFETCH(QString, text);
    QVERIFY_THROWS_EXCEPTION(InputError, PortTarget::parse(text, devicesWithEnvironment()));
}

void CliPartsTest::reportRowsSayResultStepAndPacket_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("packet");
    QTest::addColumn<QString>("row");
    using K = ExchangeOutcome::Kind;
    using S = PortJobResult::Step;
    QTest::newRow("ok") << int(K::Done) << int(S::SetAddress) << 1
                        << u("4,COM1,\"a, b.bin\",0badf00d,ok,,,2.35,");
    QTest::newRow("nak at 5")
        << int(K::NotAccepted) << int(S::Download) << 5
        << u("4,COM1,\"a, b.bin\",0badf00d,not-acknowledged,download,5,2.35,\"the controller on "
             "COM1 (/dev/x) did not acknowledge data packet 5 of 16 (no answer in time, or an "
             "answer other than 06); the download stopped there and the closing packet was "
             "not sent\"");
    QTest::newRow("address refused")
        << int(K::NotAccepted) << int(S::SetAddress) << 1
        << u("4,COM1,\"a, b.bin\",0badf00d,not-acknowledged,set-address,1,2.35,\"the controller "
             "on COM1 (/dev/x) did not acknowledge the screen number and IP address (no answer "
             "in time, or not 06)\"");
    QTest::newRow("port lost at 9")
        << int(K::PortFailed) << int(S::Download) << 9
        << u("4,COM1,\"a, b.bin\",0badf00d,port-failed,download,9,2.35,the port COM1 "
             "(/dev/x) failed at data packet 9 of 16: gone");
    QTest::newRow("port never opened")
        << int(K::PortFailed) << int(S::Download) << 0
        << u("4,COM1,\"a, b.bin\",0badf00d,port-failed,download,0,2.35,the port COM1 "
             "(/dev/x) failed: gone");
}

void CliPartsTest::reportRowsSayResultStepAndPacket() {
    QFETCH(int, kind);
    QFETCH(int, step);
    QFETCH(int, packet);
    QFETCH(QString, row);
    BatchReport::Row r;
    r.line = 4;
    r.port = u("COM1");
    r.portDescription = u("COM1 (/dev/x)");
    r.file = u("a, b.bin");
    r.crc32 = u("0badf00d");
    r.result.step = static_cast<PortJobResult::Step>(step);
    r.result.outcome = {static_cast<ExchangeOutcome::Kind>(kind), packet, u("gone")};
    r.result.elapsed = std::chrono::milliseconds(2345);
    QCOMPARE(BatchReport::row(r), row);
}

void CliPartsTest::progressIsABarOnATerminalAndLinesElsewhere() {
    QString bar;
    QTextStream barStream(&bar);
    Progress onTerminal(barStream, true);
    onTerminal.acknowledged(1);
    onTerminal.acknowledged(16);
    onTerminal.finish();
    QCOMPARE(bar, u("\r[#---------------] 1/16\r[################] 16/16\n"));

    QString lines;
    QTextStream lineStream(&lines);
    Progress inALog(lineStream, false);
    inALog.acknowledged(3);
    inALog.finish();
    QCOMPARE(lines, u("data packet 3 of 16 acknowledged\n"));
}

QTEST_GUILESS_MAIN(CliPartsTest)
#include "tst_cli_parts.moc"
