#include <QByteArray>
#include <QStringList>
#include <QTest>
#include <limits>

#include "TestBytes.h"
#include "core/Errors.h"
#include "core/Int16.h"
#include "core/Language.h"
#include "core/MapImage.h"
#include "core/ScanMapBuffer.h"
#include "core/TextNumber.h"

// Checked 16-bit arithmetic, the byte range test, number reading from text, the
// bounds of the scan map buffer and the map image, and the language chosen at start-up.
class CoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void checkedNumbersNeverWrap() {
        QCOMPARE((Int16(32766) + 1).value(), 32767);
        QCOMPARE((Int16(-32767) - 1).value(), -32768);
        QCOMPARE((Int16(-128) * 256).value(), -32768);
        Int16 x(32767);
        QVERIFY_THROWS_EXCEPTION(OverflowError, x += 1);
        QCOMPARE(x.value(), 32767);  // a failed assignment leaves the value as it was
        QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(-32768) - 1);
        QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(256) * 128);
        QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(-32768) * -1);
        // Division truncates toward zero: an empty slot, 0 - 1, over the width is 0 remainder -1.
        QCOMPARE(Int16(132).divide(64).value(), 2);
        QCOMPARE(Int16(132).remainder(64).value(), 4);
        QCOMPARE(Int16(-1).divide(64).value(), 0);
        QCOMPARE(Int16(-1).remainder(64).value(), -1);
        QCOMPARE(Int16(7).divide(-2).value(), -3);
        QCOMPARE(Int16(-7).remainder(2).value(), -1);
        QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(5).divide(0));
        QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(5).remainder(0));
        QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(-32768).divide(-1));
        QCOMPARE(Int16(0).toByte(), 0);
        QCOMPARE(Int16(255).toByte(), 255);
        for (int outside : {-1, 256, -32768}) {
            QVERIFY_THROWS_EXCEPTION(RangeError, Int16(outside).toByte());
        }
    }

    // A field read for the number it begins with (readTextNumber), and a field that must hold a
    // number and nothing else (readWholeTextNumber, -1 when it refuses the text).
    void textReadsAsTheNumberItBeginsWith_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("leading");
        QTest::addColumn<qint64>("whole");
        const qint64 huge = std::numeric_limits<qint64>::max();
        const auto row = [](const char* text, qint64 leading, qint64 whole) {
            QTest::newRow(text) << QString::fromUtf8(text) << leading << whole;
        };
        row(" 64 ", 64, 64);
        row("64abc", 64, -1);
        row("16 lines", 16, -1);
        row("abc", 0, -1);
        QTest::newRow("empty") << QString() << qint64{0} << qint64{-1};
        row("64.5", 64, 64);
        row("65.5", 66, 66);
        row("2.5000001", 3, 3);
        row("2.50", 2, 2);  // zeros after the half leave it a half
        row("255.4", 255, 255);
        row("-3.5", -4, -4);
        row("+12", 12, 12);
        row("0064", 64, 64);
        row(".5", 0, 0);
        row("-", 0, -1);
        row("1.6e1", 16, 16);
        row("25E-1", 2, 2);
        row("7e", 7, -1);
        row("\t32\n", 32, 32);
        row("６４", 64, 64);
        row("－２．５", -2, -2);
        row("\u3000８\u3000", 8, 8);
        row("\u0664\u0665", 0, -1);  // Arabic-Indic digits are not digits here
        row("\u22121", 0, -1);       // nor is the Unicode minus a sign
        row("5e-999999", 0, 0);
        row("18446744073709551616", huge, huge);  // 2^64 would wrap to 0
        row("999999999999999999.5", huge, huge);  // rounds up to 19 digits
        row("1e999999999999999999999", huge, huge);
        row("-77777777777777777777", std::numeric_limits<qint64>::min(),
            std::numeric_limits<qint64>::min());
        QTest::newRow("120000 zeros and e-120000")
            << QStringLiteral("1") + QString(120000, QLatin1Char('0')) + QStringLiteral("e-120000")
            << qint64{1} << qint64{1};
    }

    void textReadsAsTheNumberItBeginsWith() {
        QFETCH(QString, text);
        QFETCH(qint64, leading);
        QFETCH(qint64, whole);
        QCOMPARE(readTextNumber(text), leading);
        QCOMPARE(readWholeTextNumber(text).value_or(-1), whole);
    }

    void bufferAndImageCheckEveryPosition() {
        ScanMapBuffer buffer;
        buffer.set(1047, -5);
        QCOMPARE(buffer.at(1047).value() + buffer.at(0).value(), -5);
        QVERIFY_THROWS_EXCEPTION(RangeError, buffer.set(1048, 1));
        QVERIFY_THROWS_EXCEPTION(RangeError, buffer.at(-1));
        MapImage image;
        QCOMPARE(image.toBytes(), QByteArray(2048, '\0'));
        image.set(2047, 0xFF);
        QVERIFY_THROWS_EXCEPTION(RangeError, image.set(2048, 1));
        QVERIFY_THROWS_EXCEPTION(RangeError, image.at(-1));
        QVERIFY_THROWS_EXCEPTION(RangeError, image.assign(QByteArray(2049, '\0')));
        QCOMPARE(image.at(2047), 0xFF);  // a refused assignment keeps the old image
    }

    void languageComesFromTheCommandLineElseTheLocale_data() {
        QTest::addColumn<QString>("arguments");  // after the program's name, split at blanks
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");  // "en", "zh" or "refused"
        const char* const rows[][3] = {
            {"", "en_US", "en"},
            {"", "de_DE", "zh"},
            {"--lang en", "zh_CN", "en"},
            {"--lang=zh", "en_GB", "zh"},
            {"--lang fr", "en_US", "refused"},
            {"--lang=x --lang=en", "C", "refused"},
        };
        for (const auto& row : rows) {
            QTest::addRow("%s | %s", row[0], row[1]) << u(row[0]) << u(row[1]) << u(row[2]);
        }
    }

    void languageComesFromTheCommandLineElseTheLocale() {
        QFETCH(QString, arguments);
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        const QStringList args =
            QStringList{u("lumotrix")} + arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const std::optional<Language> chosen = Languages::choose(args, QLocale(locale));
        const char* name = !chosen ? "refused" : *chosen == Language::English ? "en" : "zh";
        QCOMPARE(u(name), expected);
    }
};

QTEST_APPLESS_MAIN(CoreTest)
#include "tst_core.moc"
