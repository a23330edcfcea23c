#pragma once

#include "DataBuffer.h"
#include "Int16.h"
#include "MapImage.h"

// Builds the map image from the scan map buffer. Layout (byte positions from 0, words
// little-endian, pixel rows and columns 0-based):
//
//   0..15   header words 0..7: width, height, colour, scan count, red-green entry,
//           OE polarity (byte 10) with its marker (byte 11: 1 when the first column pick is a
//           multiple of 8, else 0), display polarity, column extent (8 x column entries)
//   16..47  row entry i = pixel row, pixel column of the i-th row pick, for i < scan count
//   48..303 column entry n = pixel row, 8-column group of the column picks, last pick first
//
// Every other byte keeps the previous image's value, so bytes 304..2047 of an opened file
// survive a save. Example: 64 x 32, single colour, scan 16, red-green "2", both polarities
// "1亮", 8 column picks with the first in column 1 gives the header
// 40 00 20 00 00 00 10 00 01 00 00 00 00 00 40 00; a row pick at row 3, column 5 gives 02 04.
namespace MapImageBuilder {

struct Result {
    MapImage image;
    Int16 word5;  // OE polarity with the marker in its high byte, as the buffer keeps it
    Int16 word7;  // the column extent
};

// words: the buffer; pickCounter: 8 x the column picks of this pass; rowPicksMade: the row
// picks of this pass. Throws InputError, whose text tells the user what is wrong, when the map
// cannot be built: a row entry not picked in this pass, a width of 0, a scan count outside
// 1..16, or a value that does not fit its byte. Nothing is changed then.
Result build(const DataBuffer& words, Int16 pickCounter, Int16 rowPicksMade,
             const MapImage& previous);

}  // namespace MapImageBuilder
