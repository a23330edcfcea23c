#include <QtTest>
#include <limits>

#include "../wizard/WindowFixture.h"

// Every text box and editable combo box against a table of awkward texts: no crash, the right
// message, and nothing sent where the text is refused.
class BadInputTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_f = std::make_unique<WindowFixture>(); }
    void cleanup() { m_f.reset(); }

    void moduleFieldsTakeOrRefuseEachText_data();
    void moduleFieldsTakeOrRefuseEachText();
    void addressBoxesTakeOrRefuseEachText_data();
    void addressBoxesTakeOrRefuseEachText();
    void listBoxesTakeOnlyTheirEntries_data();
    void listBoxesTakeOnlyTheirEntries();
    void typingIntoThePortListChoosesNoOtherPort_data();
    void typingIntoThePortListChoosesNoOtherPort();

private:
    std::unique_ptr<WindowFixture> m_f;
};

namespace {

constexpr qint64 kHuge = std::numeric_limits<qint64>::max();
constexpr qint64 kHugeNegative = std::numeric_limits<qint64>::min();

// Each text with the number it reads as.
struct Case {
    const char* name;
    QString text;
    qint64 value;
};

QList<Case> texts() {
    return {
        {"empty", QString(), 0},
        {"blank", QStringLiteral("   "), 0},
        {"blanks around", QStringLiteral("  12  "), 12},
        {"plus sign", QStringLiteral("+7"), 7},
        {"minus one", QStringLiteral("-1"), -1},
        {"minus zero", QStringLiteral("-0"), 0},
        {"one and a half", QStringLiteral("1.5"), 2},
        {"two and a half", QStringLiteral("2.5"), 2},
        {"255.4", QStringLiteral("255.4"), 255},
        {"255.5", QStringLiteral("255.5"), 256},
        {"exponent", QStringLiteral("1e2"), 100},
        {"negative exponent", QStringLiteral("15E-1"), 2},
        {"exponent too big", QStringLiteral("1e400"), kHuge},
        {"32-bit overflow", QStringLiteral("2147483648"), 2147483648LL},
        {"64-bit overflow", QStringLiteral("9223372036854775808"), kHuge},
        {"negative 64-bit overflow", QStringLiteral("-9223372036854775809"), kHugeNegative},
        {"1000 digits", QString(1000, QLatin1Char('8')), kHuge},
        {"letters", QStringLiteral("abc"), 0},
        {"digits then letters", QStringLiteral("12abc"), 12},
        {"full-width digits", QString::fromUtf8("１６"), 16},
        {"arabic-indic digits", QString::fromUtf8("\u0663"), 0},
        {"devanagari digits", QString::fromUtf8("\u0967\u0968"), 0},
        {"tab and newline", QStringLiteral("\t9\n"), 9},
        {"control character", QStringLiteral("\x01") + QStringLiteral("5"), 0},
        {"NUL inside", QStringLiteral("4") + QChar(0) + QStringLiteral("4"), 4},
        {"hex prefix", QStringLiteral("0x10"), 0},
        {"thousands separator", QStringLiteral("1,000"), 1},
        {"vulgar fraction", QString::fromUtf8("½"), 0},
        {"infinity sign", QString::fromUtf8("∞"), 0},
        {"NaN", QStringLiteral("NaN"), 0},
        {"sign alone", QStringLiteral("-"), 0},
        {"point alone", QStringLiteral("."), 0},
        {"exponent alone", QStringLiteral("e5"), 0},
        {"chinese", QString::fromUtf8("十六"), 0},
        {"emoji", QString::fromUtf8("😀3"), 0},
    };
}

}  // namespace

void BadInputTest::moduleFieldsTakeOrRefuseEachText_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    for (const char* field : {"LedWidth", "LedHeigh", "LedScan"}) {
        for (const Case& c : texts()) {
            QTest::addRow("%s %s", field, c.name)
                << QString::fromLatin1(field) << c.text << c.value;
        }
    }
}

void BadInputTest::moduleFieldsTakeOrRefuseEachText() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(qint64, value);
    QWidget* w = m_f->window().findChild<QWidget*>(field);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(text);
    } else {
        qobject_cast<QComboBox*>(w)->setEditText(text);
    }
    m_f->clickNext();
    const bool scan = field == QStringLiteral("LedScan");
    const bool accepted = value >= 1 && value <= (scan ? 16 : 255);
    if (!accepted) {
        const char* message = scan ? "扫描周期必须在 1 到 16 之间"
                              : field == QStringLiteral("LedWidth") ? "宽度必须在 1 到 255 之间"
                                                                    : "高度必须在 1 到 255 之间";
        QCOMPARE(m_f->notifier.messages, QStringList{QString::fromUtf8(message)});
        QVERIFY(m_f->port.written.isEmpty());
        QCOMPARE(m_f->state().StepNum.value(), 1);
        return;
    }
    QVERIFY(m_f->notifier.messages.isEmpty());
    QCOMPARE(m_f->port.written.size(), 1);
    const int byte = scan ? 12 : field == QStringLiteral("LedWidth") ? 9 : 10;
    QCOMPARE(static_cast<qint64>(static_cast<quint8>(m_f->port.written[0][byte])), value);
}

