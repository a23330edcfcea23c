#pragma once

#include <QList>
#include <QPoint>
#include <QString>

class FlexGrid;

// What a pick grid shows of the picks of the current pass: each picked cell is red and carries
// the number of its pick (1, 2, 3, ...); a cell picked more than once is orange and carries its
// numbers ("3,7"; with more than two, the first and the last joined by "…": "3…9"). A cell
// whose picks are all taken back gets its guide or plain colour again. Only colours and texts
// change: nothing here is stored or sent.
class PickMarks {
public:
    enum class Guides { Rows, Columns };  // the guide marks of the row grid or the column grid

    PickMarks(FlexGrid& grid, Guides guides) : m_grid(grid), m_guides(guides) {}

    // A new pass: no picks (the grid itself is cleared by its page).
    void clear() { m_cells.clear(); }
    // A pick on (row, col): makes it the current cell (column, then row) and marks it.
    void add(int row, int col);
    // Takes back the last pick, whose cell is (row, col): makes it the current cell (row, then
    // column) and repaints it by the picks of it that remain.
    void undo(int row, int col);
    int count() const { return static_cast<int>(m_cells.size()); }
    // The pick numbers (1-based) recorded for a cell in this pass.
    QList<int> picksOf(int row, int col) const;

private:
    void repaint(int row, int col);

    FlexGrid& m_grid;
    Guides m_guides;
    QList<QPoint> m_cells;  // x = column, y = row, in the order picked
};
