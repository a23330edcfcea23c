#pragma once

#include <array>
#include <vector>

#include "vision/GreyPicture.h"
#include "vision/PicturePoint.h"

enum class Motion {
    Still,      // the surroundings are where they were at calibration
    Moved,      // they moved by more than the allowed shift, or no longer match
    Unchecked,  // too little texture around the LEDs to tell
};

struct MotionResult {
    Motion motion = Motion::Unchecked;
    double mismatch = 0;         // RMS of what the gain and offset leave unexplained, grey levels
    double allowedMismatch = 0;  // the most a still picture may leave
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
// The edges must run both ways (a straight edge cannot show a shift along itself) and be strong
// enough that a shift of half the smallest pitch (which could put a lit LED at its neighbour's
// place) would leave kSensitivity times the allowed mismatch; when they are not, the check
// cannot be made: Unchecked. The allowed shift is a quarter of the smallest pitch, within
// 1 px (a tripod's tremor) and 3 px.
// Example: around a module in a room with a few lit rectangles, a picture shifted by 7 px gives
// Moved; the same picture unshifted but 30 % brighter gives Still with gain about 1.3; a dark
// module board in a dark room without anything around it gives Unchecked.
class MotionCheck {
public:
    static constexpr double kSmoothing = 1.5;  // px, Gaussian sigma
    static constexpr int kMaxPixels = 4000;
    static constexpr int kMinPixels = 100;
    static constexpr double kMinEdge = 2;         // an edge pixel's gradient over the noise
    static constexpr double kMismatchFactor = 2;  // of the noise two pictures leave
    static constexpr double kMismatchFloor = 1;   // grey levels added to that
    static constexpr double kMinGain = 0.25;
    static constexpr double kNear = 1.25;       // pitches: an LED this near can light a pixel
    static constexpr double kQuietScore = 0.1;  // an LED scoring above this is lit
    static constexpr double kSensitivity = 1.25;
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
    struct Fit {
        double gain = 1;
        PicturePoint shift;
        double stillMismatch = 0;  // with gain and offset alone
        int pixels = 0;
    };
    double smoothedAt(const GreyPicture& picture, int x, int y) const;
    Fit fit(const GreyPicture& picture, const std::vector<bool>& used) const;
    std::vector<bool> quietSamples(const std::vector<float>& scores) const;
    void chooseSamples(const GreyPicture& dark, const std::vector<PicturePoint>& leds, double pitch,
                       double noise);

    std::vector<Sample> m_samples;
    std::vector<float> m_kernel;
    double m_allowedShift = 1;
    double m_allowedMismatch = 0;
    bool m_canCheck = false;
};
