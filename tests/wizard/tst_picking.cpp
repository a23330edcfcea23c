#include <QtTest>

#include "WindowFixture.h"

// Row and column picks and their undo on the real window with a recording port.
class PickingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_f = std::make_unique<WindowFixture>(); }
    void cleanup() { m_f.reset(); }

    void firstRowPickStoresCountsPaintsAndSends();
    void pickValueCountsPixelsRowByRow_data();
    void pickValueCountsPixelsRowByRow();
    void lastRowPickMovesToTheColumnPageInTheSameClick_data();
    void lastRowPickMovesToTheColumnPageInTheSameClick();
    void sameCellTwiceIsRecordedTwice();
    void rowPickWhilePortFailsIsKeptSilentlyWithoutAdvance();
    void pixelNumberAbove32767ChangesNothing();
    void columnPicksStoreEveryEighthWord_data();
    void columnPicksStoreEveryEighthWord();
    void pick129OnColumnsChangesNothing();
    void columnPickWhilePortFailsIsKeptSilently();
    void buttonClickQueuedDuringRowPickEndsThePick_data();
    void buttonClickQueuedDuringRowPickEndsThePick();
    void twoQuickRowPicksStoreInClickOrder();
    void queuedPickAfterTheLastRowIsDropped();

    void undoOutsideThePickPagesChangesNothing_data();
    void undoOutsideThePickPagesChangesNothing();
    void undoWithoutPicksChangesNothing_data();
    void undoWithoutPicksChangesNothing();
    void undoOfARowPickRepaintsAndSendsTheRestoredCount_data();
    void undoOfARowPickRepaintsAndSendsTheRestoredCount();
    void undoOfAColumnPickRepaintsByItsGuides_data();
    void undoOfAColumnPickRepaintsByItsGuides();
    void undoCarriesCountsAbove255InTwoBytes();
    void undoingEveryPickReturnsToZeroAndStops();
    void undoWithWidthZeroDoesNothing();
    void undoWhilePortFailsStaysDoneAndIsReported();

private:
    FlexGrid* hang() { return m_f->c().HangGrid; }
    FlexGrid* lie() { return m_f->c().LieGrid; }
    void toRowPage(const QString& scan = QStringLiteral("16"),
                   const QString& width = QStringLiteral("64"),
                   const QString& height = QStringLiteral("32")) {
        m_f->c().LedScan->setEditText(scan);
        m_f->goToPage(4, width, height);
        m_f->port.written.clear();
    }
    void toColumnPage() {
        m_f->goToPage(5);
        m_f->port.written.clear();
    }

    std::unique_ptr<WindowFixture> m_f;
};

namespace {
constexpr std::uint32_t kPlain = 0x80000005;
constexpr std::uint32_t kGuide = 0xC0C0C0;
constexpr std::uint32_t kRed = 0x0000FF;
}  // namespace

void PickingTest::firstRowPickStoresCountsPaintsAndSends() {
    toRowPage();
    m_f->pick(hang(), 1, 1);
    QCOMPARE(m_f->word(8), 1);
    QCOMPARE(m_f->state().DataBufferP.value(), 1);
    QCOMPARE(m_f->port.written, QList<QByteArray>{hex("5AA50DFFFF6005000401000000")});
    QCOMPARE(hang()->colorAt(1, 1), kRed);
    QCOMPARE(hang()->row(), 1);
    QCOMPARE(hang()->col(), 1);
}

void PickingTest::pickValueCountsPixelsRowByRow_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("value");
    QTest::newRow("row 3, column 5 of 64") << "64" << 3 << 5 << 133;
    QTest::newRow("last LED of 64 x 32") << "64" << 32 << 64 << 2048;
    QTest::newRow("last LED of 255 x 128") << "255" << 128 << 255 << 32640;
}

void PickingTest::pickValueCountsPixelsRowByRow() {
    QFETCH(QString, width);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, value);
    toRowPage(QStringLiteral("16"), width, QStringLiteral("128"));
    m_f->pick(hang(), row, col);
    QCOMPARE(m_f->word(8), value);
}

void PickingTest::lastRowPickMovesToTheColumnPageInTheSameClick_data() {
    QTest::addColumn<QString>("scan");
    QTest::addColumn<int>("picks");
    QTest::addColumn<QByteArray>("lastHangTest");
    QTest::newRow("scan 16") << "16" << 16 << hex("5AA50DFFFF6014000410000000");
    QTest::newRow("scan 1") << "1" << 1 << hex("5AA50DFFFF6005000401000000");
}

