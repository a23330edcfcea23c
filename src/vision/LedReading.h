#pragma once

#include <vector>

#include "vision/MotionCheck.h"

// Why a reading is not certain.
enum class Doubt {
    None,          // certain: exactly one LED lit
    NoneLit,       // no LED scores at the lit threshold
    SeveralLit,    // more than one does
    Unclear,       // one LED scores between the thresholds (half lit, or dimmed)
    LightOffLeds,  // light between or around the LEDs that no lit LED explains (a reflection)
    Moved,         // the camera moved since calibration
    Overexposed,   // pixels at 255 where calibration saw none
    WrongPicture,  // not the size of the calibration pictures
};

// One LED's lit score: 0 as dark as at calibration, 1 as bright as when calibrated lit.
struct LedScore {
    int row = 0;     // module row from 0 (row 1 of the grids is 0)
    int column = 0;  // module column from 0
    double score = 0;
};

// What one picture shows, LED by LED.
struct LedReading {
    Doubt doubt = Doubt::None;
    // The lit LED when certain; otherwise the highest-scoring one.
    LedScore led;
    // The highest scores, best first (a handful), for a person to check by eye.
    std::vector<LedScore> candidates;
    // Every LED's score, module row-major (index row x width + column).
    std::vector<float> scores;
    MotionResult motion;
    // The strongest light off the LEDs that no LED explains, in units of the neighbouring LEDs'
    // own lit brightness.
    double lightOffLeds = 0;

    bool isCertain() const { return doubt == Doubt::None; }
};
