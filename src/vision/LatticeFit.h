#pragma once

#include <optional>
#include <vector>

#include "vision/PicturePoint.h"

// How well LED positions indexed as a lattice follow one smooth picture of a flat grid: a
// least-squares homography from lattice cells to picture positions (the perspective), then a
// least-squares cubic polynomial in the lattice coordinates for what the homography leaves (a
// lens's barrel distortion). A position indexed one place off, or a spot that is not an LED,
// stands out by about a pitch; noise and JPEG leave a tenth of a pixel or so. Places where no
// LED was seen are left out of the fit and get the smooth grid's position there.
// Example: the positions (20 + 10 i, 30 + 10 j) for a 5 x 4 lattice fit with residuals near 0;
// moving one of them by 6 px gives a worst residual of several pixels at that LED; with the
// place (2, 1) marked unseen, its fitted position is (40, 40) whatever was given for it.
struct LatticeFitResult {
    double worstResidual = 0;          // px, over the places seen
    double worstInPitches = 0;         // each residual over the local pitch at its LED, the largest
    int worstAt = -1;                  // the index (j x columns + i) of the worst LED
    double rmsResidual = 0;            // px
    std::vector<PicturePoint> fitted;  // the smooth grid's positions of every place, in order
};

class LatticeFit {
public:
    // Fewer places seen than this leave the cubic (ten terms an axis) too little to check.
    static constexpr int kMinSeen = 15;

    // positions: columns x rows, row-major. `seen`: empty when every place was seen, else one
    // flag a place; the positions of places not seen are ignored. Nothing for fewer than 4 x 4
    // places or kMinSeen seen (the cubic alone would then follow any positions), or when the
    // positions do not determine a perspective map.
    static std::optional<LatticeFitResult> check(const std::vector<PicturePoint>& positions,
                                                 int columns, int rows,
                                                 const std::vector<bool>& seen = {});
};
