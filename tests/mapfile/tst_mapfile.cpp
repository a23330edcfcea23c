#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "TestBytes.h"
#include "core/Errors.h"
#include "mapfile/DecodedMap.h"
#include "mapfile/MapFile.h"
#include "mapfile/MapImageBuilder.h"
#include "mapfile/RepeatedPicks.h"

namespace {

// 64 x 32, single colour, scan 16, red-green entry 1, both polarities 0; row pick i on
// row i + 1, column i + 1; column picks on row 1 at the given grid columns, in order.
ScanMapBuffer module(const QList<int>& columns = {}) {
    ScanMapBuffer w;
    const int header[] = {64, 32, 0, 16, 1, 0, 0};
    for (int n = 0; n < 7; ++n) {
        w.set(n, header[n]);
    }

    for (int i = 0; i < 16; ++i) {
        w.set(8 + i, i * 64 + i + 1);
    }

    for (int k = 0; k < columns.size(); ++k) {
        w.set(24 + 8 * k, columns[k]);
    }

    return w;
}

QByteArray bytes(const MapImage& image, int from, int count) {
    return image.toBytes().mid(from, count);
}

QString refusal(const ScanMapBuffer& w, int counter, int rowPicksMade) {
    try {
        MapImageBuilder::build(w, counter, rowPicksMade, MapImage());
    } catch (const InputError& e) {
        return QString::fromUtf8(e.what());
    }

    return {};
}

}  // namespace

