#pragma once

// The one description of how a map is laid out: the scan map buffer the wizard fills, and the
// map image that a map file holds and a download sends. Everything that reads or writes map
// bytes takes its positions from here.
namespace MapLayout {

// The map image: this many bytes, nothing before or after them in a map file.
constexpr int kImageSize = 2048;

// Header words of both the buffer and the image (the image stores word n little-endian at
// bytes 2n and 2n + 1).
enum HeaderWord : int {
    kWidth = 0,            // module width in pixels
    kHeight = 1,           // module height in pixels
    kColour = 2,           // 0 single colour, 1 dual colour
    kScanCount = 3,        // scan count, also the number of row entries
    kRedGreen = 4,         // red-green count as its list position (0..3 for counts 1..4)
    kOePolarity = 5,       // OE polarity; its high byte is the marker of the first column pick
    kDisplayPolarity = 6,  // display polarity: 0 or 255
    kColumnExtent = 7,     // 8 x the number of column entries
};
constexpr int kHeaderWords = 8;

// Scan map buffer: signed 16-bit words. Row pick k (from 0) is word kRowPicksAt + k; column
// pick k is word kColumnPicksAt + kColumnPickStride * k. The words between two column picks
// are not used.
constexpr int kBufferWords = 1048;
constexpr int kRowPicksAt = 8;
constexpr int kColumnPicksAt = 24;
constexpr int kColumnPickStride = 8;

// Map image: row entry i at bytes kRowEntriesAt + 2i (pixel row, pixel column); column entry n
// at kColumnEntriesAt + 2n (pixel row, group of 8 columns), the last column pick first.
constexpr int kRowEntriesAt = 16;
constexpr int kColumnEntriesAt = 48;
constexpr int kMaxRowEntries = 16;
constexpr int kMaxColumnEntries = 128;
// Columns per group: a column entry names its group, pixel column / kColumnsPerGroup.
constexpr int kColumnsPerGroup = 8;

}  // namespace MapLayout
