#pragma once

#include <vector>

#include "vision/FloatPlane.h"
#include "vision/PicturePoint.h"

// One 8-connected set of pixels at or above a level, grown from a seed pixel.
struct Component {
    int area = 0;           // pixels
    double weight = 0;      // sum of (value - level + 1) over them
    PicturePoint centroid;  // their centre, weighted by (value - level + 1)
    int mergedInto = 0;     // the label of another component it ran into, 0 if none
};

// Grows connected components over a plane, each under its own label (1, 2, ...), so that a
// later component can tell when it reaches an earlier one. Example: on a plane with two
// separate bright squares, growing from a pixel of each at level 10 gives two components whose
// centroids are the squares' centres; growing the second at a level low enough to bridge the
// gap stops where it meets the first and reports mergedInto = the first one's label, its pixels
// then belonging to the first.
class ConnectedComponents {
public:
    explicit ConnectedComponents(const FloatPlane& plane);

    // The component of pixels with value >= level holding (seedX, seedY), labelled `label`
    // (> 0). Pixels already labelled are never taken again. A seed below the level, or already
    // labelled, gives an empty component.
    Component grow(int seedX, int seedY, float level, int label);
    // The label of a pixel, 0 while no component holds it.
    int labelAt(int x, int y) const { return m_labels[index(x, y)]; }

private:
    long index(int x, int y) const { return static_cast<long>(y) * m_plane.width() + x; }
    void relabel(const std::vector<long>& pixels, int label);

    const FloatPlane& m_plane;
    std::vector<int> m_labels;
};
