#include <QtTest>
#include <limits>

#include "DataBuffer.h"
#include "Errors.h"
#include "Int16.h"
#include "MapImage.h"
#include "TextNumber.h"

// Checked 16-bit arithmetic, the byte range test, number reading from text boxes, and the
// bounds of the scan map buffer and the map image.
class NumbersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void arithmeticWithinRangeGivesExactResult_data();
    void arithmeticWithinRangeGivesExactResult();
    void arithmeticLeavingRangeThrowsOverflow_data();
    void arithmeticLeavingRangeThrowsOverflow();
    void divisionTruncatesTowardZero_data();
    void divisionTruncatesTowardZero();
    void divisionByZeroIsAnOverflow();
    void byteConversionAcceptsOnly0To255_data();
    void byteConversionAcceptsOnly0To255();
    void textReadsAsTheNumberItBeginsWith_data();
    void textReadsAsTheNumberItBeginsWith();
    void hugeNumbersSaturateInsteadOfWrapping_data();
    void hugeNumbersSaturateInsteadOfWrapping();
    void bufferAcceptsPositions0To1047Only();
    void freshBufferAndImageAreAllZero();
    void imageAcceptsPositions0To2047Only();
    void imageAssignNeedsExactly2048Bytes();
};

void NumbersTest::arithmeticWithinRangeGivesExactResult_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<char>("op");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("max reached by addition") << 32766 << '+' << 1 << 32767;
    QTest::newRow("min reached by subtraction") << -32767 << '-' << 1 << -32768;
    QTest::newRow("negative plus positive") << -32768 << '+' << 32767 << -1;
    QTest::newRow("product at max") << 181 << '*' << 181 << 32761;
    QTest::newRow("product at min") << -128 << '*' << 256 << -32768;
    QTest::newRow("pixel number of last cell of 255x128") << 127 << '*' << 255 << 32385;
}

void NumbersTest::arithmeticWithinRangeGivesExactResult() {
    QFETCH(int, a);
    QFETCH(char, op);
    QFETCH(int, b);
    QFETCH(int, expected);
    const Int16 x(a), y(b);
    const Int16 result = op == '+' ? x + y : op == '-' ? x - y : x * y;
    QCOMPARE(result.value(), expected);
}

void NumbersTest::arithmeticLeavingRangeThrowsOverflow_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<char>("op");
    QTest::addColumn<int>("b");
    QTest::newRow("max plus one") << 32767 << '+' << 1;
    QTest::newRow("min minus one") << -32768 << '-' << 1;
    QTest::newRow("zero minus min") << 0 << '-' << -32768;
    QTest::newRow("product just above max") << 256 << '*' << 128;
    QTest::newRow("product far below min") << -32768 << '*' << 2;
    QTest::newRow("min times minus one") << -32768 << '*' << -1;
}

void NumbersTest::arithmeticLeavingRangeThrowsOverflow() {
    QFETCH(int, a);
    QFETCH(char, op);
    QFETCH(int, b);
    Int16 x(a);
    const Int16 y(b);
    if (op == '+') {
        QVERIFY_THROWS_EXCEPTION(OverflowError, x += y);
    } else if (op == '-') {
        QVERIFY_THROWS_EXCEPTION(OverflowError, x -= y);
    } else {
        QVERIFY_THROWS_EXCEPTION(OverflowError, x * y);
    }
    QCOMPARE(x.value(), a);  // a failed compound assignment leaves the value as it was
}

void NumbersTest::divisionTruncatesTowardZero_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("quotient");
    QTest::addColumn<int>("remainder");
    QTest::newRow("positive") << 132 << 64 << 2 << 4;
    QTest::newRow("exact") << 128 << 64 << 2 << 0;
    QTest::newRow("empty slot: 0 - 1 over 64") << -1 << 64 << 0 << -1;
    QTest::newRow("negative dividend") << -7 << 2 << -3 << -1;
    QTest::newRow("negative divisor") << 7 << -2 << -3 << 1;
}