void PickingTest::lastRowPickMovesToTheColumnPageInTheSameClick() {
    QFETCH(QString, scan);
    QFETCH(int, picks);
    QFETCH(QByteArray, lastHangTest);
    toRowPage(scan);
    for (int k = 0; k < picks - 1; ++k) {
        m_f->pick(hang(), k + 1, 2);
        QCOMPARE(m_f->state().StepNum.value(), 4);
    }
    m_f->port.written.clear();
    m_f->pick(hang(), picks, 3);
    QCOMPARE(m_f->word(8 + picks - 1), (picks - 1) * 64 + 3);
    QCOMPARE(m_f->port.written,
             (QList<QByteArray>{lastHangTest, hex("5AA50DFFFF6003000300000000")}));
    QCOMPARE(m_f->state().StepNum.value(), 5);
    QCOMPARE(m_f->front(), QStringLiteral("LieFrame"));
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
}

void PickingTest::sameCellTwiceIsRecordedTwice() {
    toRowPage();
    m_f->pick(hang(), 2, 7);
    m_f->pick(hang(), 2, 7);
    QCOMPARE(m_f->word(8), 71);
    QCOMPARE(m_f->word(9), 71);
    QCOMPARE(m_f->state().DataBufferP.value(), 2);
    QCOMPARE(hang()->colorAt(2, 7), 0x008CFFu);  // orange: picked twice in this pass
    QCOMPARE(hang()->textMatrix(2, 7), QStringLiteral("1,2"));
}

void PickingTest::rowPickWhilePortFailsIsKeptSilentlyWithoutAdvance() {
    toRowPage(QStringLiteral("1"));
    m_f->port.close();
    m_f->port.failOpen = true;
    m_f->pick(hang(), 1, 4);
    QCOMPARE(m_f->word(8), 4);
    QCOMPARE(m_f->state().DataBufferP.value(), 1);
    QCOMPARE(hang()->colorAt(1, 4), kRed);
    QVERIFY(m_f->notifier.messages.isEmpty());
    QCOMPARE(m_f->state().StepNum.value(), 4);
    QVERIFY(m_f->port.written.isEmpty());
}

void PickingTest::pixelNumberAbove32767ChangesNothing() {
    toRowPage(QStringLiteral("16"), QStringLiteral("255"), QStringLiteral("255"));
    m_f->pick(hang(), 130, 1);  // 129 x 255 + 1 = 32896
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
    QCOMPARE(m_f->word(8), 0);
    QVERIFY(hang()->colorAt(130, 1) != kRed);
    QVERIFY(m_f->port.written.isEmpty());

    m_f->clickNext();
    m_f->port.written.clear();
    m_f->pick(lie(), 255, 255);
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
    QCOMPARE(m_f->word(24), 0);
    QVERIFY(lie()->colorAt(255, 255) != kRed);
    QVERIFY(m_f->port.written.isEmpty());
}

void PickingTest::columnPicksStoreEveryEighthWord_data() {
    QTest::addColumn<int>("picks");
    QTest::addColumn<int>("lastWord");
    QTest::addColumn<int>("counter");
    QTest::addColumn<QByteArray>("lastPacket");
    QTest::newRow("first") << 1 << 24 << 8 << hex("5AA50DFFFF600B000308000000");
    QTest::newRow("17th") << 17 << 152 << 136 << hex("5AA50DFFFF608B000388000000");
    QTest::newRow("128th") << 128 << 1040 << 1024 << hex("5AA50DFFFF6007000300040000");
}

void PickingTest::columnPicksStoreEveryEighthWord() {
    QFETCH(int, picks);
    QFETCH(int, lastWord);
    QFETCH(int, counter);
    QFETCH(QByteArray, lastPacket);
    toColumnPage();
    for (int k = 0; k < picks; ++k) {
        m_f->pick(lie(), k % 32 + 1, k % 64 + 1);
    }
    const int k = picks - 1;
    QCOMPARE(m_f->word(lastWord), (k % 32) * 64 + k % 64 + 1);
    QCOMPARE(m_f->state().DataBufferP.value(), counter);
    QCOMPARE(m_f->port.written.size(), picks);
    QCOMPARE(m_f->port.written.last(), lastPacket);
    QCOMPARE(m_f->word(lastWord + 1), 0);  // the words between column picks stay unwritten
}

