#pragma once

#include <QTableView>
#include <array>

#include "ui/PickGridModel.h"

// A pick grid on screen: one cell per LED, 280 twips wide and 240 twips high at the zoom of
// 100 %, with the numbered header row and column as large as a cell. A click on a cell, or
// Space or Return on the focused cell, picks it (cellPicked, with grid row and column from 1);
// a key held down picks once, not again with every repeat. A click at the edge never scrolls
// the grid under the mouse. Ctrl and the mouse wheel ask for a zoom (zoomWheeled); zoomBy()
// draws the cells larger or smaller, the pick numbers and header numbers with them.
class PickGridView : public QTableView {
    Q_OBJECT
public:
    static constexpr int kCellWidthTwips = 280;
    static constexpr int kCellHeightTwips = 240;
    // The zoom steps, in percent of the cell size above; the grid starts at 100.
    static constexpr std::array<int, 7> kZoomPercents = {50, 75, 100, 125, 150, 200, 300};

    PickGridView(PickGrid grid, const PassPicks& picks, QWidget* parent = nullptr);

    PickGridModel& gridModel() { return m_model; }
    void setModuleSize(int width, int height);

    int zoomPercent() const { return kZoomPercents[m_zoomStep]; }
    // Moves steps up (positive) or down the zoom steps, stopping at either end, and scrolls so
    // that the cell under anchor (a point in the grid's own coordinates, headers included)
    // stays under it as far as the scroll range allows.
    void zoomBy(int steps, QPoint anchor);

Q_SIGNALS:
    void cellPicked(int row, int col);
    // Ctrl and the wheel turned by steps notches (up positive) with the mouse at `at`, a point
    // in the grid's own coordinates.
    void zoomWheeled(int steps, QPoint at);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QSize cellSize() const;
    void applyCellSize();
    void updateFonts();

    PickGridModel m_model;
    std::size_t m_zoomStep = 2;
    int m_wheelAngle = 0;  // the part of a notch a fine-grained wheel has turned so far
};
