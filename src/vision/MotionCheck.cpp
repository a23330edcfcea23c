#include "vision/MotionCheck.h"

#include <Eigen/Cholesky>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "vision/FloatPlane.h"
#include "vision/PointBuckets.h"

namespace {

// The noise is measured on every kNoiseStep-th pixel of every kNoiseStep-th row.
constexpr int kNoiseStep = 5;

std::vector<float> gaussianWeights(double sigma) {
    const int r = static_cast<int>(std::ceil(2 * sigma));
    std::vector<float> w(2 * r + 1);
    double total = 0;
    for (int k = -r; k <= r; ++k) {
        w[k + r] = static_cast<float>(std::exp(-0.5 * k * k / (sigma * sigma)));
        total += w[k + r];
    }
    for (float& v : w) {
        v = static_cast<float>(v / total);
    }
    return w;
}

}  // namespace

MotionCheck::MotionCheck(const GreyPicture& dark, const GreyPicture& lit,
                         const std::vector<PicturePoint>& leds, double pitch, double smallestPitch)
    : m_kernel(gaussianWeights(kSmoothing)),
      m_allowedShift(
          std::clamp(kAllowedShare * smallestPitch, kAllowedShiftMin, kAllowedShiftMax)) {
    const FloatPlane smoothDark = FloatPlane::fromPicture(dark).gaussianSmoothed(kSmoothing);
    const double reach = kNear * pitch + 2 * kSmoothing;
    const PointBuckets buckets(leds, std::max(1.0, reach));
    const double flatNoise = smoothedNoise(smoothDark, lit, buckets, reach);
    chooseSamples(smoothDark, buckets, pitch, flatNoise);
    if (pixelCount() < kMinPixels) {
        return;
    }
    // A still picture leaves the noise of two pictures, JPEG's share included (both calibration
    // pictures went through it). JPEG changes more along edges than on flat ground, so the
    // edge pixels away from the LEDs are measured too.
    m_noiseOfTwo = std::max(flatNoise * std::sqrt(2.0), edgeNoiseOfTwo(lit));
    m_canCheck = showsEveryNudge(smoothDark, smallestPitch);
}

// The noise of the smoothed picture: the median absolute difference of the two smoothed
// calibration pictures where no LED's light reaches (it carries the noise of both pictures).
double MotionCheck::smoothedNoise(const FloatPlane& smoothDark, const GreyPicture& lit,
                                  const PointBuckets& leds, double reach) const {
    const int margin = static_cast<int>(m_kernel.size() / 2);
    std::vector<double> differences;
    for (int y = margin; y < lit.height - margin; y += kNoiseStep) {
        for (int x = margin; x < lit.width - margin; x += kNoiseStep) {
            if (leds.nearest({double(x), double(y)}, reach) < 0) {
                differences.push_back(std::abs(smoothedAt(lit, x, y) - smoothDark.at(x, y)));
            }
        }
    }
    if (differences.empty()) {
        return 1;
    }
    const auto middle = differences.begin() + differences.size() / 2;
    std::nth_element(differences.begin(), middle, differences.end());
    return std::max(0.1, 1.4826 * *middle / std::sqrt(2.0));
}

// Edge pixels of the smoothed dark picture at least half a pitch from every LED, each with the
// LEDs whose light can reach it.
void MotionCheck::chooseSamples(const FloatPlane& smoothDark, const PointBuckets& leds,
                                double pitch, double noise) {
    const double reach = kNear * pitch + 2 * kSmoothing;
    const double clear = 0.5 * pitch + 2 * kSmoothing;
    const int margin = static_cast<int>(m_kernel.size() / 2) + 2;
    std::vector<Sample> edges;
    for (int y = margin; y < smoothDark.height() - margin; y += 2) {
        for (int x = margin; x < smoothDark.width() - margin; x += 2) {
            const float gx = 0.5f * (smoothDark.at(x + 1, y) - smoothDark.at(x - 1, y));
            const float gy = 0.5f * (smoothDark.at(x, y + 1) - smoothDark.at(x, y - 1));
            const PicturePoint at{double(x), double(y)};
            const double least = kMinEdge * noise;
            if (gx * gx + gy * gy < least * least || leds.nearest(at, clear) >= 0) {
                continue;
            }
            Sample s{x, y, smoothDark.at(x, y), gx, gy, {}, 0};
            const std::vector<int> near = leds.within(at, reach);
            if (near.size() > s.near.size()) {
                continue;
            }
            for (int led : near) {
                s.near[s.nearCount++] = led;
            }
            edges.push_back(s);
        }
    }
    const size_t stride = edges.size() / kMaxPixels + 1;
    for (size_t k = 0; k < edges.size(); k += stride) {
        m_samples.push_back(edges[k]);
    }
}

