#pragma once

#include <vector>

#include "vision/FloatPlane.h"
#include "vision/PicturePoint.h"

// One bright spot of a difference picture: a lit LED as the camera saw it.
struct Spot {
    PicturePoint centre;  // the centroid of its upper half (values above half its height)
    float height = 0;     // its maximum in the lightly smoothed plane, grey levels
    float radius = 0;     // of its core (values above 70 % of its height): sqrt(area / pi)
};

// Finds the spots of a difference picture (lit minus dark) as local maxima that stand out:
// - above a floor of max(minimumHeight, 5 x the plane's noise), the noise measured as the
//   median absolute deviation of the smoothed plane;
// - prominent: a spot's maximum is kept only when every path to a higher one dips below 70 %
//   of its height, so touching spots of neighbouring LEDs stay apart (their saddle lies near
//   40 % at a pitch of 6 px and a blur of 1.5 px) while the noise on one flat LED does not
//   split it;
// - not a bump on a neighbour's halo: at least 30 % of the highest spot within 1.5 typical
//   spacings (LED brightness differs by up to +-30 %, so neighbours stay within a factor 0.54).
// Example: a plane holding Gaussian spots of height 80 on a 6 px lattice plus noise of 3 grey
// levels gives one spot per LED, each centre within a tenth of a pixel of the true one.
class SpotFinder {
public:
    static constexpr float kDefaultMinimumHeight = 12;
    static constexpr double kSmoothing = 1.0;       // px, Gaussian sigma
    static constexpr double kNoiseFactor = 5;       // floor over the noise
    static constexpr float kCoreShare = 0.7f;       // the prominence rule's level
    static constexpr float kNeighbourShare = 0.3f;  // the halo rule's share
    static constexpr double kNeighbourhood = 1.5;   // the halo rule's reach, in spacings

    // noiseFactor 0 leaves the floor at minimumHeight, whatever the noise.
    explicit SpotFinder(float minimumHeight = kDefaultMinimumHeight,
                        double noiseFactor = kNoiseFactor)
        : m_minimumHeight(minimumHeight), m_noiseFactor(noiseFactor) {}

    // The spots, highest first.
    std::vector<Spot> find(const FloatPlane& difference) const;

    // The median distance from a spot to its nearest neighbour, 0 with fewer than two.
    static double typicalSpacing(const std::vector<Spot>& spots);

private:
    float m_minimumHeight;
    double m_noiseFactor;
};
