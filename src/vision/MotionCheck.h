#pragma once

#include <vector>

#include "vision/GreyPicture.h"
#include "vision/PicturePoint.h"

enum class Motion {
    Still,      // the surroundings are where they were at calibration
    Moved,      // they moved by more than the allowed shift, or no longer match at all
    Unchecked,  // too little texture was found at calibration to tell
};

struct MotionResult {
    Motion motion = Motion::Unchecked;
    PicturePoint shift;  // the median shift of the patches that matched, pixels
    int matched = 0;     // patches found again within the search window
    int patches = 0;     // patches chosen at calibration
};

// Tells whether the camera moved since calibration by comparing small textured patches of the
// dark calibration picture, chosen away from the module, with the same places of a new picture.
// The comparison is a normalised correlation, so a change of exposure or gain does not count as
// movement; each patch's shift is found as the best correlation within a small window, to a
// fraction of a pixel. Patches need texture in both directions (a plain wall or a straight edge
// cannot show a shift along itself).
// Example: with a textured room around the module, a picture shifted by 3 px to the right gives
// Moved with shift about (3, 0); the same picture twice as bright gives Still.
class MotionCheck {
public:
    static constexpr int kPatchRadius = 7;  // patches of 15 x 15 px
    static constexpr int kMaxPatches = 24;
    static constexpr int kMinPatches = 3;       // fewer: Unchecked
    static constexpr double kMinContrast = 12;  // grey levels: a patch's standard deviation
    static constexpr double kMinGradient = 4;   // grey levels a pixel, in its weakest direction
    static constexpr double kMatch = 0.6;       // correlation for a patch to count as found

    MotionCheck() = default;
    // Patches of `dark` whose centres lie farther than `keepOut` px from every point of `avoid`
    // (the LEDs, whose light changes), at least two patch widths apart. A shift longer than
    // `allowedShift` px counts as movement; the search reaches 2 px beyond it.
    MotionCheck(const GreyPicture& dark, const std::vector<PicturePoint>& avoid, double keepOut,
                double allowedShift);

    bool canCheck() const { return static_cast<int>(m_patches.size()) >= kMinPatches; }
    int patchCount() const { return static_cast<int>(m_patches.size()); }
    MotionResult check(const GreyPicture& picture) const;

private:
    struct Patch {
        int x = 0;  // centre
        int y = 0;
        std::vector<float> values;  // mean removed, scaled to unit norm
    };
    double correlation(const Patch& patch, const GreyPicture& picture, int dx, int dy) const;
    bool bestShift(const Patch& patch, const GreyPicture& picture, PicturePoint& shift) const;

    std::vector<Patch> m_patches;
    double m_allowedShift = 1;
    int m_searchRadius = 3;
};
