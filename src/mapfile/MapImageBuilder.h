#pragma once

#include "core/Int16.h"
#include "core/MapImage.h"
#include "core/ScanMapBuffer.h"

// Builds the map image from the scan map buffer, in the layout MapLayout describes (words
// little-endian, pixel rows and columns 0-based): the header words 0..7, where byte 11 (the high
// byte of the OE polarity) is 1 when the first column pick's pixel number (counted from 1) is a
// multiple of 8, else 0; a row entry (pixel row, pixel column) for each row pick up to the scan
// count; and a column entry (pixel row, group of 8 columns) for each column pick, the last pick
// first. Every other byte keeps the previous image's value, so what an opened file holds after
// the column entries survives a save. Example: 64 x 32, single colour, scan 16, red-green "2", both
// polarities "1亮", 8 column picks with the first in column 1 gives the header 40 00 20 00 00 00 10
// 00 01 00 00 00 00 00 40 00; a row pick at row 3, column 5 gives 02 04.
namespace MapImageBuilder {

struct Result {
    MapImage image;
    Int16 oePolarityWord;  // OE polarity with the marker in its high byte, as the buffer keeps it
    Int16 columnExtent;    // 8 x the column entries
};

// words: the buffer; pickCounter: 8 x the column picks of this pass; rowPicksMade: how many of
// the row entries hold a pick. Throws InputError, whose text tells the user what is wrong, when
// the map cannot be built: fewer row entries picked than the scan count, a width of 0, a scan count
// outside 1..16, or a value that does not fit its byte. Nothing is changed then.
Result build(const ScanMapBuffer& words, Int16 pickCounter, Int16 rowPicksMade,
             const MapImage& previous);

}  // namespace MapImageBuilder
