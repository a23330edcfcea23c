#include <QTemporaryDir>
#include <QtTest>

#include "WindowFixture.h"

// What the pick grids tell the user about the picks of the current pass: the pick numbers, the
// warning colour of a cell picked again, the repaint after Undo, the count in the button row,
// and the note after saving a map with repeated picks. None of it changes a byte on the wire
// or in the file.
class PickAidsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { m_f.reset(); }

    void picksShowTheirNumbersAndUndoRemovesThem_data();
    void picksShowTheirNumbersAndUndoRemovesThem();
    void aCellPickedAgainTurnsOrangeWithBothNumbers();
    void undoRepaintsByWhatIsStillRecorded();
    void threePicksOfOneCellShowFirstAndLast();
    void aNewPassStartsWithoutNumbers();
    void theCountShowsPicksMadeOnThePickPagesOnly();
    void savingRepeatedPicksGoesAheadAndNamesThem();
    void theAidsChangeNoByteOnTheWireOrInTheFile();

private:
    void toRowPage(const QString& scan = QStringLiteral("16")) {
        m_f->c().LedScan->setEditText(scan);
        m_f->goToPage(4);
    }
    FlexGrid* grid(bool columns) { return columns ? m_f->c().LieGrid : m_f->c().HangGrid; }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowFixture> m_f;
};

namespace {
constexpr std::uint32_t kPlain = 0x80000005;
constexpr std::uint32_t kGuide = 0xC0C0C0;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kOrange = 0x008CFF;
QString u(const char* s) {
    return QString::fromUtf8(s);
}
}  // namespace

void PickAidsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_f = std::make_unique<WindowFixture>();
}

void PickAidsTest::picksShowTheirNumbersAndUndoRemovesThem_data() {
    QTest::addColumn<bool>("columns");
    QTest::newRow("row grid") << false;
    QTest::newRow("column grid") << true;
}

void PickAidsTest::picksShowTheirNumbersAndUndoRemovesThem() {
    QFETCH(bool, columns);
    m_f->goToPage(columns ? 5 : 4);
    FlexGrid* g = grid(columns);
    m_f->pick(g, 2, 2);
    m_f->pick(g, 3, 3);
    m_f->pick(g, 6, 7);
    QCOMPARE(g->textMatrix(2, 2), u("1"));
    QCOMPARE(g->textMatrix(3, 3), u("2"));
    QCOMPARE(g->textMatrix(6, 7), u("3"));
    QCOMPARE(g->colorAt(6, 7), kRed);
    QCOMPARE(g->model()->data(g->model()->index(5, 6), Qt::DisplayRole).toString(), u("3"));
    m_f->c().Undo->click();
    QCOMPARE(g->textMatrix(6, 7), QString());
    QCOMPARE(g->colorAt(6, 7), kPlain);
    QCOMPARE(g->textMatrix(3, 3), u("2"));
}

void PickAidsTest::aCellPickedAgainTurnsOrangeWithBothNumbers() {
    toRowPage();
    m_f->pick(grid(false), 2, 5);
    m_f->pick(grid(false), 3, 5);
    m_f->pick(grid(false), 2, 5);
    QCOMPARE(grid(false)->colorAt(2, 5), kOrange);
    QCOMPARE(grid(false)->textMatrix(2, 5), u("1,3"));
    QCOMPARE(m_f->state().DataBufferP.value(), 3);  // still stored and counted
    QCOMPARE(m_f->word(10), 69);
}

void PickAidsTest::undoRepaintsByWhatIsStillRecorded() {
    m_f->goToPage(5);
    FlexGrid* g = grid(true);
    m_f->pick(g, 4, 9);  // a guide cell
    m_f->pick(g, 4, 9);
    QCOMPARE(g->colorAt(4, 9), kOrange);
    m_f->c().Undo->click();  // the first pick of the cell is still recorded
    QCOMPARE(g->colorAt(4, 9), kRed);
    QCOMPARE(g->textMatrix(4, 9), u("1"));
    m_f->c().Undo->click();
    QCOMPARE(g->colorAt(4, 9), kGuide);
    QCOMPARE(g->textMatrix(4, 9), QString());
}

void PickAidsTest::threePicksOfOneCellShowFirstAndLast() {
    toRowPage();
    for (int k = 0; k < 3; ++k) {
        m_f->pick(grid(false), 2, 2);
    }
    QCOMPARE(grid(false)->textMatrix(2, 2), u("1…3"));
    QCOMPARE(grid(false)->colorAt(2, 2), kOrange);
}