void BadInputTest::addressBoxesTakeOrRefuseEachText_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    const QList<QPair<const char*, int>> boxes = {
        {"Text2", 9}, {"Text1", 10}, {"Text3", 11}, {"Text4", 12}, {"Text5", 13}};
    for (const auto& [box, byte] : boxes) {
        for (const Case& c : texts()) {
            QTest::addRow("%s %s", box, c.name)
                << QString::fromLatin1(box) << byte << c.text << c.value;
        }
    }
}

void BadInputTest::addressBoxesTakeOrRefuseEachText() {
    QFETCH(QString, box);
    QFETCH(int, byte);
    QFETCH(QString, text);
    QFETCH(qint64, value);
    m_f->window().findChild<QLineEdit*>(box)->setText(text);
    m_f->port.answers.append(QByteArray("\x06", 1));
    m_f->c().Command1->click();
    if (value < 0 || value > 255) {
        const char* message = box == QStringLiteral("Text2")
                                  ? "屏号必须是 0 到 255 之间的整数"
                                  : "IP地址每一段必须是 0 到 255 之间的整数";
        QCOMPARE(m_f->notifier.messages, QStringList{QString::fromUtf8(message)});
        QVERIFY(m_f->port.written.isEmpty());
        QVERIFY(!m_f->port.isOpen());
        return;
    }
    QCOMPARE(m_f->port.written.size(), 1);
    QCOMPARE(static_cast<qint64>(static_cast<quint8>(m_f->port.written[0][byte])), value);
    QTRY_VERIFY_WITH_TIMEOUT(!m_f->program->commands().isBusy(), 3000);
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void BadInputTest::listBoxesTakeOnlyTheirEntries_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("entry");
    for (const char* field : {"LedColor", "LedInNum"}) {
        for (const Case& c : texts()) {
            const bool isEntry = QString::fromLatin1(field) == QStringLiteral("LedInNum") &&
                                 c.text.trimmed().size() == 1 && c.value >= 1 && c.value <= 4 &&
                                 c.text.trimmed().at(0).unicode() < 0x80;
            QTest::addRow("%s %s", field, c.name)
                << QString::fromLatin1(field) << c.text << (isEntry ? int(c.value) - 1 : -1);
        }
    }
    QTest::newRow("LedColor typed 双色") << "LedColor" << QString::fromUtf8("双色") << 1;
    QTest::newRow("LedColor 单色 with blanks") << "LedColor" << QString::fromUtf8(" 单色 ") << 0;
    QTest::newRow("LedColor half a name") << "LedColor" << QString::fromUtf8("单") << -1;
    QTest::newRow("LedInNum 4") << "LedInNum"
                                << "4" << 3;
    QTest::newRow("LedInNum 4.0 is no entry") << "LedInNum"
                                              << "4.0" << -1;
}

void BadInputTest::listBoxesTakeOnlyTheirEntries() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, entry);
    m_f->window().findChild<QComboBox*>(field)->setEditText(text);
    m_f->clickNext();
    if (entry < 0) {
        const char* message = field == QStringLiteral("LedColor")
                                  ? "请从列表中选择颜色（单色或双色）"
                                  : "请从列表中选择红绿数量（1 到 4）";
        QCOMPARE(m_f->notifier.messages, QStringList{QString::fromUtf8(message)});
        QVERIFY(m_f->port.written.isEmpty());
        return;
    }
    QVERIFY(m_f->notifier.messages.isEmpty());
    QCOMPARE(m_f->word(field == QStringLiteral("LedColor") ? 2 : 4), entry);
}

void BadInputTest::typingIntoThePortListChoosesNoOtherPort_data() {
    QTest::addColumn<QString>("text");
    for (const Case& c : texts()) {
        QTest::newRow(c.name) << c.text;
    }
    QTest::newRow("COM13") << QStringLiteral("COM13");
    QTest::newRow("com3 in small letters") << QStringLiteral("com3");
}

void BadInputTest::typingIntoThePortListChoosesNoOtherPort() {
    QFETCH(QString, text);
    QComboBox* list = m_f->c().Combo1;
    list->setFocus();
    list->setEditText(text);
    QTest::keyClick(list, Qt::Key_Return);
    const int expected = text == QStringLiteral("com3") ? 3 : 1;
    QCOMPARE(m_f->program->link().portNumber(), expected);
    QVERIFY(m_f->port.written.isEmpty());
    m_f->clickNext();
    QCOMPARE(m_f->port.openedDevices, QStringList{QStringLiteral("COM%1").arg(expected)});
}

QTEST_MAIN(BadInputTest)
#include "tst_bad_input.moc"
