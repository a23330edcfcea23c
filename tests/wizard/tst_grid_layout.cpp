#include <QHeaderView>
#include <QSignalSpy>
#include <QtTest>

#include "Errors.h"
#include "FlexGrid.h"
#include "GridLayout.h"

// Sizes, labels, widths and guide marks of the two pick grids, and the grid control itself.
class GridLayoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_hangGrid = std::make_unique<FlexGrid>();
        m_lieGrid = std::make_unique<FlexGrid>();
    }
    void bothGridsGetOneCellPerLedPlusHeaders();
    void headersReadTheirNumbers();
    void everyColumnIs280TwipsWide();
    void guideMarksFollowTheirRows_data();
    void guideMarksFollowTheirRows();
    void clearingPaintsPicksPlainAndGuidesAgain();
    void layingOutAgainLeavesPicksRed();
    void paintingLeavesTheCurrentCellOnTheLastPainted();
    void sizesBeyond16BitsOrRefusedByTheGridFail();
    void clickOnDataCellMakesItCurrentAndPicks();
    void clickOnAHeaderIsNotAPick();
    void keyboardSpacePicksTheFocusedCell();

private:
    std::unique_ptr<FlexGrid> m_hangGrid;
    std::unique_ptr<FlexGrid> m_lieGrid;
};

namespace {
constexpr std::uint32_t kPlain = 0x80000005;
constexpr std::uint32_t kGuide = 0xC0C0C0;
constexpr std::uint32_t kRed = 0x0000FF;

QList<int> guideRowsOf(const FlexGrid& grid, int col) {
    QList<int> rows;
    for (int r = 1; r < grid.rows(); ++r) {
        if (grid.colorAt(r, col) == kGuide) {
            rows << r;
        }
    }
    return rows;
}

QList<int> fullyGuideColumnsOf(const FlexGrid& grid) {
    QList<int> cols;
    for (int c = 1; c < grid.cols(); ++c) {
        bool all = true;
        for (int r = 1; r < grid.rows(); ++r) {
            all = all && grid.colorAt(r, c) == kGuide;
        }
        if (all) {
            cols << c;
        }
    }
    return cols;
}
}  // namespace

void GridLayoutTest::bothGridsGetOneCellPerLedPlusHeaders() {
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, 32, 16);
    for (FlexGrid* g : {m_hangGrid.get(), m_lieGrid.get()}) {
        QCOMPARE(g->cols(), 33);
        QCOMPARE(g->rows(), 17);
        QCOMPARE(g->model()->columnCount(), 32);
        QCOMPARE(g->model()->rowCount(), 16);
    }
}

void GridLayoutTest::headersReadTheirNumbers() {
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, 32, 16);
    for (FlexGrid* g : {m_hangGrid.get(), m_lieGrid.get()}) {
        QCOMPARE(g->textMatrix(1, 0), QStringLiteral("1"));
        QCOMPARE(g->textMatrix(16, 0), QStringLiteral("16"));
        QCOMPARE(g->textMatrix(0, 1), QStringLiteral("1"));
        QCOMPARE(g->textMatrix(0, 32), QStringLiteral("32"));
        QCOMPARE(g->textMatrix(0, 0), QString());
        QCOMPARE(g->model()->headerData(15, Qt::Vertical).toString(), QStringLiteral("16"));
        QCOMPARE(g->model()->headerData(31, Qt::Horizontal).toString(), QStringLiteral("32"));
    }
}

void GridLayoutTest::everyColumnIs280TwipsWide() {
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, 40, 3);
    for (FlexGrid* g : {m_hangGrid.get(), m_lieGrid.get()}) {
        const int px = qRound(280 * g->logicalDpiX() / 1440.0);
        for (int c = 0; c < g->cols(); ++c) {
            QCOMPARE(g->colWidth(c), 280);
        }
        QCOMPARE(g->columnWidth(39), px);
        QCOMPARE(g->verticalHeader()->width(), px);
    }
}

void GridLayoutTest::guideMarksFollowTheirRows_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("hangGuideRows");
    QTest::addColumn<QList<int>>("lieGuideColumns");
    QTest::addColumn<QList<int>>("lieGuideRows");
    QTest::newRow("32 x 16") << 32 << 16 << QList<int>{1, 5, 9, 13} << QList<int>{1, 9, 17, 25}
                             << QList<int>{4, 8, 12, 16};
    QTest::newRow("height 3") << 16 << 3 << QList<int>{1} << QList<int>{1, 9} << QList<int>{};
    QTest::newRow("width 8") << 8 << 4 << QList<int>{1} << QList<int>{1} << QList<int>{4};
    QTest::newRow("width 9") << 9 << 5 << QList<int>{1, 5} << QList<int>{1, 9} << QList<int>{4};
    QTest::newRow("one LED") << 1 << 1 << QList<int>{1} << QList<int>{1} << QList<int>{};
}

