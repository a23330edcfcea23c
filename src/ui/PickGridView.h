#pragma once

#include <QTableView>

#include "PickGridModel.h"

// A pick grid on screen: one cell per LED, 280 twips wide and 240 twips high, with the numbered
// header row and column. A click on a cell, or Space or Return on the focused cell, picks it
// (cellPicked, with grid row and column from 1); a key held down picks once, not again with
// every repeat. A click at the edge never scrolls the grid under the mouse.
class PickGridView : public QTableView {
    Q_OBJECT
public:
    static constexpr int kCellWidthTwips = 280;
    static constexpr int kCellHeightTwips = 240;

    PickGridView(PickGrid grid, const PassPicks& picks, QWidget* parent = nullptr);

    PickGridModel& gridModel() { return m_model; }
    void setModuleSize(int width, int height);

Q_SIGNALS:
    void cellPicked(int row, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyCellSize();
    void updatePickFont();

    PickGridModel m_model;
};
