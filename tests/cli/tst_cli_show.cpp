#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include "CliRunner.h"

// lumotrix-cli show on map files written here from literal bytes: the text and JSON forms,
// and each fault it points out.
class CliShowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textListsHeaderAndEveryEntry();
    void jsonCarriesTheSameFields();
    void faultsArePointedOut_data();
    void faultsArePointedOut();
    void unreadableFilesAreBadInput_data();
    void unreadableFilesAreBadInput();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir m_dir;
};

namespace {

QString u(const char* s) {
    return QString::fromUtf8(s);
}

// A 16 x 4 single-colour module, scan count 4, red-green count 3, OE polarity 1, display
// polarity 0, rows (0,0) (1,1) (2,2) (3,3), columns picked in group 0 then group 1.
QByteArray soundMap() {
    QByteArray map(2048, '\0');
    map.replace(0, 16, QByteArray::fromHex("10000400000004000200010000001000"));
    map.replace(16, 8, QByteArray::fromHex("0000010102020303"));
    map.replace(48, 4, QByteArray::fromHex("00010000"));
    return map;
}

QByteArray patched(int at, const char* hex) {
    QByteArray map = soundMap();
    const QByteArray bytes = QByteArray::fromHex(hex);
    map.replace(at, bytes.size(), bytes);
    return map;
}

}  // namespace

QString CliShowTest::write(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void CliShowTest::textListsHeaderAndEveryEntry() {
    const QString path = write(u("sound.bin"), soundMap());
    const CliRun run = runCli({u("show"), path});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out, u("file              ") + path +
                          u("\n"
                            "size              2048 bytes\n"
                            "CRC-32            2cfa064d\n"
                            "width             16\n"
                            "height            4\n"
                            "colour            0 (single)\n"
                            "scan count        4\n"
                            "red-green count   3 (list position 2)\n"
                            "OE polarity       1, marker 0\n"
                            "display polarity  0\n"
                            "column extent     16 (2 column entries)\n"
                            "\n"
                            "row entries (pixel row, pixel column):\n"
                            "    0: 0, 0\n"
                            "    1: 1, 1\n"
                            "    2: 2, 2\n"
                            "    3: 3, 3\n"
                            "\n"
                            "column entries (pixel row, 8-column group), last pick first:\n"
                            "    0: 0, 1\n"
                            "    1: 0, 0\n"
                            "\n"
                            "no problems found\n"));
}

void CliShowTest::jsonCarriesTheSameFields() {
    const QString path = write(u("sound.bin"), soundMap());
    const CliRun run = runCli({u("show"), path, u("--json")});
    QCOMPARE(run.code, 0);
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(o.value(u("file")).toString(), path);
    QCOMPARE(o.value(u("size")).toInt(), 2048);
    QCOMPARE(o.value(u("crc32")).toString(), u("2cfa064d"));
    QCOMPARE(o.value(u("width")).toInt(), 16);
    QCOMPARE(o.value(u("height")).toInt(), 4);
    QCOMPARE(o.value(u("colour")).toInt(), 0);
    QCOMPARE(o.value(u("scanCount")).toInt(), 4);
    QCOMPARE(o.value(u("redGreenPosition")).toInt(), 2);
    QCOMPARE(o.value(u("redGreenCount")).toInt(), 3);
    QCOMPARE(o.value(u("oePolarity")).toInt(), 1);
    QCOMPARE(o.value(u("oeMarker")).toInt(), 0);
    QCOMPARE(o.value(u("displayPolarity")).toInt(), 0);
    QCOMPARE(o.value(u("columnExtent")).toInt(), 16);
    const QJsonDocument rows = QJsonDocument::fromJson(
        R"([{"row":0,"column":0},{"row":1,"column":1},{"row":2,"column":2},{"row":3,"column":3}])");
    QCOMPARE(o.value(u("rowEntries")).toArray(), rows.array());
    const QJsonDocument columns =
        QJsonDocument::fromJson(R"([{"row":0,"group":1},{"row":0,"group":0}])");
    QCOMPARE(o.value(u("columnEntries")).toArray(), columns.array());
    QCOMPARE(o.value(u("problems")).toArray(), QJsonArray());
}

