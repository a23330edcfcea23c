#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "TestBytes.h"

// The lumotrix-cli program as a shell runs it.
class CliProgramTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersAsAShellSeesIt_data();
    void answersAsAShellSeesIt();
    void downloadsToTheSimulatorProgram();
};

namespace {

// The exit code, standard output and standard error, separated by spaces.
QString run(const QStringList& args) {
    QProcess cli;
    cli.start(QStringLiteral(LUMOTRIX_CLI_PATH), args);
    if (!cli.waitForFinished(10000) || cli.exitStatus() != QProcess::NormalExit) {
        qFatal("lumotrix-cli did not end");
    }
    return QString::number(cli.exitCode()) + u(" ") +
           QString::fromUtf8(cli.readAllStandardOutput() + ' ' + cli.readAllStandardError());
}

}  // namespace

void CliProgramTest::answersAsAShellSeesIt_data() {
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("pattern");  // matched against run()
    QTest::newRow("help") << u("--help")
                          << u("^0 Usage: lumotrix-cli COMMAND .*  4  bad input.* $");
    QTest::newRow("help show") << u("help show")
                               << u("^0 Usage: lumotrix-cli show .*not 2048 bytes.* $");
    QTest::newRow("download -h") << u("download -h")
                                 << u("^0 Usage: lumotrix-cli download FILE.bin --port PORT\n"
                                      ".*\\(exactly 2048 bytes\\).* $");
    QTest::newRow("version") << u("--version") << u("^0 lumotrix-cli \\d+\\.\\d+\\.\\d+\n $");
    QTest::newRow("unknown") << u("upload")
                             << u("^4  lumotrix-cli: unknown command \"upload\" \\(see "
                                  "lumotrix-cli --help\\)\n$");
    QTest::newRow("nothing") << u("") << u("^4  Usage: .*\nlumotrix-cli: no command given\n$");
    QTest::newRow("in English") << u("show /no/m.bin")
                                << u("^4  lumotrix-cli: Cannot open the file /no/m.bin: there is "
                                     "no such file\n$");
}

void CliProgramTest::answersAsAShellSeesIt() {
    QFETCH(QString, args);
    QFETCH(QString, pattern);
    const QString got = run(args.split(u(" "), Qt::SkipEmptyParts));
    const QRegularExpression expected(pattern, QRegularExpression::DotMatchesEverythingOption);
    QVERIFY2(expected.match(got).hasMatch(), qPrintable(got));
}

void CliProgramTest::downloadsToTheSimulatorProgram() {
    QTemporaryDir dir;
    const QString link = dir.filePath(u("COM1"));
    const QString map = dir.filePath(u("map.bin"));
    QFile file(map);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(zeros(2048)) == 2048);
    file.close();
    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH), {u("--link"), link, u("--nak"), u("3")});
    QVERIFY(sim.waitForReadyRead(5000));  // it names its device once it is ready
    qputenv("LUMOTRIX_COM1", link.toLocal8Bit());
    const QString got = run({u("download"), map, u("--port"), u("COM1")});
    sim.terminate();
    sim.waitForFinished();
    // Standard error is a pipe: one line per acknowledged packet, no bar.
    QCOMPARE(got, QStringLiteral("2  sending %1 (CRC-32 f1e8ba9e) to COM1 (%2)\n"
                                 "data packet 1 of 16 acknowledged\n"
                                 "data packet 2 of 16 acknowledged\n"
                                 "lumotrix-cli: the controller on COM1 (%2) did not acknowledge "
                                 "data packet 3 of 16 (no answer in time, or an answer other than "
                                 "06); the download stopped there and the closing packet was not "
                                 "sent\n")
                      .arg(map, link));
}

QTEST_GUILESS_MAIN(CliProgramTest)
#include "tst_cli_program.moc"
