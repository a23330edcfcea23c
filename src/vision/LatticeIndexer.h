#pragma once

#include <vector>

#include "vision/PicturePoint.h"

// Spots numbered as a lattice: column i grows along the lattice direction nearer the picture's
// x axis (to the right), row j along the other one (downwards); both start at 0.
struct IndexedLattice {
    int columns = 0;
    int rows = 0;
    std::vector<int> pointAt;   // columns x rows, row-major: the point at (i, j), -1 if none
    int indexed = 0;            // points with a place in the lattice
    int conflicts = 0;          // places or points claimed twice: the lattice is not sound
    std::vector<int> leftOver;  // points the walk never reached

    int at(int i, int j) const { return pointAt[static_cast<size_t>(j) * columns + i]; }
};

// Numbers points that lie on a bent lattice (LED centres seen in perspective and through a
// lens): it starts at a point near the middle whose four nearest neighbours form two opposite
// pairs, then walks from neighbour to neighbour, predicting each next point from the step just
// taken along the same line (or, on a new line, from the last step measured in that direction),
// and takes the nearest point within 35 % of that step. Lattice vectors thus follow the local
// pitch, which changes slowly under perspective and distortion. When a walk takes fewer than
// half the points, a few more starts are tried and the largest lattice is kept.
// Example: points at (10 + 8i, 20 + 8j) for i < 4, j < 3, plus one at (200, 200), give a
// 4 x 3 lattice with the far point left over.
class LatticeIndexer {
public:
    static constexpr double kCatchRadius = 0.35;        // of the predicted step
    static constexpr double kOppositeTolerance = 0.25;  // of a step, for the starting cross
    static constexpr int kMaxStarts = 256;              // points tried as a start
    static constexpr int kMaxWalks = 8;                 // walks made from them

    // `spacing`: the typical distance between neighbours (SpotFinder::typicalSpacing).
    // An empty lattice when no starting point with a clean cross of neighbours exists.
    static IndexedLattice index(const std::vector<PicturePoint>& points, double spacing);
};