// Building the map image from the scan map buffer, map files on disk, and decoding a map.
class MapFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workedExampleGivesItsBytes() {
        ScanMapBuffer w = module({1, 9, 17, 25, 33, 41, 49, 57});
        w.set(8 + 5, 133);  // the sixth row pick on row 3, column 5
        const auto result = MapImageBuilder::build(w, 64, 16, MapImage());
        QCOMPARE(bytes(result.image, 0, 64),
                 hex("40002000000010000100000000004000"
                     "0000010102020303040402040606070708080909 0A0A0B0B0C0C0D0D0E0E0F0F"
                     "00070006000500040003000200010000"));  // columns: the last pick first
        QCOMPARE(bytes(result.image, 64, 2048 - 64), zeros(2048 - 64));
        QCOMPARE(result.columnExtent.value(), 64);
    }

    void markerByteFollowsTheFirstColumnPick_data() {
        QTest::addColumn<QList<int>>("columns");
        QTest::addColumn<int>("oePolarity");
        QTest::addColumn<QByteArray>("bytes10and11");
        QTest::newRow("pixel 8") << QList<int>{8} << 0 << hex("0001");
        QTest::newRow("pixel 16, polarity 1") << QList<int>{16, 3} << 1 << hex("0101");
        QTest::newRow("pixel 9") << QList<int>{9, 8} << 1 << hex("0100");
        QTest::newRow("no column pick") << QList<int>{} << 0 << hex("0001");
        // A buffer that keeps the marker of an earlier save still gives 0 or 1.
        QTest::newRow("saved before") << QList<int>{16} << 257 << hex("0101");
    }

    void markerByteFollowsTheFirstColumnPick() {
        QFETCH(QList<int>, columns);
        QFETCH(int, oePolarity);
        QFETCH(QByteArray, bytes10and11);
        ScanMapBuffer w = module(columns);
        w.set(5, oePolarity);
        const auto result = MapImageBuilder::build(w, 8 * columns.size(), 16, MapImage());
        QCOMPARE(bytes(result.image, 10, 2), bytes10and11);
        QCOMPARE(result.oePolarityWord.value(), bytes10and11[0] + 256 * bytes10and11[1]);
    }

    void bytesNotWrittenKeepThePreviousImage() {
        MapImage previous;
        for (int i = 0; i < 2048; ++i) {
            previous.set(i, static_cast<std::uint8_t>(0xA0 + i % 7));
        }
        const auto result = MapImageBuilder::build(module({1, 9}), 16, 16, previous);
        QCOMPARE(bytes(result.image, 48, 4), hex("00010000"));
        QCOMPARE(bytes(result.image, 52, 2048 - 52), bytes(previous, 52, 2048 - 52));
    }

    void mapsThatCannotBeBuiltAreRefusedWithAReason_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("counter");
        QTest::addColumn<QString>("reason");
        QTest::newRow("rows of an earlier pass")
            << 0 << 64 << 0 << u("行选择未完成：已选 5 行，需要 16 行。请返回第3步选完后再保存");
        QTest::newRow("width 0") << 0 << 0 << 0 << u("模块宽度为 0，无法保存");
        QTest::newRow("scan count 17") << 3 << 17 << 0 << u("扫描周期必须在 1 到 16 之间");
        QTest::newRow("scan count 0") << 3 << 0 << 0 << u("扫描周期必须在 1 到 16 之间");
        QTest::newRow("empty row slot") << 8 << 0 << 0 << u("第 1 个行选择超出模块范围，无法保存");
        QTest::newRow("pixel row 256")
            << 9 << 256 * 64 + 1 << 0 << u("第 2 个行选择超出模块范围，无法保存");
        QTest::newRow("empty column slot")
            << 24 << 0 << 8 << u("第 1 个列选择超出模块范围，无法保存");
        QTest::newRow("header word below -255") << 4 << -256 << 0 << u("参数超出范围，无法保存");
        QTest::newRow("129 column picks") << 0 << 64 << 1032 << u("列选择数目不对，无法保存");
        QTest::newRow("counter not a multiple of 8")
            << 0 << 64 << 12 << u("列选择数目不对，无法保存");
    }

    void mapsThatCannotBeBuiltAreRefusedWithAReason() {
        QFETCH(int, word);
        QFETCH(int, value);
        QFETCH(int, counter);
        QFETCH(QString, reason);
        ScanMapBuffer w = module({1});
        w.set(word, value);
        const bool earlierPass = qstrcmp(QTest::currentDataTag(), "rows of an earlier pass") == 0;
        const int rowPicks = earlierPass ? 5 : 16;
        QCOMPARE(refusal(w, counter, rowPicks), reason);
    }

    void repeatedPicksAreNamedWithTheirCell() {
        ScanMapBuffer w = module({70, 9, 70});
        w.set(23, 2 * 64 + 3);  // row pick 16 on the cell of row pick 3
        w.set(24 + 24, 9);      // a word left by an undo, after the last pick: not counted
        QCOMPARE(RepeatedPicks::find(w, 24),
                 (QStringList{u("行选择 16 与行选择 3 相同（第 3 行第 3 列）"),
                              u("列选择 3 与列选择 1 相同（第 2 行第 6 列）")}));
        QVERIFY(RepeatedPicks::find(module({1, 9}), 16).isEmpty());
    }

    void aMapFileIsExactlyTheImage_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("reason");  // empty: the file opens
        QTest::newRow("exact") << 2048 << QString();
        QTest::newRow("short") << 100 << u("只有 100 字节，地图文件应为 2048 字节");
        QTest::newRow("one byte long") << 2049 << u("比地图文件长：地图文件应为 2048 字节");
        QTest::newRow("missing") << -1 << u("文件不存在");
    }

    void aMapFileIsExactlyTheImage() {
        QFETCH(int, size);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("map.bin"));
        QByteArray content(std::max(size, 0), '\x11');
        if (size > 0) {
            writeFile(path,
                      content.replace(0, 1, "\x40"));  // its first byte tells it from the rest
        }
        try {
            QCOMPARE(MapFile::load(path).toBytes(), content);
            QVERIFY(reason.isEmpty());
        } catch (const FileError& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     u("无法打开文件 %1：%2").arg(QDir::toNativeSeparators(path), reason));
        }
    }

    void saveReplacesWholeOrNotAtAll() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("map.bin"));
        writeFile(path, QByteArray(4000, 'x'));
        MapImage image;
        image.set(2047, 0x7F);
        MapFile::save(path, image);
        QCOMPARE(MapFile::load(path), image);  // shortened to exactly the image
        writeFile(dir.filePath(QStringLiteral("plain")), {});
        for (const QString& refused : {dir.filePath(QStringLiteral("plain/inside.bin")), dir.path(),
                                       QStringLiteral("/proc/lumotrix-map.bin")}) {
            QVERIFY_THROWS_EXCEPTION(FileError, MapFile::save(refused, image));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{u("map.bin"), u("plain")}));
    }

    // What the window's status bar and `show` print about each finding is tested with them; here
    // the findings they have no map for, and the order of the column entries.
    void decoderNamesWhatLooksWrong() {
        QByteArray odd = MapImageBuilder::build(module({1, 9}), 16, 16, MapImage()).image.toBytes();
        odd[14] = 12;  // column extent
        const DecodedMap suspect = DecodedMap::decode(odd + "tail", 2052);
        using F = DecodedMap::Finding;
        QCOMPARE(suspect.findings, (QList<F>{F::FileSize, F::ColumnExtent}));
        QCOMPARE(suspect.problems.size(), 2);
        QCOMPARE(suspect.rowEntries.size(), 16);
        QCOMPARE(suspect.columnEntries.size(), 1);
        QCOMPARE(suspect.columnEntries[0].group, 1);  // the last pick first
    }
};

QTEST_GUILESS_MAIN(MapFileTest)
#include "tst_mapfile.moc"
