#pragma once

#include <array>
#include <optional>
#include <vector>

#include "vision/PicturePoint.h"

// A perspective map of the plane: (x, y) goes to ((h0 x + h1 y + h2) / w, (h3 x + h4 y + h5) / w)
// with w = h6 x + h7 y + h8. It is how a flat module's LED lattice appears in a picture taken at
// an angle. Example: the map taking the unit square's corners (0,0), (1,0), (1,1), (0,1) to
// (10,10), (30,10), (30,30), (10,30) takes (0.5, 0.5) to (20, 20).
class Homography {
public:
    Homography() = default;  // the identity

    // The one map taking from[k] to to[k] for k = 0..3, or nothing when three of the four
    // points on either side lie on a line (no perspective map then exists, or many do).
    static std::optional<Homography> fromFourPoints(const std::array<PicturePoint, 4>& from,
                                                    const std::array<PicturePoint, 4>& to);
    // The map that best takes from[k] to to[k] in the least-squares sense (after moving both
    // point sets to their centroids and scaling them to a mean distance of sqrt 2, which keeps
    // the sums well conditioned). Needs at least four pairs, not all on a line; nothing
    // otherwise.
    static std::optional<Homography> fit(const std::vector<PicturePoint>& from,
                                         const std::vector<PicturePoint>& to);

    // The image of p. A point the map sends to infinity (w = 0) comes back as (inf, inf).
    PicturePoint map(PicturePoint p) const;
    // The map going back; nothing when this one is singular.
    std::optional<Homography> inverted() const;

private:
    explicit Homography(const std::array<double, 9>& h) : m_h(h) {}

    std::array<double, 9> m_h{1, 0, 0, 0, 1, 0, 0, 0, 1};
};