void GridLayoutTest::guideMarksFollowTheirRows() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QList<int>, hangGuideRows);
    QFETCH(QList<int>, lieGuideColumns);
    QFETCH(QList<int>, lieGuideRows);
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, width, height);

    // In the row grid a column that is not a guide column of the other grid shows the rows.
    QCOMPARE(guideRowsOf(*m_hangGrid, width), hangGuideRows);
    QCOMPARE(fullyGuideColumnsOf(*m_lieGrid), lieGuideColumns);
    if (width >= 2) {
        QCOMPARE(guideRowsOf(*m_lieGrid, 2), lieGuideRows);
    }
    for (int r = 1; r < m_hangGrid->rows(); ++r) {
        for (int c = 1; c < m_hangGrid->cols(); ++c) {
            const bool rowGuide = hangGuideRows.contains(r);
            QCOMPARE(m_hangGrid->colorAt(r, c), rowGuide ? kGuide : kPlain);
            const bool lieGuide = lieGuideColumns.contains(c) || lieGuideRows.contains(r);
            QCOMPARE(m_lieGrid->colorAt(r, c), lieGuide ? kGuide : kPlain);
        }
    }
}

void GridLayoutTest::clearingPaintsPicksPlainAndGuidesAgain() {
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, 32, 16);
    for (FlexGrid* g : {m_hangGrid.get(), m_lieGrid.get()}) {
        for (auto [r, c] : {std::pair{2, 3}, std::pair{5, 7}, std::pair{4, 9}}) {
            g->setRow(r);
            g->setCol(c);
            g->setCellBackColor(kRed);
        }
    }
    GridLayout::clearRowGrid(*m_hangGrid);
    QCOMPARE(m_hangGrid->colorAt(2, 3), kPlain);
    QCOMPARE(m_hangGrid->colorAt(5, 7), kGuide);
    QCOMPARE(m_lieGrid->colorAt(2, 3), kRed);  // the other grid is not touched
    GridLayout::clearColumnGrid(*m_lieGrid);
    QCOMPARE(m_lieGrid->colorAt(2, 3), kPlain);
    QCOMPARE(m_lieGrid->colorAt(5, 7), kPlain);
    QCOMPARE(m_lieGrid->colorAt(4, 9), kGuide);
}

void GridLayoutTest::layingOutAgainLeavesPicksRed() {
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, 32, 16);
    m_hangGrid->setRow(2);
    m_hangGrid->setCol(3);
    m_hangGrid->setCellBackColor(kRed);
    m_lieGrid->setRow(3);
    m_lieGrid->setCol(2);
    m_lieGrid->setCellBackColor(kRed);
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, 32, 16);
    QCOMPARE(m_hangGrid->colorAt(2, 3), kRed);
    QCOMPARE(m_lieGrid->colorAt(3, 2), kRed);
}

void GridLayoutTest::paintingLeavesTheCurrentCellOnTheLastPainted() {
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, 32, 16);
    // Last painted: row grid, last cell of guide row 13; column grid, last cell of row 16.
    QCOMPARE(m_hangGrid->row(), 13);
    QCOMPARE(m_hangGrid->col(), 32);
    QCOMPARE(m_lieGrid->row(), 16);
    QCOMPARE(m_lieGrid->col(), 32);
    GridLayout::clearColumnGrid(*m_lieGrid);
    QCOMPARE(m_lieGrid->row(), 16);
}

void GridLayoutTest::sizesBeyond16BitsOrRefusedByTheGridFail() {
    QVERIFY_THROWS_EXCEPTION(OverflowError, GridLayout::layOut(*m_hangGrid, *m_lieGrid, 32767, 4));
    QCOMPARE(m_hangGrid->cols(), 2);  // nothing laid out
    QVERIFY_THROWS_EXCEPTION(RangeError, GridLayout::layOut(*m_hangGrid, *m_lieGrid, -5, 4));
    QVERIFY_THROWS_EXCEPTION(RangeError, m_hangGrid->setRow(m_hangGrid->rows()));
    QVERIFY_THROWS_EXCEPTION(RangeError, m_hangGrid->setCol(-1));
}

void GridLayoutTest::clickOnDataCellMakesItCurrentAndPicks() {
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, 8, 4);
    m_hangGrid->resize(400, 200);
    m_hangGrid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_hangGrid.get()));
    QSignalSpy picks(m_hangGrid.get(), &FlexGrid::dataCellClicked);
    const QRect cell =
        m_hangGrid->visualRect(m_hangGrid->model()->index(2, 4));  // grid row 3, col 5
    QTest::mouseClick(m_hangGrid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(picks.count(), 1);
    QCOMPARE(m_hangGrid->row(), 3);
    QCOMPARE(m_hangGrid->col(), 5);
}

void GridLayoutTest::clickOnAHeaderIsNotAPick() {
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, 8, 4);
    m_hangGrid->resize(400, 200);
    m_hangGrid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_hangGrid.get()));
    QSignalSpy picks(m_hangGrid.get(), &FlexGrid::dataCellClicked);
    QTest::mouseClick(m_hangGrid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(m_hangGrid->verticalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(picks.count(), 0);
}

void GridLayoutTest::keyboardSpacePicksTheFocusedCell() {
    GridLayout::layOut(*m_hangGrid, *m_lieGrid, 8, 4);
    m_hangGrid->setCurrentIndex(m_hangGrid->model()->index(1, 6));
    QSignalSpy picks(m_hangGrid.get(), &FlexGrid::dataCellClicked);
    QTest::keyClick(m_hangGrid.get(), Qt::Key_Space);
    QCOMPARE(picks.count(), 1);
    QCOMPARE(m_hangGrid->row(), 2);
    QCOMPARE(m_hangGrid->col(), 7);
}

QTEST_MAIN(GridLayoutTest)
#include "tst_grid_layout.moc"
