#pragma once

#include "Int16.h"

struct OEControls;

// The module as the parameter page describes it, read and checked before anything is stored
// or sent.
struct ModuleParameters {
    Int16 width;      // 1..255 pixels
    Int16 height;     // 1..255 pixels
    Int16 colour;     // list entry of the colour box: 0 single colour, 1 dual colour
    Int16 scanCount;  // 1..16: the map image has room for 16 row entries
    Int16 redGreen;   // list entry of the red-green box: 0..3 for "1".."4"

    // Reads the five fields: numbers as every text box is read (so " 64 " and "64.5" are 64),
    // a combo box's entry as the list entry its text equals (a typed "双色" counts as chosen).
    // Throws InputError naming the first field out of range, with what it accepts.
    static ModuleParameters read(const OEControls& c);
};
