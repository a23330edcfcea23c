#pragma once

#include <array>
#include <vector>

#include "vision/FloatPlane.h"
#include "vision/GreyPicture.h"
#include "vision/PicturePoint.h"
#include "vision/PointBuckets.h"

enum class Motion {
    Still,      // the surroundings are where they were at calibration
    Moved,      // they moved by more than the allowed shift, or no longer match
    Unchecked,  // too little texture around the LEDs to tell
};

struct MotionResult {
    Motion motion = Motion::Unchecked;
    double mismatch = 0;         // RMS of what the gain and offset leave unexplained, grey levels
    double allowedMismatch = 0;  // the most a still picture may leave
    double changedShare = 0;     // of the pixels, those far beyond the noise
    PicturePoint shift;          // a small shift as estimated from the gradient, pixels
    double gain = 1;             // brightness now over brightness at calibration
    int pixels = 0;              // edge pixels compared (those near a lit LED are left out)
};

// Tells whether the camera moved since calibration from the edges around the LEDs: the room
// and the module board's outline. Edge pixels of the dark calibration picture at least half a
// pitch from every LED are compared with the same places of a new picture, both lightly
// smoothed, leaving out those near an LED that is lit now (its glow reaches 3/4 of a pitch).
// A least-squares fit explains the new values as gain x dark + offset, so a change of exposure
// is not movement; the camera has moved when that fit leaves far more unexplained than the
// sensor noise of two pictures would (any shift of a pixel or more moves the edges), or when a
// second fit with a small shift added (the dark picture's gradient times the shift) finds one
// longer than the allowed shift.
// The edges must show every nudge that could put a lit LED at a neighbour's place: the dark
// picture compared with itself shifted by half, one and two of the smallest pitches, in eight
// directions, must leave kSensitivity times the allowed mismatch each time (a straight edge
// cannot show a shift along itself, a plain wall none at all); when it does not, the check
// cannot be made: Unchecked. The allowed shift is a quarter of the smallest pitch, within 1 px
// (a tripod's tremor) and 3 px.
// Example: around a module in a room with a few lit rectangles, a picture shifted by 7 px gives
// Moved; the same picture unshifted but 30 % brighter gives Still with gain about 1.3; a dark
// module board in a dark room without anything around it gives Unchecked.
class MotionCheck {
public:
    static constexpr double kSmoothing = 2.5;  // px, Gaussian sigma
    static constexpr int kMaxPixels = 4000;
    static constexpr int kMinPixels = 100;
    static constexpr double kMinEdge = 2;           // an edge pixel's gradient over the noise
    static constexpr double kMismatchFactor = 1.3;  // of the noise two pictures leave
    static constexpr double kMismatchFloor = 0.3;   // grey levels added to that
    // A pixel has changed when the fit leaves it kOutlierFactor times the noise of two
    // pictures plus kOutlierFloor grey levels (JPEG moves an edge's pixels by a level or two
    // from one picture to the next); a still camera leaves very few so.
    static constexpr double kOutlierFactor = 4;
    static constexpr double kOutlierFloor = 2;
    static constexpr double kMaxChangedShare = 0.02;
    static constexpr double kMinGain = 0.25;
    static constexpr double kNear = 1.25;       // pitches: an LED this near can light a pixel
    static constexpr double kQuietScore = 0.1;  // an LED scoring above this is lit
    static constexpr double kSensitivity = 1.15;
    static constexpr double kAllowedShare = 0.25;  // of the smallest pitch
    static constexpr double kAllowedShiftMin = 1;  // px
    static constexpr double kAllowedShiftMax = 3;  // px

    MotionCheck() = default;
    // leds: the LED centres (in the order of the scores check() will be given); pitch and
    // smallestPitch: the typical and the smallest distance between neighbouring LEDs, px. `lit`
    // is the other calibration picture, for the noise.
    MotionCheck(const GreyPicture& dark, const GreyPicture& lit,
                const std::vector<PicturePoint>& leds, double pitch, double smallestPitch);

    bool canCheck() const { return m_canCheck; }
    int pixelCount() const { return static_cast<int>(m_samples.size()); }
    // scores: every LED's lit score now (LedReader's), one per LED given at construction.
    MotionResult check(const GreyPicture& picture, const std::vector<float>& scores) const;

private:
    struct Sample {
        int x = 0;
        int y = 0;
        float dark = 0;  // the smoothed dark picture here
        float gx = 0;    // and its gradient
        float gy = 0;
        std::array<int, 4> near{};  // the LEDs within kNear pitches
        int nearCount = 0;
    };
    struct Comparison {
        double gain = 1;
        double mismatch = 0;
        double changedShare = 0;
    };
    double smoothedAt(const GreyPicture& picture, int x, int y) const;
    static Comparison compare(const std::vector<double>& dark, const std::vector<double>& now,
                              double level);
    PicturePoint smallShift(const std::vector<size_t>& used, const std::vector<double>& now) const;
    double allowedMismatch(double gain) const;
    double outlierLevel() const;
    std::vector<bool> quietSamples(const std::vector<float>& scores) const;
    void chooseSamples(const FloatPlane& smoothDark, const PointBuckets& leds, double pitch,
                       double noise);
    double smoothedNoise(const FloatPlane& smoothDark, const GreyPicture& lit,
                         const PointBuckets& leds, double reach) const;
    double edgeNoiseOfTwo(const GreyPicture& lit) const;
    bool showsEveryNudge(const FloatPlane& smoothDark, double smallestPitch) const;

    std::vector<Sample> m_samples;
    std::vector<float> m_kernel;
    double m_allowedShift = 1;
    double m_noiseOfTwo = 0;
    bool m_canCheck = false;
};
