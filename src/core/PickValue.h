#pragma once

#include "core/Int16.h"

// A pick is stored as the number of the clicked LED, counted row by row from 1 at the top left:
// (row - 1) x width + col, for grid row 1..height and grid column 1..width. Example: width 64,
// row 3, column 5 is 133.
namespace PickValue {

// The pixel number; OverflowError when it does not fit a signed 16-bit word (above 32767).
Int16 encode(int row, int col, Int16 width);

struct Cell {
    Int16 row;  // 1-based grid row
    Int16 col;  // 1-based grid column
};
// The grid cell of a pixel number, by truncating division: row = (v - 1) / width + 1,
// col = (v - 1) % width + 1. A width of 0 throws OverflowError.
Cell decode(Int16 value, Int16 width);

}  // namespace PickValue