void PickingTest::pick129OnColumnsChangesNothing() {
    toColumnPage();
    for (int k = 0; k < 128; ++k) {
        m_f->pick(lie(), 1, 1);
    }
    m_f->port.written.clear();
    m_f->pick(lie(), 5, 6);
    QCOMPARE(m_f->state().DataBufferP.value(), 1024);
    QCOMPARE(lie()->colorAt(5, 6), kPlain);
    QVERIFY(m_f->port.written.isEmpty());
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void PickingTest::columnPickWhilePortFailsIsKeptSilently() {
    toColumnPage();
    m_f->port.failWrite = true;
    m_f->pick(lie(), 1, 9);
    QCOMPARE(m_f->word(24), 9);
    QCOMPARE(m_f->state().DataBufferP.value(), 8);
    QCOMPARE(lie()->colorAt(1, 9), kRed);
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void PickingTest::buttonClickQueuedDuringRowPickEndsThePick_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("page");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::newRow("Pre") << "Pre" << 3 << QList<QByteArray>{};
    QTest::newRow("NextB") << "NextB" << 5 << QList<QByteArray>{hex("5AA50DFFFF6003000300000000")};
}

void PickingTest::buttonClickQueuedDuringRowPickEndsThePick() {
    QFETCH(QString, button);
    QFETCH(int, page);
    QFETCH(QList<QByteArray>, sent);
    toRowPage();
    m_f->pick(hang(), 1, 1);
    m_f->port.written.clear();
    auto* target = m_f->window().findChild<QPushButton*>(button);
    QMetaObject::invokeMethod(target, &QPushButton::click, Qt::QueuedConnection);
    m_f->pick(hang(), 2, 2);
    QCOMPARE(m_f->state().StepNum.value(), page);
    QCOMPARE(m_f->word(9), 0);
    QCOMPARE(m_f->port.written, sent);
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void PickingTest::twoQuickRowPicksStoreInClickOrder() {
    toRowPage();
    QMetaObject::invokeMethod(
        this, [this] { m_f->pick(hang(), 2, 1); }, Qt::QueuedConnection);
    m_f->pick(hang(), 1, 1);
    QCOMPARE(m_f->word(8), 1);
    QCOMPARE(m_f->word(9), 65);
    QCOMPARE(m_f->state().DataBufferP.value(), 2);
    QCOMPARE(m_f->port.written, (QList<QByteArray>{hex("5AA50DFFFF6005000401000000"),
                                                   hex("5AA50DFFFF6006000402000000")}));
}

void PickingTest::queuedPickAfterTheLastRowIsDropped() {
    toRowPage(QStringLiteral("1"));
    QMetaObject::invokeMethod(
        this, [this] { m_f->pick(hang(), 2, 1); }, Qt::QueuedConnection);
    m_f->pick(hang(), 1, 1);
    QCOMPARE(m_f->state().StepNum.value(), 5);
    QCOMPARE(m_f->word(8), 1);
    QCOMPARE(m_f->word(9), 0);
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
    QCOMPARE(m_f->port.written, (QList<QByteArray>{hex("5AA50DFFFF6005000401000000"),
                                                   hex("5AA50DFFFF6003000300000000")}));
}

void PickingTest::undoOutsideThePickPagesChangesNothing_data() {
    QTest::addColumn<int>("page");
    QTest::newRow("parameters") << 1;
    QTest::newRow("OE polarity") << 2;
    QTest::newRow("display polarity") << 3;
}

void PickingTest::undoOutsideThePickPagesChangesNothing() {
    QFETCH(int, page);
    m_f->goToPage(page);
    m_f->state().DataBufferP = 5;
    m_f->port.written.clear();
    m_f->c().Undo->click();
    QCOMPARE(m_f->state().DataBufferP.value(), 5);
    QVERIFY(m_f->port.written.isEmpty());
}

void PickingTest::undoWithoutPicksChangesNothing_data() {
    QTest::addColumn<int>("page");
    QTest::newRow("rows") << 4;
    QTest::newRow("columns") << 5;
}

void PickingTest::undoWithoutPicksChangesNothing() {
    QFETCH(int, page);
    m_f->goToPage(page);
    m_f->port.written.clear();
    m_f->c().Undo->click();
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
    QVERIFY(m_f->port.written.isEmpty());
}

void PickingTest::undoOfARowPickRepaintsAndSendsTheRestoredCount_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<std::uint32_t>("color");
    QTest::newRow("guide row 5") << 5 << 3 << kGuide;
    QTest::newRow("row 2") << 2 << 3 << kPlain;
}

void PickingTest::undoOfARowPickRepaintsAndSendsTheRestoredCount() {
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(std::uint32_t, color);
    toRowPage();
    m_f->pick(hang(), 1, 1);
    m_f->pick(hang(), 3, 3);
    m_f->pick(hang(), row, col);
    m_f->port.written.clear();
    m_f->c().Undo->click();
    QCOMPARE(m_f->state().DataBufferP.value(), 2);
    QCOMPARE(hang()->colorAt(row, col), color);
    QCOMPARE(hang()->colorAt(3, 3), kRed);
    QCOMPARE(m_f->port.written, QList<QByteArray>{hex("5AA50DFFFF6006000402000000")});
    QCOMPARE(m_f->word(10), (row - 1) * 64 + col);  // kept until the next pick replaces it
    m_f->pick(hang(), 4, 4);
    QCOMPARE(m_f->word(10), 196);
}

void PickingTest::undoOfAColumnPickRepaintsByItsGuides_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<std::uint32_t>("color");
    QTest::newRow("guide row and column") << 4 << 9 << kGuide;
    QTest::newRow("guide row") << 4 << 2 << kGuide;
    QTest::newRow("guide column") << 3 << 9 << kGuide;
    QTest::newRow("neither") << 3 << 2 << kPlain;
}

