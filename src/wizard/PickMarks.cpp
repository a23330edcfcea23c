#include "PickMarks.h"

#include "FlexGrid.h"
#include "GridLayout.h"

namespace {

QString numbersText(const QList<int>& numbers) {
    if (numbers.size() <= 2) {
        QStringList parts;
        for (int n : numbers) {
            parts << QString::number(n);
        }
        return parts.join(QLatin1Char(','));
    }
    return QString::number(numbers.first()) + QChar(0x2026) + QString::number(numbers.last());
}

}  // namespace

QList<int> PickMarks::picksOf(int row, int col) const {
    QList<int> numbers;
    for (int i = 0; i < m_cells.size(); ++i) {
        if (m_cells[i] == QPoint(col, row)) {
            numbers << i + 1;
        }
    }
    return numbers;
}

void PickMarks::add(int row, int col) {
    m_cells.append(QPoint(col, row));
    m_grid.setCol(col);
    m_grid.setRow(row);
    repaint(row, col);
}

void PickMarks::undo(int row, int col) {
    if (!m_cells.isEmpty()) {
        m_cells.removeLast();
    }
    m_grid.setRow(row);
    m_grid.setCol(col);
    repaint(row, col);
}

void PickMarks::repaint(int row, int col) {
    const QList<int> numbers = picksOf(row, col);
    std::uint32_t color = GridLayout::kPicked;
    if (numbers.isEmpty()) {
        const bool guide = m_guides == Guides::Rows ? GridLayout::isRowGuide(row)
                                                    : GridLayout::isColumnGridGuide(row, col);
        color = guide ? GridLayout::kGuide : GridLayout::kPlain;
    } else if (numbers.size() > 1) {
        color = GridLayout::kRepeated;
    }
    m_grid.setCellBackColor(color);
    if (row > 0 && col > 0) {
        m_grid.setTextMatrix(row, col, numbersText(numbers));
    }
}
