#pragma once

#include <cstdint>

#include "Int16.h"

class FlexGrid;

// How the two pick grids are sized, labelled and marked.
//
// Both grids get one column per LED of the module width and one row per LED of its height,
// plus the header row and column, whose cells read "1", "2", ... Every column is 280 twips wide.
// Guide marks help the user count cells: in the row grid every cell of rows 1, 5, 9, ... is
// guide-coloured; in the column grid every cell of columns 1, 9, 17, ... and of rows 4, 8, 12, ...
// Every cell is painted by making it the current cell, so painting leaves the current cell at
// the last cell painted. Colours are in the grid encoding (0x00BBGGRR, 0x800000nn).
namespace GridLayout {

constexpr std::uint32_t kPlain = 0x80000005;   // the window background colour
constexpr std::uint32_t kGuide = 0xC0C0C0;     // light grey
constexpr std::uint32_t kPicked = 0x0000FF;    // red
constexpr std::uint32_t kRepeated = 0x008CFF;  // orange: a cell picked more than once in a pass

constexpr int kColumnWidthTwips = 280;

// Sizes, labels, widths and guide marks of both grids from the module width and height.
// Cells that are not guide cells keep their colour (a red pick of an earlier pass stays red).
// width + 1 or height + 1 beyond 32767 throws OverflowError; a size the grid refuses throws
// RangeError; what was laid out before a failure stays.
void layOut(FlexGrid& hangGrid, FlexGrid& lieGrid, Int16 width, Int16 height);
// Every data cell plain and without text, then the guide marks again, on the grid's current
// size.
void clearRowGrid(FlexGrid& hangGrid);
void clearColumnGrid(FlexGrid& lieGrid);

// The mark a cell of each grid has when it is not picked.
bool isRowGuide(int row);
bool isColumnGridGuide(int row, int col);

}  // namespace GridLayout
