#pragma once

#include <cstdint>

#include "DataBuffer.h"
#include "Int16.h"
#include "MapImage.h"

// Everything one mapping run knows, owned by the main window for its whole life and created
// zero-filled with it. Nothing here is saved or restored; a map outlives the window only as
// a map file.
struct WindowState {
    Int16 StepNum;            // page in front: 1 parameters, 2 OE polarity, 3 display polarity,
                              // 4 rows, 5 columns
    std::uint8_t StepOe = 0;  // OE blink phase: the indicator the next tick marks (0 or 1)
    Int16 StepDis;            // display blink phase (0 or 1)
    Int16 DataBufferP;        // row picks so far (page 4), or 8 x column picks (page 5)
    DataBuffer dataBuffer;
    MapImage mapImage;
    // Row picks made since the row page was last shown, as that page left them; the save
    // refuses a map whose scan lines were not all picked in this pass.
    Int16 rowPicksMade;
    // True once a pick or an undo changed the picks after the last save to a map file.
    bool picksUnsaved = false;
};
