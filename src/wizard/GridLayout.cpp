#include "GridLayout.h"

#include <QString>

#include "FlexGrid.h"

namespace {

void paint(FlexGrid& grid, std::uint32_t color) {
    grid.setCellBackColor(color);
}

void size(FlexGrid& grid, Int16 width, Int16 height) {
    grid.setCols((width + 1).value());
    grid.setRows((height + 1).value());
}

void label(FlexGrid& grid) {
    for (int r = grid.fixedRows(); r <= grid.rows() - 1; ++r) {
        grid.setTextMatrix(r, 0, QString::number(r));
    }
    for (int c = grid.fixedCols(); c <= grid.cols() - 1; ++c) {
        grid.setTextMatrix(0, c, QString::number(c));
    }
}

void setWidths(FlexGrid& grid) {
    for (int c = 0; c <= grid.cols() - 1; ++c) {
        grid.setColWidth(c, GridLayout::kColumnWidthTwips);
    }
}

// Paints every data cell of rows first, first + step, ... row by row.
void paintRows(FlexGrid& grid, int first, int step, std::uint32_t color) {
    for (int r = first; r <= grid.rows() - 1; r += step) {
        grid.setRow(r);
        for (int c = 1; c <= grid.cols() - 1; ++c) {
            grid.setCol(c);
            paint(grid, color);
        }
    }
}

// Paints every data cell of columns first, first + step, ... column by column.
void paintColumns(FlexGrid& grid, int first, int step, std::uint32_t color) {
    for (int c = first; c <= grid.cols() - 1; c += step) {
        grid.setCol(c);
        for (int r = 1; r <= grid.rows() - 1; ++r) {
            grid.setRow(r);
            paint(grid, color);
        }
    }
}

void paintRowGuides(FlexGrid& hangGrid) {
    paintRows(hangGrid, 1, 4, GridLayout::kGuide);
}

void paintColumnGridGuides(FlexGrid& lieGrid) {
    paintColumns(lieGrid, 1, 8, GridLayout::kGuide);
    paintRows(lieGrid, 4, 4, GridLayout::kGuide);
}

}  // namespace

void GridLayout::layOut(FlexGrid& hangGrid, FlexGrid& lieGrid, Int16 width, Int16 height) {
    size(hangGrid, width, height);
    label(hangGrid);
    setWidths(hangGrid);
    size(lieGrid, width, height);
    label(lieGrid);
    paintColumnGridGuides(lieGrid);
    paintRowGuides(hangGrid);
    setWidths(lieGrid);
}

void GridLayout::clearRowGrid(FlexGrid& hangGrid) {
    hangGrid.clearDataTexts();
    paintRows(hangGrid, 1, 1, kPlain);
    paintRowGuides(hangGrid);
}

void GridLayout::clearColumnGrid(FlexGrid& lieGrid) {
    lieGrid.clearDataTexts();
    paintColumns(lieGrid, 1, 1, kPlain);
    paintColumnGridGuides(lieGrid);
}

bool GridLayout::isRowGuide(int row) {
    return row % 4 == 1;
}

bool GridLayout::isColumnGridGuide(int row, int col) {
    return row % 4 == 0 || col % 8 == 1;
}
