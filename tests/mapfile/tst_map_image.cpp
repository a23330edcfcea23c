#include <QtTest>

#include "DataBuffer.h"
#include "Errors.h"
#include "MapImage.h"
#include "MapImageBuilder.h"
#include "RepeatedPicks.h"

// Building the 2048-byte map image from the scan map buffer.
class MapImageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workedExampleGivesItsBytes();
    void columnEntriesComeLastPickFirst();
    void markerByteFollowsTheFirstColumnPick_data();
    void markerByteFollowsTheFirstColumnPick();
    void savingTwiceGivesTheSameImage();
    void bytesNotWrittenKeepThePreviousImage();
    void mapsThatCannotBeBuiltAreRefusedWithAReason_data();
    void mapsThatCannotBeBuiltAreRefusedWithAReason();
    void repeatedPicksAreNamedWithTheirCell_data();
    void repeatedPicksAreNamedWithTheirCell();
};

namespace {

// 64 x 32, single colour, scan 16, red-green entry 1, both polarities 0; row pick i on
// row i + 1, column i + 1.
DataBuffer moduleWithRows() {
    DataBuffer w;
    const int header[] = {64, 32, 0, 16, 1, 0, 0};
    for (int n = 0; n < 7; ++n) {
        w.set(n, header[n]);
    }
    for (int i = 0; i < 16; ++i) {
        w.set(8 + i, i * 64 + i + 1);
    }
    return w;
}

// Column picks on row 1 at the given grid columns, in order; returns the pick counter.
int addColumnPicks(DataBuffer& w, const QList<int>& columns) {
    for (int k = 0; k < columns.size(); ++k) {
        w.set(24 + 8 * k, columns[k]);
    }
    return 8 * static_cast<int>(columns.size());
}

QByteArray bytes(const MapImage& image, int from, int count) {
    return image.toBytes().mid(from, count);
}

}  // namespace

void MapImageTest::workedExampleGivesItsBytes() {
    DataBuffer w = moduleWithRows();
    w.set(8 + 5, 133);  // the sixth row pick on row 3, column 5
    const int counter = addColumnPicks(w, {1, 9, 17, 25, 33, 41, 49, 57});
    const auto result = MapImageBuilder::build(w, counter, 16, MapImage());
    QCOMPARE(bytes(result.image, 0, 16), QByteArray::fromHex("40002000000010000100000000004000"));
    QCOMPARE(bytes(result.image, 16, 32),
             QByteArray::fromHex("00000101020203030404"
                                 "0204"
                                 "06060707080809090A0A0B0B0C0C0D0D0E0E0F0F"));
    QCOMPARE(bytes(result.image, 48, 16), QByteArray::fromHex("00070006000500040003000200010000"));
    QCOMPARE(bytes(result.image, 64, 2048 - 64), QByteArray(2048 - 64, '\0'));
    QCOMPARE(result.word7.value(), 64);
    QCOMPARE(result.word5.value(), 0);
}

void MapImageTest::columnEntriesComeLastPickFirst() {
    DataBuffer w = moduleWithRows();
    const int counter = addColumnPicks(w, {1, 9, 17});
    const auto result = MapImageBuilder::build(w, counter, 16, MapImage());
    QCOMPARE(bytes(result.image, 48, 6), QByteArray::fromHex("000200010000"));
    QCOMPARE(bytes(result.image, 14, 2), QByteArray::fromHex("1800"));
}

void MapImageTest::markerByteFollowsTheFirstColumnPick_data() {
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<int>("oePolarity");
    QTest::addColumn<QByteArray>("bytes10and11");
    QTest::newRow("pixel 8") << QList<int>{8} << 0 << QByteArray::fromHex("0001");
    QTest::newRow("pixel 16") << QList<int>{16, 3} << 1 << QByteArray::fromHex("0101");
    QTest::newRow("pixel 24") << QList<int>{24} << 0 << QByteArray::fromHex("0001");
    QTest::newRow("pixel 9") << QList<int>{9, 8} << 1 << QByteArray::fromHex("0100");
    QTest::newRow("no column pick in a fresh buffer")
        << QList<int>{} << 0 << QByteArray::fromHex("0001");
}

void MapImageTest::markerByteFollowsTheFirstColumnPick() {
    QFETCH(QList<int>, columns);
    QFETCH(int, oePolarity);
    QFETCH(QByteArray, bytes10and11);
    DataBuffer w = moduleWithRows();
    w.set(5, oePolarity);
    const int counter = addColumnPicks(w, columns);
    const auto result = MapImageBuilder::build(w, counter, 16, MapImage());
    QCOMPARE(bytes(result.image, 10, 2), bytes10and11);
}

