#include "session/PassPicks.h"

QList<int> PassPicks::picksAt(int row, int col) const {
    QList<int> numbers;
    for (int i = 0; i < m_cells.size(); ++i) {
        if (m_cells[i] == QPoint(col, row)) {
            numbers.append(i + 1);
        }
    }
    return numbers;
}
