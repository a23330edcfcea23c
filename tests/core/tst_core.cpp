#include <QtTest>
#include <limits>

#include "Errors.h"
#include "Int16.h"
#include "Language.h"
#include "MapImage.h"
#include "PickValue.h"
#include "ScanMapBuffer.h"
#include "TestBytes.h"
#include "TextNumber.h"

// Checked 16-bit arithmetic, the byte range test, number reading from text, pick values, and
// the bounds of the scan map buffer and the map image, the language chosen at start-up.
class CoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void arithmeticThrowsOutside16Bits_data();
    void arithmeticThrowsOutside16Bits();
    void divisionTruncatesTowardZero();
    void byteConversionAcceptsOnly0To255();
    void textReadsAsTheNumberItBeginsWith_data();
    void textReadsAsTheNumberItBeginsWith();
    void wholeTextMustBeANumber_data();
    void wholeTextMustBeANumber();
    void pickValueCountsPixelsRowByRowFrom1();
    void bufferAndImageCheckEveryPosition();
    void languageComesFromTheCommandLineElseTheLocale_data();
    void languageComesFromTheCommandLineElseTheLocale();
};

void CoreTest::arithmeticThrowsOutside16Bits_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<char>("op");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("expected");  // 0 with overflow: the operation throws
    QTest::addColumn<bool>("overflow");
    QTest::newRow("max by addition") << 32766 << '+' << 1 << 32767 << false;
    QTest::newRow("min by subtraction") << -32767 << '-' << 1 << -32768 << false;
    QTest::newRow("product at min") << -128 << '*' << 256 << -32768 << false;
    QTest::newRow("max plus one") << 32767 << '+' << 1 << 0 << true;
    QTest::newRow("min minus one") << -32768 << '-' << 1 << 0 << true;
    QTest::newRow("product above max") << 256 << '*' << 128 << 0 << true;
    QTest::newRow("min times minus one") << -32768 << '*' << -1 << 0 << true;
}

void CoreTest::arithmeticThrowsOutside16Bits() {
    QFETCH(int, a);
    QFETCH(char, op);
    QFETCH(int, b);
    QFETCH(int, expected);
    QFETCH(bool, overflow);
    Int16 x(a);
    const auto apply = [&] { return op == '+' ? x += b : op == '-' ? x -= b : x = x * b; };
    if (overflow) {
        QVERIFY_THROWS_EXCEPTION(OverflowError, apply());
        QCOMPARE(x.value(), a);  // a failed assignment leaves the value as it was
    } else {
        QCOMPARE(apply().value(), expected);
    }
}

void CoreTest::divisionTruncatesTowardZero() {
    QCOMPARE(Int16(132).divide(64).value(), 2);
    QCOMPARE(Int16(132).remainder(64).value(), 4);
    QCOMPARE(Int16(-1).divide(64).value(), 0);  // an empty slot: 0 - 1 over the width
    QCOMPARE(Int16(-1).remainder(64).value(), -1);
    QCOMPARE(Int16(7).divide(-2).value(), -3);
    QCOMPARE(Int16(-7).remainder(2).value(), -1);
    QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(5).divide(0));
    QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(5).remainder(0));
    QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(-32768).divide(-1));
}

void CoreTest::byteConversionAcceptsOnly0To255() {
    QCOMPARE(Int16(0).toByte(), 0);
    QCOMPARE(Int16(255).toByte(), 255);
    for (int outside : {-1, 256, -32768}) {
        QVERIFY_THROWS_EXCEPTION(RangeError, Int16(outside).toByte());
    }
}

void CoreTest::textReadsAsTheNumberItBeginsWith_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");
    const qint64 huge = std::numeric_limits<qint64>::max();
    const auto row = [](const char* text, qint64 expected) {
        QTest::newRow(text) << QString::fromUtf8(text) << expected;
    };
    row("64", 64);
    row(" 64 ", 64);
    row("64abc", 64);
    row("abc", 0);
    QTest::newRow("empty") << QString() << qint64{0};
    row("64.5", 64);
    row("65.5", 66);
    row("2.5000001", 3);
    row("255.4", 255);
    row("-2.5", -2);
    row("-3.5", -4);
    row("+12", 12);
    row("0064", 64);
    row(".5", 0);
    row("-", 0);
    row("64.", 64);
    row("1e2", 100);
    row("25E-1", 2);
    row("7e", 7);
    row("7e+x", 7);
    row("1 2", 1);
    row("\t32\n", 32);
    row("６４", 64);
    row("－２．５", -2);
    row("\u3000８\u3000", 8);
    row("\u0664\u0665", 0);  // Arabic-Indic digits are not digits here
    row("\u22121", 0);       // nor is the Unicode minus a sign
    row("&H10", 0);
    row("5e-999999", 0);
    row("18446744073709551616", huge);  // 2^64 would wrap to 0
    row("999999999999999999.5", huge);  // rounds up to 19 digits
    row("1e999999999999999999999", huge);
    row("-77777777777777777777", std::numeric_limits<qint64>::min());
    QTest::newRow("120000 zeros and e-120000")
        << QStringLiteral("1") + QString(120000, QLatin1Char('0')) + QStringLiteral("e-120000")
        << qint64{1};
    QTest::newRow("long zero fraction")
        << QStringLiteral("12.") + QString(500, QLatin1Char('0')) + QStringLiteral("1")
        << qint64{12};
}