// The spread of lit - dark over the edge pixels no LED reaches (median absolute deviation);
// 0 when there are too few of them to tell.
double MotionCheck::edgeNoiseOfTwo(const GreyPicture& lit) const {
    std::vector<double> differences;
    for (const Sample& s : m_samples) {
        if (s.nearCount == 0) {
            differences.push_back(smoothedAt(lit, s.x, s.y) - s.dark);
        }
    }
    if (differences.size() < static_cast<size_t>(kMinPixels)) {
        return 0;
    }
    const auto middle = differences.begin() + differences.size() / 2;
    std::nth_element(differences.begin(), middle, differences.end());
    const double centre = *middle;
    for (double& d : differences) {
        d = std::abs(d - centre);
    }
    std::nth_element(differences.begin(), middle, differences.end());
    return 1.4826 * *middle;
}

// A nudge of half a pitch or more could put a lit LED at its neighbour's place: shifted copies
// of the dark picture itself tell whether every such nudge would show.
bool MotionCheck::showsEveryNudge(const FloatPlane& smoothDark, double smallestPitch) const {
    for (const double pitches : {0.75, 1.0, 1.5, 2.0}) {
        for (int direction = 0; direction < 8; ++direction) {
            const double angle = direction * std::atan(1.0);
            const PicturePoint shift{pitches * smallestPitch * std::cos(angle),
                                     pitches * smallestPitch * std::sin(angle)};
            std::vector<double> before;
            std::vector<double> after;
            for (const Sample& s : m_samples) {
                before.push_back(s.dark);
                after.push_back(smoothDark.sampled(s.x + shift.x, s.y + shift.y));
            }
            const Comparison c = compare(before, after, outlierLevel());
            if (c.mismatch < kSensitivity * allowedMismatch(1) &&
                c.changedShare < kSensitivity * kMaxChangedShare) {
                return false;
            }
        }
    }
    return true;
}

double MotionCheck::allowedMismatch(double gain) const {
    return kMismatchFactor * m_noiseOfTwo * std::max(1.0, gain) + kMismatchFloor;
}

double MotionCheck::outlierLevel() const {
    return kOutlierFactor * m_noiseOfTwo + kOutlierFloor;
}

// now ~ gain x dark + offset by least squares; what it leaves, as an RMS of all but the largest
// residuals and as the share of samples it leaves more than `level` (scaled by the gain found
// when above 1: a brighter exposure carries more noise).
MotionCheck::Comparison MotionCheck::compare(const std::vector<double>& dark,
                                             const std::vector<double>& now, double level) {
    Comparison c;
    const double n = static_cast<double>(dark.size());
    double sx = 0;
    double sy = 0;
    double sxx = 0;
    double sxy = 0;
    for (size_t k = 0; k < dark.size(); ++k) {
        sx += dark[k];
        sy += now[k];
        sxx += dark[k] * dark[k];
        sxy += dark[k] * now[k];
    }
    const double vx = sxx - sx * sx / n;
    c.gain = vx > 0 ? (sxy - sx * sy / n) / vx : 1.0;
    const double offset = (sy - c.gain * sx) / n;
    const double scaledLevel = level * std::max(1.0, c.gain);
    std::vector<double> squares;
    int changed = 0;
    for (size_t k = 0; k < dark.size(); ++k) {
        const double r = now[k] - (c.gain * dark[k] + offset);
        squares.push_back(r * r);
        changed += std::abs(r) > scaledLevel ? 1 : 0;
    }
    // The largest kMaxChangedShare of the residuals are left out of the RMS, so that a small
    // patch of changed light (a lamp's reflection beside the module) passes both tests alike.
    const auto kept = static_cast<size_t>(std::ceil((1 - kMaxChangedShare) * n));
    std::nth_element(squares.begin(), squares.begin() + (kept - 1), squares.end());
    double sum = 0;
    for (size_t k = 0; k < kept; ++k) {
        sum += squares[k];
    }
    c.mismatch = std::sqrt(sum / static_cast<double>(kept));
    c.changedShare = changed / n;
    return c;
}

