#pragma once

#include "vision/GreyPicture.h"
#include "vision/LedGrid.h"
#include "vision/LedReading.h"

// Reads which LED a picture shows lit, against a calibration. Each LED is measured at its own
// place with its own kernel and scored against its own dark and lit brightness, score =
// (now - dark) / (lit - dark), so uneven LEDs and the lens's vignetting cancel out.
// A reading is certain when exactly one LED scores at least kLitScore, every other at most
// kUnlitScore, and nothing else is wrong: the surroundings have not moved, no light lies off the
// LEDs beyond kLightOffLeds of an LED's brightness, and no LED that counts is overexposed
// (at 255 where its calibration was well below, or scoring above kTooBright) and the exposure has
// not risen by kBrighterExposure (as the motion check measures it on the surroundings).
// Otherwise it is a doubt with its reason, checked in this order: wrong picture, moved, exposure
// risen, light off the LEDs, LEDs overexposed, several lit, unclear, none lit.
// The thresholds sit far from both ends: a lit LED scores about 1 and a dark one about 0 with a
// spread of a few hundredths from noise and JPEG, while an LED lit for half the exposure (a
// picture taken as one LED went dark and the next lit) scores about 0.5 and must not pass as
// either; a score between 0.25 and 0.5 (or two at 0.5) is a doubt.
// Example: a picture with LED (row 3, column 7) lit reads as certain with led {3, 7, ~1.0}; the
// same picture with LED (3, 8) also lit reads as SeveralLit with both among the candidates.
class LedReader {
public:
    static constexpr double kLitScore = 0.5;
    static constexpr double kUnlitScore = 0.25;
    static constexpr double kLightOffLeds = 0.35;
    static constexpr double kTooBright = 1.3;
    // The surroundings this much brighter than at calibration: the exposure went up.
    static constexpr double kBrighterExposure = 1.3;
    static constexpr int kCandidates = 5;

    static LedReading read(const LedGrid& grid, const GreyPicture& picture);
};