void CoreTest::textReadsAsTheNumberItBeginsWith() {
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QCOMPARE(readTextNumber(text), expected);
}

void CoreTest::wholeTextMustBeANumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");  // -1: refused
    QTest::newRow("plain") << QStringLiteral("8") << qint64{8};
    QTest::newRow("blanks") << QStringLiteral(" 16 ") << qint64{16};
    QTest::newRow("rounded") << QStringLiteral("8.5") << qint64{8};
    QTest::newRow("exponent") << QStringLiteral("1.6e1") << qint64{16};
    QTest::newRow("letter after") << QStringLiteral("8x") << qint64{-1};
    QTest::newRow("word after") << QStringLiteral("16 lines") << qint64{-1};
    QTest::newRow("two numbers") << QStringLiteral("8 8") << qint64{-1};
    QTest::newRow("dangling exponent") << QStringLiteral("8e") << qint64{-1};
    QTest::newRow("empty") << QString() << qint64{-1};
    QTest::newRow("blank") << QStringLiteral("  ") << qint64{-1};
}

void CoreTest::wholeTextMustBeANumber() {
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QCOMPARE(readWholeTextNumber(text).value_or(-1), expected);
}

void CoreTest::pickValueCountsPixelsRowByRowFrom1() {
    QCOMPARE(PickValue::encode(1, 1, 64).value(), 1);
    QCOMPARE(PickValue::encode(3, 5, 64).value(), 133);
    QCOMPARE(PickValue::encode(128, 255, 255).value(), 32640);
    QVERIFY_THROWS_EXCEPTION(OverflowError, PickValue::encode(129, 128, 256));
}

void CoreTest::bufferAndImageCheckEveryPosition() {
    ScanMapBuffer buffer;
    buffer.set(1047, -5);
    QCOMPARE(buffer.at(1047).value(), -5);
    QCOMPARE(buffer.at(0).value(), 0);
    QVERIFY_THROWS_EXCEPTION(RangeError, buffer.set(1048, 1));
    QVERIFY_THROWS_EXCEPTION(RangeError, buffer.at(-1));
    MapImage image;
    QCOMPARE(image.toBytes(), QByteArray(2048, '\0'));
    image.set(2047, 0xFF);
    QCOMPARE(image.at(2047), 0xFF);
    QVERIFY_THROWS_EXCEPTION(RangeError, image.set(2048, 1));
    QVERIFY_THROWS_EXCEPTION(RangeError, image.at(-1));
    QVERIFY_THROWS_EXCEPTION(RangeError, image.assign(QByteArray(2049, '\0')));
    QCOMPARE(image.at(2047), 0xFF);  // a refused assignment keeps the old image
}

void CoreTest::languageComesFromTheCommandLineElseTheLocale_data() {
    QTest::addColumn<QString>("arguments");  // after the program's name, split at blanks
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");  // "en", "zh" or "refused"
    const char* const rows[][3] = {
        {"", "en_US", "en"},
        {"", "de_DE", "zh"},
        {"", "C", "zh"},
        {"--lang en", "zh_CN", "en"},
        {"--lang=zh", "en_GB", "zh"},
        {"--lang=zh --lang en", "C", "en"},
        {"--lang fr", "en_US", "refused"},
        {"--lang", "zh_CN", "refused"},
        {"--lang=x --lang=en", "C", "refused"},
    };
    for (const auto& row : rows) {
        QTest::addRow("%s | %s", row[0], row[1]) << u(row[0]) << u(row[1]) << u(row[2]);
    }
}

void CoreTest::languageComesFromTheCommandLineElseTheLocale() {
    QFETCH(QString, arguments);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    const QStringList args =
        QStringList{u("lumotrix")} + arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const std::optional<Language> chosen = Languages::choose(args, QLocale(locale));
    const char* name = !chosen ? "refused" : *chosen == Language::English ? "en" : "zh";
    QCOMPARE(u(name), expected);
}

QTEST_APPLESS_MAIN(CoreTest)
#include "tst_core.moc"