void PickingTest::undoOfAColumnPickRepaintsByItsGuides() {
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(std::uint32_t, color);
    toColumnPage();
    m_f->pick(lie(), 1, 1);
    m_f->pick(lie(), row, col);
    m_f->port.written.clear();
    m_f->c().Undo->click();
    QCOMPARE(m_f->state().DataBufferP.value(), 8);
    QCOMPARE(lie()->colorAt(row, col), color);
    QCOMPARE(m_f->port.written, QList<QByteArray>{hex("5AA50DFFFF600B000308000000")});
}

void PickingTest::undoCarriesCountsAbove255InTwoBytes() {
    toColumnPage();
    for (int k = 0; k < 18; ++k) {
        m_f->pick(lie(), 2, k + 2);
    }
    QCOMPARE(m_f->state().DataBufferP.value(), 144);
    m_f->port.written.clear();
    m_f->c().Undo->click();
    QCOMPARE(m_f->port.written, QList<QByteArray>{hex("5AA50DFFFF608B000388000000")});
}

void PickingTest::undoingEveryPickReturnsToZeroAndStops() {
    toRowPage();
    for (int k = 1; k <= 3; ++k) {
        m_f->pick(hang(), k + 1, k);
    }
    for (int k = 0; k < 5; ++k) {
        m_f->c().Undo->click();
    }
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
    QCOMPARE(m_f->port.written.size(), 6);  // three picks, three undos
    QCOMPARE(hang()->colorAt(2, 1), kPlain);
    QCOMPARE(hang()->colorAt(3, 2), kPlain);
    QCOMPARE(hang()->colorAt(4, 3), kPlain);
}

void PickingTest::undoWithWidthZeroDoesNothing() {
    toRowPage();
    m_f->pick(hang(), 1, 1);
    m_f->state().dataBuffer.set(0, 0);
    m_f->port.written.clear();
    m_f->c().Undo->click();
    QCOMPARE(m_f->state().DataBufferP.value(), 1);
    QVERIFY(m_f->port.written.isEmpty());
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void PickingTest::undoWhilePortFailsStaysDoneAndIsReported() {
    toRowPage();
    m_f->pick(hang(), 2, 2);
    m_f->port.failWrite = true;
    m_f->c().Undo->click();
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
    QCOMPARE(hang()->colorAt(2, 2), kPlain);
    QCOMPARE(m_f->notifier.messages, QStringList{QString::fromUtf8("串口被占用")});
}

QTEST_MAIN(PickingTest)
#include "tst_picking.moc"
