#include "vision/LedReader.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kClipLevel = 254;
constexpr int kClipMargin = 24;
// An LED whose lit and dark brightness hardly differ cannot be scored; calibration's spot floor
// keeps real LEDs far above this.
constexpr double kMinRange = 1.0;

double score(const LedPlace& led, double now) {
    return (now - led.dark) / std::max(kMinRange, double(led.lit) - led.dark);
}

// Light at a gap beyond what its LEDs spill there: with every LED lit they spilled lit - dark,
// so LEDs scoring s spill that times their mean score. The ground itself is as bright as in
// the dark picture times the exposure's gain (1 when the surroundings could not tell).
double unexplainedLight(const GapPlace& gap, const LedGrid& grid, const std::vector<float>& scores,
                        double now, double gain) {
    double scoreSum = 0;
    double range = 0;
    for (int k = 0; k < gap.ledCount; ++k) {
        const LedPlace& led = grid.leds()[gap.leds[k]];
        scoreSum += std::clamp(double(scores[gap.leds[k]]), 0.0, 1.0);
        range += std::max(kMinRange, double(led.lit) - led.dark);
    }
    const double spilt = (double(gap.lit) - gap.dark) * scoreSum / gap.ledCount;
    return (now - gain * gap.dark - spilt) / (range / gap.ledCount);
}

std::vector<LedScore> bestScores(const LedGrid& grid, const std::vector<float>& scores) {
    std::vector<int> order(scores.size());
    for (size_t k = 0; k < order.size(); ++k) {
        order[k] = static_cast<int>(k);
    }
    const size_t n = std::min<size_t>(LedReader::kCandidates, order.size());
    std::partial_sort(order.begin(), order.begin() + n, order.end(),
                      [&](int a, int b) { return scores[a] > scores[b]; });
    std::vector<LedScore> best;
    for (size_t k = 0; k < n; ++k) {
        best.push_back({order[k] / grid.width(), order[k] % grid.width(), scores[order[k]]});
    }
    return best;
}

// An LED that counts (scoring above the unlit threshold) is overexposed when it now reaches 255
// while its lit calibration stayed well below (noise alone can take a pixel of an LED that was
// near 255 over the edge), or when it is far brighter than when calibrated lit: either way its
// score no longer measures its light.
bool overexposed(const LedGrid& grid, const std::vector<float>& scores,
                 const GreyPicture& picture) {
    for (size_t k = 0; k < scores.size(); ++k) {
        if (scores[k] <= LedReader::kUnlitScore) {
            continue;
        }
        const LedPlace& led = grid.leds()[k];
        if (scores[k] > LedReader::kTooBright || (led.litPeak < kClipLevel - kClipMargin &&
                                                  led.kernel.brightest(picture) >= kClipLevel)) {
            return true;
        }
    }
    return false;
}

Doubt countDoubt(const std::vector<float>& scores) {
    int lit = 0;
    int unclear = 0;
    for (float s : scores) {
        lit += s >= LedReader::kLitScore ? 1 : 0;
        unclear += (s > LedReader::kUnlitScore && s < LedReader::kLitScore) ? 1 : 0;
    }
    if (lit > 1) {
        return Doubt::SeveralLit;
    }
    if (unclear > 0) {
        return Doubt::Unclear;
    }
    return lit == 1 ? Doubt::None : Doubt::NoneLit;
}

}  // namespace

LedReading LedReader::read(const LedGrid& grid, const GreyPicture& picture) {
    LedReading r;
    if (!picture.isValid() || picture.width != grid.pictureWidth() ||
        picture.height != grid.pictureHeight()) {
        r.doubt = Doubt::WrongPicture;
        return r;
    }
    r.scores.reserve(grid.leds().size());
    for (const LedPlace& led : grid.leds()) {
        r.scores.push_back(static_cast<float>(score(led, led.kernel.mean(picture))));
    }
    r.candidates = bestScores(grid, r.scores);
    r.led = r.candidates.front();
    // Light beside an LED counts as that LED being lit for the motion check: the room's pixels
    // near it are left out.
    std::vector<double> gapNow;
    std::vector<float> activity = r.scores;
    for (const GapPlace& gap : grid.gaps()) {
        gapNow.push_back(gap.kernel.mean(picture));
        if (unexplainedLight(gap, grid, r.scores, gapNow.back(), 1) > MotionCheck::kQuietScore) {
            for (int k = 0; k < gap.ledCount; ++k) {
                activity[gap.leds[k]] = 1;
            }
        }
    }
    r.motion = grid.motionCheck().check(picture, activity);
    const double gain = r.motion.motion == Motion::Still ? r.motion.gain : 1.0;
    for (size_t k = 0; k < gapNow.size(); ++k) {
        r.lightOffLeds = std::max(
            r.lightOffLeds, unexplainedLight(grid.gaps()[k], grid, r.scores, gapNow[k], gain));
    }
    if (r.motion.motion == Motion::Moved) {
        r.doubt = Doubt::Moved;
    } else if (gain > kBrighterExposure) {
        r.doubt = Doubt::Overexposed;
    } else if (r.lightOffLeds > kLightOffLeds) {
        r.doubt = Doubt::LightOffLeds;
    } else if (overexposed(grid, r.scores, picture)) {
        r.doubt = Doubt::Overexposed;
    } else {
        r.doubt = countDoubt(r.scores);
    }
    return r;
}
