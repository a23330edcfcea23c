#pragma once

#include <optional>
#include <vector>

#include "vision/GreyPicture.h"
#include "vision/LedGrid.h"
#include "vision/ModuleOrientation.h"

// Why a calibration was refused. Each comes with the numbers in Calibration that a message
// needs.
enum class CalibrationRefusal {
    None,
    PicturesDiffer,  // the two pictures differ in size, or one is empty
    BadModuleSize,   // width or height under 4, or more LEDs than pixels
    NoDifference,    // the lit picture shows no LED the dark one does not: nothing lit
    Overexposed,     // more than half of the LEDs reach 255 in the lit picture
    TooSmall,        // pitch (`pitch`) under 6 px: move closer or zoom in
    QuarterTurned,   // found height x width instead of width x height: rotate the picture
    PartlyOutside,   // found fewer LEDs, the lattice running off the picture's border (or
                     // an LED missing from the lit picture at its border)
    TooFew,          // found `found` of `expected` (more LEDs missing than a module may have
                     // dead, or two of them side by side)
    TooMany,         // found `found` of `expected` (more light spots than LEDs)
    Irregular,       // as many spots as LEDs, but not one smooth grid (`worstResidual`)
};

// What calibration found. `grid` is set exactly when `refusal` is None.
struct Calibration {
    CalibrationRefusal refusal = CalibrationRefusal::None;
    std::optional<LedGrid> grid;
    int expected = 0;      // width x height
    int found = 0;         // LEDs found on the lattice (with stray spots next to it)
    int foundColumns = 0;  // the lattice found in the picture, columns x rows
    int foundRows = 0;
    int expectedColumns = 0;  // the lattice the module should show in the picture
    int expectedRows = 0;
    double pitch = 0;          // the smallest distance between neighbouring LEDs, px
    int clipped = 0;           // LEDs with pixels at 255 in the lit picture
    double worstResidual = 0;  // the worst LED's distance from the smooth grid, in pitches
    // Module cells (column and row from 0, upright) where the lattice had no LED, row-major;
    // set once the lattice found has the module's shape. A grid made keeps the same list.
    std::vector<LatticeCell> missing;
};

// Finds every LED of a width x height module from a picture with the module dark and one with
// it fully lit, both taken from the same place with the same exposure. Spots are found in the
// difference of the two, numbered as a lattice by walking from neighbour to neighbour, checked
// against one smooth grid, then ordered by module row and column through the orientation.
// It refuses rather than guesses: any doubt about the count, the shape or the exposure is a
// refusal with its reason. One exception is made for dead LEDs, common on modules in use: up
// to maxMissing() places of the lattice may be empty when each is surrounded by LEDs (all its
// neighbours on the module lit) and lies at least half a pitch inside the picture; each gets
// the smooth grid's position and the neighbours' brightness (LedGrid). Anything else short of
// the full count (two missing side by side, a row missing, an LED lost at the picture's
// border) is refused as before.
// Ranges it is built for: a pitch of at least 6 px, the module turned up to 35 degrees about
// either axis of its face and rolled up to 15 degrees, a lens bowing straight lines by up to 2 %
// of the picture's width, blur up to 1.5 px, noise up to 6 grey levels, JPEG quality 50 and
// above, LED brightness +-30 %, corners down to 60 % of the centre's brightness.
// Example: calibrate(dark, lit, 64, 32) on pictures of an upright 64 x 32 module gives a grid
// whose led(0, 0) is the top-left LED; on pictures of the module lying on its side it refuses
// with QuarterTurned, foundColumns 32, foundRows 64. With the LED at row 2, column 16 dark in
// the lit picture, it gives a grid with missingLeds() {column 16, row 2}; with that LED and the
// one right of it dark, it refuses with TooFew, found 2046.
class Calibrator {
public:
    static constexpr double kMinPitch = 6;          // px
    static constexpr double kPitchTolerance = 0.3;  // px, for the pitch measured from spots
    // At a fair exposure the brighter LEDs may reach 255 (the JPEG's ringing takes a sharp
    // spot over the edge, too); when most do, the exposure is too long or the gain too high.
    static constexpr double kMaxClippedShare = 0.5;
    static constexpr double kMaxResidual = 0.2;  // pitches, from the smooth grid
    static constexpr int kMinSide = 4;           // LEDs
    // LEDs that may be missing from the lit picture: 1 % of the module's, at least 1 and at
    // most kMaxMissing. Each is an LED placed by inference, not seen, and a stop of the walk at
    // its step; more than a few dark LEDs rather means a covered module or a faulty driver.
    // The share keeps a module with its dead LEDs far above the 90 % that counts as lit.
    static constexpr double kMissingShare = 0.01;
    static constexpr int kMaxMissing = 8;
    // A missing LED this near the picture's border (in pitches) may lie outside it.
    static constexpr double kMissingInside = 0.5;

    // Example: 8 for 64 x 32 LEDs (1 % is 20), 5 for 32 x 16, 1 for 8 x 6.
    static int maxMissing(int leds);

    static Calibration calibrate(const GreyPicture& dark, const GreyPicture& lit, int width,
                                 int height, ModuleOrientation orientation = {});
};
