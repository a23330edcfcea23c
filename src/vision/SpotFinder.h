#pragma once

#include <vector>

#include "vision/FloatPlane.h"
#include "vision/PicturePoint.h"

// One bright spot of a difference picture: a lit LED as the camera saw it.
struct Spot {
    PicturePoint centre;  // the centroid of its upper half (values above half its height)
    float height = 0;     // its maximum in the lightly smoothed plane, grey levels
};

// Finds the spots of a difference picture (lit minus dark): the maxima of the plane smoothed by
// kSmoothing, above a floor of max(minimumHeight, noiseFactor x its noise) (the noise measured
// on the plane's negative side, where no LED adds light), that
// - are not the same spot as a higher maximum: one within kApart of the typical spacing that
//   it reaches without a dip below kSameSpot of its height (a flat or noisy top has several
//   maxima). The spacing is measured first on the maxima that dip below 70 % of their height
//   towards every higher one, a test that merges the noise on one flat spot but may miss a dim
//   LED beside a bright one (their saddle can stay above 70 % at a pitch of 6 px and a blur of
//   1.5 px), which is harmless for a median. LEDs farther apart than the radius stay apart
//   whatever their dip, and closer ones (where perspective shrinks the pitch) dip between;
// - are not a bump on a neighbour's halo: at least kNeighbourShare of the highest spot within
//   kNeighbourhood spacings (LED brightness differs by up to +-30 %, so neighbours stay within
//   a factor 0.54).
// Each centre is the centroid of the smoothed plane above half the spot's height within
// kReach of the spacing, which leaves out the neighbours' tails.
// Example: a plane holding Gaussian spots of height 80 on an 8 px lattice plus noise of 3 grey
// levels gives one spot per LED, each centre within a tenth of a pixel of the true one.
class SpotFinder {
public:
    static constexpr float kDefaultMinimumHeight = 12;
    static constexpr double kSmoothing = 1.0;       // px, Gaussian sigma
    static constexpr double kNoiseFactor = 5;       // floor over the noise
    static constexpr float kCoreShare = 0.7f;       // the dip that tells maxima apart at first
    static constexpr float kStrongShare = 0.3f;     // of the 90th percentile, for the spacing
    static constexpr double kApart = 0.55;          // of the spacing
    static constexpr float kSameSpot = 0.8f;        // the dip that parts two close maxima
    static constexpr float kNeighbourShare = 0.3f;  // the halo rule's share
    static constexpr double kNeighbourhood = 1.5;   // the halo rule's reach, in spacings
    static constexpr double kReach = 0.45;          // of the spacing, for the centroid

    // noiseFactor 0 leaves the floor at minimumHeight, whatever the noise.
    explicit SpotFinder(float minimumHeight = kDefaultMinimumHeight,
                        double noiseFactor = kNoiseFactor)
        : m_minimumHeight(minimumHeight), m_noiseFactor(noiseFactor) {}

    // The spots, highest first.
    std::vector<Spot> find(const FloatPlane& difference) const;

    // The median distance from a point to its nearest neighbour, 0 with fewer than two.
    static double typicalSpacing(const std::vector<PicturePoint>& points);
    static double typicalSpacing(const std::vector<Spot>& spots);

private:
    float m_minimumHeight = kDefaultMinimumHeight;
    double m_noiseFactor = kNoiseFactor;
};