void NumbersTest::divisionTruncatesTowardZero() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, quotient);
    QFETCH(int, remainder);
    QCOMPARE(Int16(a).divide(b).value(), quotient);
    QCOMPARE(Int16(a).remainder(b).value(), remainder);
}

void NumbersTest::divisionByZeroIsAnOverflow() {
    QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(5).divide(0));
    QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(5).remainder(0));
    QVERIFY_THROWS_EXCEPTION(OverflowError, Int16(-32768).divide(-1));
}

void NumbersTest::byteConversionAcceptsOnly0To255_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("fits");
    QTest::newRow("0") << 0 << true;
    QTest::newRow("255") << 255 << true;
    QTest::newRow("64") << 64 << true;
    QTest::newRow("-1") << -1 << false;
    QTest::newRow("256") << 256 << false;
    QTest::newRow("300") << 300 << false;
    QTest::newRow("-32768") << -32768 << false;
}

void NumbersTest::byteConversionAcceptsOnly0To255() {
    QFETCH(int, value);
    QFETCH(bool, fits);
    if (fits) {
        QCOMPARE(static_cast<int>(Int16(value).toByte()), value);
        QCOMPARE(static_cast<int>(toByte(value)), value);
    } else {
        QVERIFY_THROWS_EXCEPTION(RangeError, Int16(value).toByte());
        QVERIFY_THROWS_EXCEPTION(RangeError, toByte(value));
    }
}

void NumbersTest::textReadsAsTheNumberItBeginsWith_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");
    auto row = [](const char* name, const QString& text, qint64 expected) {
        QTest::newRow(name) << text << expected;
    };
    row("plain", QStringLiteral("64"), 64);
    row("blanks around", QStringLiteral(" 64 "), 64);
    row("letters after", QStringLiteral("64abc"), 64);
    row("letters only", QStringLiteral("abc"), 0);
    row("empty", QString(), 0);
    row("half down to even", QStringLiteral("64.5"), 64);
    row("half up to even", QStringLiteral("65.5"), 66);
    row("1.5", QStringLiteral("1.5"), 2);
    row("2.5", QStringLiteral("2.5"), 2);
    row("below half", QStringLiteral("255.4"), 255);
    row("above half", QStringLiteral("255.51"), 256);
    row("half with a tail rounds up", QStringLiteral("2.5000001"), 3);
    row("half of 255", QStringLiteral("255.5"), 256);
    row("minus one", QStringLiteral("-1"), -1);
    row("negative half to even", QStringLiteral("-2.5"), -2);
    row("negative half up", QStringLiteral("-3.5"), -4);
    row("minus a half is zero", QStringLiteral("-0.5"), 0);
    row("plus sign", QStringLiteral("+12"), 12);
    row("leading space then letters", QStringLiteral(" 12abc"), 12);
    row("leading zeros", QStringLiteral("0064"), 64);
    row("no integer digits", QStringLiteral(".5"), 0);
    row("point only", QStringLiteral("."), 0);
    row("sign only", QStringLiteral("-"), 0);
    row("trailing point", QStringLiteral("64."), 64);
    row("exponent", QStringLiteral("1e2"), 100);
    row("capital exponent with sign", QStringLiteral("25E-1"), 2);
    row("exponent without digits stops before e", QStringLiteral("7e"), 7);
    row("exponent sign without digits", QStringLiteral("7e+x"), 7);
    row("space inside ends the number", QStringLiteral("1 2"), 1);
    row("tab and newline trimmed", QStringLiteral("\t32\n"), 32);
    row("full-width digits", QString::fromUtf8("６４"), 64);
    row("full-width sign and point", QString::fromUtf8("－２．５"), -2);
    row("ideographic space trimmed", QString::fromUtf8("\u3000８\u3000"), 8);
    row("arabic-indic digits are not digits", QString::fromUtf8("\u0664\u0665"), 0);
    row("unicode minus is not a sign", QString::fromUtf8("\u22121"), 0);
    row("hex prefix not accepted", QStringLiteral("&H10"), 0);
    row("control character first",
        QStringLiteral("\x01"
                       "64"),
        0);
    row("infinity is not a number", QStringLiteral("inf"), 0);
    row("tiny exponent", QStringLiteral("5e-999999"), 0);
    row("just above 16 bits", QStringLiteral("32768"), 32768);
    row("long zero fraction",
        QStringLiteral("12.") + QString(500, QLatin1Char('0')) + QStringLiteral("1"), 12);
}