double MotionCheck::smoothedAt(const GreyPicture& picture, int x, int y) const {
    const int r = static_cast<int>(m_kernel.size() / 2);
    double sum = 0;
    for (int j = -r; j <= r; ++j) {
        const std::uint8_t* row = picture.bytes + static_cast<long>(y + j) * picture.stride + x;
        double across = 0;
        for (int i = -r; i <= r; ++i) {
            across += m_kernel[i + r] * row[i];
        }
        sum += m_kernel[j + r] * across;
    }
    return sum;
}

std::vector<bool> MotionCheck::quietSamples(const std::vector<float>& scores) const {
    std::vector<bool> used(m_samples.size(), true);
    for (size_t k = 0; k < m_samples.size(); ++k) {
        const Sample& s = m_samples[k];
        for (int n = 0; n < s.nearCount; ++n) {
            if (scores[s.near[n]] > kQuietScore) {
                used[k] = false;
            }
        }
    }
    return used;
}

// A small shift, estimated by adding - gain x (gradient . shift) to the gain-and-offset fit,
// which is linear in (gain, offset, gain x shift).
PicturePoint MotionCheck::smallShift(const std::vector<size_t>& used,
                                     const std::vector<double>& now) const {
    Eigen::Matrix4d normal = Eigen::Matrix4d::Zero();
    Eigen::Vector4d right = Eigen::Vector4d::Zero();
    for (size_t k = 0; k < used.size(); ++k) {
        const Sample& s = m_samples[used[k]];
        const Eigen::Vector4d row(s.dark, 1.0, -s.gx, -s.gy);
        normal += row * row.transpose();
        right += row * now[k];
    }
    const Eigen::Vector4d p = normal.ldlt().solve(right);
    if (std::abs(p(0)) < 1e-9) {
        return {};
    }
    return {p(2) / p(0), p(3) / p(0)};
}

MotionResult MotionCheck::check(const GreyPicture& picture,
                                const std::vector<float>& scores) const {
    MotionResult result;
    if (!m_canCheck) {
        return result;
    }
    const std::vector<bool> quiet = quietSamples(scores);
    std::vector<size_t> used;
    std::vector<double> dark;
    std::vector<double> now;
    for (size_t k = 0; k < m_samples.size(); ++k) {
        if (quiet[k]) {
            used.push_back(k);
            dark.push_back(m_samples[k].dark);
            now.push_back(smoothedAt(picture, m_samples[k].x, m_samples[k].y));
        }
    }
    result.pixels = static_cast<int>(used.size());
    if (result.pixels < kMinPixels) {
        return result;  // lit LEDs hide too much of what there is to compare
    }
    const Comparison c = compare(dark, now, outlierLevel());
    result.gain = c.gain;
    result.mismatch = c.mismatch;
    result.allowedMismatch = allowedMismatch(c.gain);
    result.changedShare = c.changedShare;
    result.shift = smallShift(used, now);
    const bool still = c.gain >= kMinGain && c.mismatch <= result.allowedMismatch &&
                       c.changedShare <= kMaxChangedShare &&
                       result.shift.length() <= m_allowedShift;
    result.motion = still ? Motion::Still : Motion::Moved;
    return result;
}