void PickAidsTest::aNewPassStartsWithoutNumbers() {
    toRowPage();
    m_f->pick(grid(false), 2, 2);
    m_f->clickNext();
    m_f->pick(grid(true), 3, 3);
    m_f->clickPre();  // the row page again: its picks start over
    QCOMPARE(grid(false)->textMatrix(2, 2), QString());
    QCOMPARE(grid(false)->colorAt(2, 2), kPlain);
    m_f->pick(grid(false), 2, 2);
    QCOMPARE(grid(false)->textMatrix(2, 2), u("1"));
    QCOMPARE(grid(false)->colorAt(2, 2), kRed);
}

void PickAidsTest::theCountShowsPicksMadeOnThePickPagesOnly() {
    QLabel* count = m_f->c().PickCount;
    QVERIFY(count->isHidden());
    m_f->goToPage(3);
    QVERIFY(count->isHidden());
    m_f->clickNext();
    QVERIFY(!count->isHidden());
    QCOMPARE(count->text(), u("0/16"));
    m_f->pick(grid(false), 1, 1);
    m_f->pick(grid(false), 2, 1);
    QCOMPARE(count->text(), u("2/16"));
    m_f->c().Undo->click();
    QCOMPARE(count->text(), u("1/16"));
    m_f->clickNext();
    QCOMPARE(count->text(), u("0列"));
    m_f->pick(grid(true), 1, 1);
    QCOMPARE(count->text(), u("1列"));
    // The count sits in the gap of the button row, over no grid and no other control.
    for (QWidget* w :
         {static_cast<QWidget*>(m_f->c().Complete), static_cast<QWidget*>(m_f->c().Open),
          static_cast<QWidget*>(m_f->c().LieFrame)}) {
        QVERIFY2(!count->geometry().intersects(w->geometry()), qPrintable(w->objectName()));
    }
    m_f->c().DownLoad->setEnabled(true);
    m_f->c().DownLoad->click();
    QVERIFY(count->isHidden());
}

void PickAidsTest::savingRepeatedPicksGoesAheadAndNamesThem() {
    toRowPage(QStringLiteral("4"));
    for (const auto& [r, c] :
         {std::pair{1, 1}, std::pair{2, 2}, std::pair{1, 1}, std::pair{3, 3}}) {
        m_f->pick(grid(false), r, c);
    }
    m_f->pick(grid(true), 1, 9);
    m_f->pick(grid(true), 1, 17);
    m_f->pick(grid(true), 1, 9);
    const QString file = m_dir->filePath(QStringLiteral("m.bin"));
    m_f->dialogs.answers = {file};
    m_f->c().Complete->click();
    QVERIFY(QFile::exists(file));
    QVERIFY(m_f->c().DownLoad->isEnabled());
    QCOMPARE(m_f->notifier.messages, QStringList{u("地图已保存，但有重复的选择：\n"
                                                   "行选择 3 与行选择 1 相同（第 1 行第 1 列）\n"
                                                   "列选择 3 与列选择 1 相同（第 1 行第 9 列）\n"
                                                   "如果选错了，请回到那一步重选后再保存。")});
}

void PickAidsTest::theAidsChangeNoByteOnTheWireOrInTheFile() {
    toRowPage(QStringLiteral("2"));
    m_f->port.written.clear();
    m_f->pick(grid(false), 2, 3);
    m_f->pick(grid(false), 2, 3);  // a repeat: warning colour, same bytes
    m_f->pick(grid(true), 1, 1);
    m_f->pick(grid(true), 1, 1);
    m_f->c().Undo->click();
    QCOMPARE(
        m_f->port.written,
        (QList<QByteArray>{hex("5AA50DFFFF6005000401000000"), hex("5AA50DFFFF6006000402000000"),
                           hex("5AA50DFFFF6003000300000000"), hex("5AA50DFFFF600B000308000000"),
                           hex("5AA50DFFFF6013000310000000"), hex("5AA50DFFFF600B000308000000")}));
    const QString file = m_dir->filePath(QStringLiteral("m.bin"));
    m_f->dialogs.answers = {file};
    m_f->c().Complete->click();
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), hex("40002000000002000100000000000800"  // header, pixel 1: marker 0
                                  "01020102")                         // two row entries
                                  + QByteArray(28, '\0')              // bytes 20..47
                                  + hex("0000")                       // one column entry
                                  + QByteArray(2048 - 50, '\0'));
}

QTEST_MAIN(PickAidsTest)
#include "tst_pick_aids.moc"