void CliShowTest::faultsArePointedOut_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("short file") << soundMap().left(100)
                                << QStringList{u("the file is 100 bytes; a map file is exactly "
                                                 "2048 bytes")};
    QTest::newRow("long file") << soundMap() + QByteArray(1, '\0')
                               << QStringList{u("the file is 2049 bytes; a map file is exactly "
                                                "2048 bytes")};
    QTest::newRow("scan count 0") << patched(6, "0000")
                                  << QStringList{u("scan count 0 is outside 1..16")};
    QTest::newRow("extent 12") << patched(14, "0c00")
                               << QStringList{u("column extent 12 is not a multiple of 8 in "
                                                "0..1024")};
    QTest::newRow("extent 1032") << patched(14, "0804")
                                 << QStringList{u("column extent 1032 is not a multiple of 8 in "
                                                  "0..1024")};
    QTest::newRow("row below the module")
        << patched(20, "0402")
        << QStringList{u("row entry 2 (pixel row 4, column 2) lies outside the 16 x 4 module")};
    QTest::newRow("row right of the module")
        << patched(18, "0110")
        << QStringList{u("row entry 1 (pixel row 1, column 16) lies outside the 16 x 4 module")};
    QTest::newRow("repeated row entry")
        << patched(22, "0101") << QStringList{u("row entry 3 repeats pixel row 1, column 1")};
    QTest::newRow("group beyond the width")
        << patched(50, "0002")
        << QStringList{u("column entry 1 (pixel row 0, group 2) lies outside the 16 x 4 module "
                         "(2 groups of 8 columns)")};
    QTest::newRow("width 9 has two groups") << patched(0, "0900") << QStringList{};
    QTest::newRow("width 8 has one group")
        << patched(0, "0800")
        << QStringList{u("column entry 0 (pixel row 0, group 1) lies outside the 8 x 4 module "
                         "(1 groups of 8 columns)")};
    QTest::newRow("header values")
        << patched(4, "02000400040002030001")
        << QStringList{u("colour 2 is neither 0 (single) nor 1 (dual)"),
                       u("red-green position 4 is outside 0..3"),
                       u("OE polarity 2 and marker 3 should each be 0 or 1"),
                       u("display polarity 256 is neither 0 nor 255")};
    QTest::newRow("display polarity 255") << patched(12, "ff00") << QStringList{};
    QTest::newRow("no pixels") << patched(2, "0000")
                               << QStringList{
                                      u("the module size 16 x 0 has no pixels"),
                                      u("row entry 0 (pixel row 0, column 0) lies outside the "
                                        "16 x 0 module"),
                                      u("row entry 1 (pixel row 1, column 1) lies outside the "
                                        "16 x 0 module"),
                                      u("row entry 2 (pixel row 2, column 2) lies outside the "
                                        "16 x 0 module"),
                                      u("row entry 3 (pixel row 3, column 3) lies outside the "
                                        "16 x 0 module"),
                                      u("column entry 0 (pixel row 0, group 1) lies outside "
                                        "the 16 x 0 module (2 groups of 8 columns)"),
                                      u("column entry 1 (pixel row 0, group 0) lies outside "
                                        "the 16 x 0 module (2 groups of 8 columns)")};
}

void CliShowTest::faultsArePointedOut() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, problems);
    const QString path = write(u("case.bin"), bytes);
    const CliRun json = runCli({u("show"), u("--json"), path});
    QCOMPARE(json.code, problems.isEmpty() ? 0 : 4);
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(o.value(u("problems")).toArray(), QJsonArray::fromStringList(problems));

    const CliRun text = runCli({u("show"), path});
    QCOMPARE(text.code, json.code);
    for (const QString& problem : problems) {
        QVERIFY2(text.out.contains(u("  - ") + problem + u("\n")), qPrintable(text.out));
    }
    QCOMPARE(text.out.endsWith(u("no problems found\n")), problems.isEmpty());
}

void CliShowTest::unreadableFilesAreBadInput_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << u("nothing.bin") << u("there is no such file");
    QTest::newRow("a folder") << u(".") << u("");
}

void CliShowTest::unreadableFilesAreBadInput() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const QString path = m_dir.filePath(name);
    const CliRun run = runCli({u("show"), path});
    QCOMPARE(run.code, 4);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith(u("lumotrix-cli: Cannot open the file ") + path + u(": ") + reason),
             qPrintable(run.err));
}

QTEST_GUILESS_MAIN(CliShowTest)
#include "tst_cli_show.moc"
