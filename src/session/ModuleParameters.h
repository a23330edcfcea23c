#pragma once

#include <QString>

// What the parameter page holds when the user leaves it: the texts of the number fields, and
// the list entries chosen in the two list boxes (-1 when the text typed there is no entry).
struct ParameterInput {
    QString width;
    QString height;
    int colourEntry = -1;
    QString scanCount;
    int redGreenEntry = -1;
};

// The module as the parameter page describes it, read and checked before anything is stored
// or sent.
struct ModuleParameters {
    int width = 0;      // 1..255 pixels
    int height = 0;     // 1..255 pixels
    int colour = 0;     // list entry of the colour box: 0 single colour, 1 dual colour
    int scanCount = 0;  // 1..16: the map image has room for 16 row entries
    int redGreen = 0;   // list entry of the red-green box: 0..3 for "1".."4"

    // Width and height are read as every number field is (readTextNumber: " 64 ", "64abc" and
    // "64.5" are 64); the scan count must be a number and nothing else (readWholeTextNumber:
    // "8x" is refused). Throws InputError naming the first field that is not acceptable.
    static ModuleParameters read(const ParameterInput& input);
};
