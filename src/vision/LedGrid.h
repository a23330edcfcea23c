#pragma once

#include <array>
#include <vector>

#include "vision/ModuleOrientation.h"
#include "vision/MotionCheck.h"
#include "vision/PicturePoint.h"
#include "vision/SampleKernel.h"

// One LED as calibration measured it.
struct LedPlace {
    PicturePoint centre;  // in the picture, pixels
    SampleKernel kernel;  // how its brightness is measured
    float dark = 0;       // its brightness (kernel mean) in the dark picture, grey levels
    float lit = 0;        // and in the lit one
    int litPeak = 0;      // its brightest pixel in the lit picture
};

// A place off the LEDs: the middle of four neighbouring LEDs, or one pitch beyond an LED on the
// module's edge. Light there that the LEDs next to it do not explain is light off the LEDs.
struct GapPlace {
    PicturePoint centre;
    SampleKernel kernel;
    float dark = 0;
    float lit = 0;              // with every LED lit: what its LEDs spill there
    std::array<int, 4> leds{};  // its neighbouring LEDs, as indices into LedGrid::leds()
    int ledCount = 0;
};

// A calibrated module: where every LED of a width x height module lies in the picture, each
// LED's own dark and lit brightness, the places between and around the LEDs, and the edges
// around them that tell whether the camera moved (motionCheck().canCheck() is false when there
// are too few: then a moved camera cannot be told, and a caller should say so once).
// A few LEDs may have stayed dark in the lit calibration picture (dead LEDs): missingLeds()
// names them. Each still has its place, the smooth grid's position among its neighbours, its
// own dark brightness, and as lit brightness its dark one plus its neighbours' typical rise, so
// it reads as dark while it stays dead and as lit should it light after all. LEDs are
// indexed by module row (0 = top, row 1 of the grids) and column (0 = left) in the upright view
// that the orientation gives. Example: for a 64 x 32 module photographed upright, led(0, 0) is the
// top-left LED of the picture and led(31, 63) the bottom-right one; with orientation (180, no
// mirror) led(0, 0) is the picture's bottom-right LED.
class LedGrid {
public:
    struct Parts {
        int width = 0;
        int height = 0;
        ModuleOrientation orientation;
        int pictureWidth = 0;
        int pictureHeight = 0;
        double smallestPitch = 0;
        double typicalPitch = 0;
        std::vector<LedPlace> leds;  // row-major in module cells
        std::vector<GapPlace> gaps;
        MotionCheck motion;
        std::vector<LatticeCell> missing;  // module cells, row-major order
    };
    explicit LedGrid(Parts parts) : m_parts(std::move(parts)) {}

    int width() const { return m_parts.width; }
    int height() const { return m_parts.height; }
    const ModuleOrientation& orientation() const { return m_parts.orientation; }
    int pictureWidth() const { return m_parts.pictureWidth; }
    int pictureHeight() const { return m_parts.pictureHeight; }
    // Pixels between neighbouring LED centres: the smallest anywhere, and the median.
    double smallestPitch() const { return m_parts.smallestPitch; }
    double typicalPitch() const { return m_parts.typicalPitch; }

    // row 0 .. height - 1, column 0 .. width - 1; row 0, column 0 is row 1 / column 1.
    const LedPlace& led(int row, int column) const {
        return m_parts.leds[static_cast<size_t>(row) * m_parts.width + column];
    }
    int ledIndex(int row, int column) const { return row * m_parts.width + column; }
    const std::vector<LedPlace>& leds() const { return m_parts.leds; }
    const std::vector<GapPlace>& gaps() const { return m_parts.gaps; }
    const MotionCheck& motionCheck() const { return m_parts.motion; }
    // The LEDs not seen lit at calibration, as module cells (column and row from 0, upright),
    // in row-major order; empty for a module whose every LED lit.
    const std::vector<LatticeCell>& missingLeds() const { return m_parts.missing; }

private:
    Parts m_parts;
};
