#pragma once

#include "vision/GreyPicture.h"
#include "vision/LedGrid.h"

enum class ModuleLight { Lit, Dark, Unsure };

// Whether a picture shows the module as a whole lit or dark.
struct PolarityReading {
    ModuleLight light = ModuleLight::Unsure;
    // The share of the module's LEDs seen lit, 0 .. 1.
    double litShare = 0;
    // How far that share lies inside the verdict's side: litShare - kLitShare when lit,
    // kDarkShare - litShare when dark; negative when unsure (the distance to the nearer side).
    double margin = 0;
    // Without a calibration: the median height of the lit spots over their surroundings, grey
    // levels (0 when none was found).
    double contrast = 0;
};

// Judges one picture on its own, so that "both lit" and "neither lit" are told apart, not only
// which of two pictures is brighter.
// Without a calibration (the wizard's first camera step): the picture's bright spots over their
// darkest surroundings within half the largest pitch the module could show are numbered as a
// lattice; lit when a lattice of width x height (either way round) holds at least kLitShare of
// the LEDs with a median contrast of kMinContrast grey levels or more; dark when no lattice of
// such spots holds more than kDarkShare of them; unsure between.
// With a calibration: each LED's score as LedReader measures it; lit when at least kLitShare of
// the LEDs score as lit, dark when at most kDarkShare score above the unlit threshold. If the
// camera has moved since calibration, the judgement without one is used instead.
// Example: a picture of a 32 x 16 module fully lit in a dim room gives Lit with litShare 1; the
// same module dark gives Dark with litShare 0; with only its top half lit, Unsure.
class PolarityJudge {
public:
    static constexpr double kLitShare = 0.9;
    static constexpr double kDarkShare = 0.1;
    static constexpr double kMinContrast = 25;  // grey levels

    static PolarityReading judge(const GreyPicture& picture, int width, int height);
    static PolarityReading judge(const LedGrid& grid, const GreyPicture& picture);
};