void MapImageTest::savingTwiceGivesTheSameImage() {
    DataBuffer w = moduleWithRows();
    const int counter = addColumnPicks(w, {8, 16});
    const auto first = MapImageBuilder::build(w, counter, 16, MapImage());
    w.set(5, first.word5);  // the buffer keeps what the save made of word 5
    w.set(7, first.word7);
    const auto second = MapImageBuilder::build(w, counter, 16, first.image);
    QCOMPARE(second.image.toBytes(), first.image.toBytes());
    QCOMPARE(bytes(second.image, 10, 2), QByteArray::fromHex("0001"));
    QCOMPARE(second.word5.value(), 256);
}

void MapImageTest::bytesNotWrittenKeepThePreviousImage() {
    MapImage previous;
    for (int i = 0; i < 2048; ++i) {
        previous.set(i, static_cast<std::uint8_t>(0xA0 + i % 7));
    }
    DataBuffer w = moduleWithRows();
    const int counter = addColumnPicks(w, {1, 9});
    const auto result = MapImageBuilder::build(w, counter, 16, previous);
    QCOMPARE(bytes(result.image, 48, 4), QByteArray::fromHex("00010000"));
    QCOMPARE(bytes(result.image, 52, 2048 - 52), bytes(previous, 52, 2048 - 52));

    const auto noColumns = MapImageBuilder::build(w, 0, 16, previous);
    QCOMPARE(bytes(noColumns.image, 14, 2), QByteArray::fromHex("0000"));
    QCOMPARE(bytes(noColumns.image, 48, 2000), bytes(previous, 48, 2000));
}

void MapImageTest::mapsThatCannotBeBuiltAreRefusedWithAReason_data() {
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("rowPicksMade");
    QTest::addColumn<QString>("reason");
    QTest::newRow("rows left from an earlier pass")
        << 0 << 64 << 5
        << QString::fromUtf8("行选择未完成：已选 5 行，需要 16 行。请返回第3步选完后再保存");
    QTest::newRow("width 0") << 0 << 0 << 16 << QString::fromUtf8("模块宽度为 0，无法保存");
    QTest::newRow("pixel row above 255")
        << 0 << 1 << 16 << QString::fromUtf8("第 1 个行选择超出模块范围，无法保存");
    QTest::newRow("scan count 17")
        << 3 << 17 << 17 << QString::fromUtf8("扫描周期必须在 1 到 16 之间");
    QTest::newRow("empty row slot")
        << 8 << 0 << 16 << QString::fromUtf8("第 1 个行选择超出模块范围，无法保存");
    QTest::newRow("header word below -255")
        << 4 << -256 << 16 << QString::fromUtf8("参数超出范围，无法保存");
}

void MapImageTest::mapsThatCannotBeBuiltAreRefusedWithAReason() {
    QFETCH(int, word);
    QFETCH(int, value);
    QFETCH(int, rowPicksMade);
    QFETCH(QString, reason);
    DataBuffer w = moduleWithRows();
    w.set(word, value);
    if (word == 0 && value == 1) {
        w.set(8, 300);  // a 1-wide module's pixel 300 lies in pixel row 299
    }
    try {
        MapImageBuilder::build(w, 0, rowPicksMade, MapImage());
        QFAIL("the map was built");
    } catch (const InputError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), reason);
    }
}

void MapImageTest::repeatedPicksAreNamedWithTheirCell_data() {
    QTest::addColumn<int>("rowSlot");
    QTest::addColumn<int>("rowValue");
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<QStringList>("sentences");
    QTest::newRow("nothing repeats") << 8 << 1 << QList<int>{1, 9} << QStringList{};
    QTest::newRow("row pick 16 repeats row pick 3")
        << 23 << 2 * 64 + 3 << QList<int>{1}
        << QStringList{QString::fromUtf8("行选择 16 与行选择 3 相同（第 3 行第 3 列）")};
    QTest::newRow("column pick 3 repeats column pick 1")
        << 8 << 1 << QList<int>{70, 9, 70}
        << QStringList{QString::fromUtf8("列选择 3 与列选择 1 相同（第 2 行第 6 列）")};
    QTest::newRow("a taken-back column pick beyond the counter does not count")
        << 8 << 1 << QList<int>{5} << QStringList{};
}

void MapImageTest::repeatedPicksAreNamedWithTheirCell() {
    QFETCH(int, rowSlot);
    QFETCH(int, rowValue);
    QFETCH(QList<int>, columns);
    QFETCH(QStringList, sentences);
    DataBuffer w = moduleWithRows();
    w.set(rowSlot, rowValue);
    const int counter = addColumnPicks(w, columns);
    w.set(24 + counter, 5);  // a word left by an undo, after the last pick
    QCOMPARE(RepeatedPicks::find(w, counter), sentences);
    w.set(0, 0);
    QVERIFY(RepeatedPicks::find(w, counter).isEmpty());
}

QTEST_APPLESS_MAIN(MapImageTest)
#include "tst_map_image.moc"