void NumbersTest::textReadsAsTheNumberItBeginsWith() {
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QCOMPARE(readTextNumber(text), expected);
}

void NumbersTest::hugeNumbersSaturateInsteadOfWrapping_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("negative");
    QTest::newRow("above 64 bits") << QStringLiteral("18446744073709551617") << false;
    QTest::newRow("exactly 2^64 would wrap to 0")
        << QStringLiteral("18446744073709551616") << false;
    QTest::newRow("thousand digits") << QString(1000, QLatin1Char('9')) << false;
    QTest::newRow("negative thousand digits")
        << QStringLiteral("-") + QString(1000, QLatin1Char('7')) << true;
    QTest::newRow("huge exponent") << QStringLiteral("1e999999999999999999999") << false;
    QTest::newRow("exponent of 19 digits") << QStringLiteral("1e19") << false;
    QTest::newRow("18 nines rounding up to 19 digits")
        << QStringLiteral("999999999999999999.5") << false;
    QTest::newRow("10^18 written out") << QStringLiteral("1000000000000000000") << false;
}

void NumbersTest::hugeNumbersSaturateInsteadOfWrapping() {
    QFETCH(QString, text);
    QFETCH(bool, negative);
    const qint64 value = readTextNumber(text);
    if (negative) {
        QCOMPARE(value, std::numeric_limits<qint64>::min());
    } else {
        QCOMPARE(value, std::numeric_limits<qint64>::max());
    }
    QVERIFY_THROWS_EXCEPTION(OverflowError, Int16{value});
}

void NumbersTest::bufferAcceptsPositions0To1047Only() {
    DataBuffer buffer;
    buffer.set(0, 64);
    buffer.set(1047, -5);
    QCOMPARE(buffer.at(0).value(), 64);
    QCOMPARE(buffer.at(1047).value(), -5);
    QVERIFY_THROWS_EXCEPTION(RangeError, buffer.set(1048, 1));
    QVERIFY_THROWS_EXCEPTION(RangeError, buffer.at(1048));
    QVERIFY_THROWS_EXCEPTION(RangeError, buffer.set(-1, 1));
    QVERIFY_THROWS_EXCEPTION(RangeError, buffer.at(-32768));
    QCOMPARE(buffer.at(1046).value(), 0);  // a refused write touched no neighbour
}

void NumbersTest::freshBufferAndImageAreAllZero() {
    const DataBuffer buffer;
    for (int i = 0; i < 1048; ++i) {
        QCOMPARE(buffer.at(i).value(), 0);
    }
    const MapImage image;
    QCOMPARE(image.toBytes(), QByteArray(2048, '\0'));
}

void NumbersTest::imageAcceptsPositions0To2047Only() {
    MapImage image;
    image.set(0, 0x40);
    image.set(2047, 0xFF);
    QCOMPARE(image.at(0), 0x40);
    QCOMPARE(image.at(2047), 0xFF);
    QVERIFY_THROWS_EXCEPTION(RangeError, image.set(2048, 1));
    QVERIFY_THROWS_EXCEPTION(RangeError, image.at(-1));
    QCOMPARE(image.toBytes().size(), 2048);
}

void NumbersTest::imageAssignNeedsExactly2048Bytes() {
    MapImage image;
    QByteArray bytes(2048, '\x5a');
    bytes[2047] = '\x01';
    image.assign(bytes);
    QCOMPARE(image.toBytes(), bytes);
    QVERIFY_THROWS_EXCEPTION(RangeError, image.assign(QByteArray(2047, '\0')));
    QVERIFY_THROWS_EXCEPTION(RangeError, image.assign(QByteArray(2049, '\0')));
    QCOMPARE(image.toBytes(), bytes);  // a refused assignment keeps the old image
}

QTEST_APPLESS_MAIN(NumbersTest)
#include "tst_numbers.moc"
