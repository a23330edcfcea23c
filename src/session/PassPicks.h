#pragma once

#include <QList>
#include <QPoint>

// The picks of one pass through a pick page, in the order made: the grid cell of each, with
// grid rows and columns counted from 1. A pass begins empty each time its page is shown.
class PassPicks {
public:
    int count() const { return static_cast<int>(m_cells.size()); }
    // The cell of the last pick: x the column, y the row. The pass must not be empty.
    QPoint last() const { return m_cells.last(); }
    void add(int row, int col) { m_cells.append(QPoint(col, row)); }
    void removeLast() { m_cells.removeLast(); }
    void clear() { m_cells.clear(); }
    // The numbers (from 1) of the picks made on the cell, in order.
    QList<int> picksAt(int row, int col) const;

private:
    QList<QPoint> m_cells;  // x = column, y = row
};
