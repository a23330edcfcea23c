#include "vision/MotionCheck.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "vision/FloatPlane.h"
#include "vision/PointBuckets.h"

namespace {

// The noise of the smoothed picture: the median absolute difference of the two smoothed
// calibration pictures where no LED's light reaches (it carries the noise of both pictures).
double smoothedNoise(const FloatPlane& dark, const FloatPlane& lit, const PointBuckets& leds,
                     double reach) {
    std::vector<double> differences;
    for (int y = 0; y < dark.height(); y += 3) {
        for (int x = 0; x < dark.width(); x += 3) {
            if (leds.nearest({double(x), double(y)}, reach) < 0) {
                differences.push_back(std::abs(lit.at(x, y) - dark.at(x, y)));
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
    const FloatPlane smoothLit = FloatPlane::fromPicture(lit).gaussianSmoothed(kSmoothing);
    const double reach = kNear * pitch + 2 * kSmoothing;
    const PointBuckets buckets(leds, std::max(1.0, reach));
    const double noise = smoothedNoise(smoothDark, smoothLit, buckets, reach);
    // Still pictures leave the noise of two pictures; JPEG adds its share, in the margin.
    m_allowedMismatch = kMismatchFactor * noise * std::sqrt(2.0) + kMismatchFloor;
    const int margin = static_cast<int>(m_kernel.size() / 2) + 2;
    const double clear = 0.5 * pitch + 2 * kSmoothing;
    std::vector<Sample> edges;
    for (int y = margin; y < dark.height - margin; y += 2) {
        for (int x = margin; x < dark.width - margin; x += 2) {
            const float gx = 0.5f * (smoothDark.at(x + 1, y) - smoothDark.at(x - 1, y));
            const float gy = 0.5f * (smoothDark.at(x, y + 1) - smoothDark.at(x, y - 1));
            const PicturePoint at{double(x), double(y)};
            if (std::hypot(gx, gy) < kMinEdge * noise || buckets.nearest(at, clear) >= 0) {
                continue;
            }
            Sample s{x, y, smoothDark.at(x, y), gx, gy, {}, 0};
            const std::vector<int> near = buckets.within(at, reach);
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
    double xx = 0;
    double yy = 0;
    double xy = 0;
    for (size_t k = 0; k < edges.size(); k += stride) {
        m_samples.push_back(edges[k]);
        xx += double(edges[k].gx) * edges[k].gx;
        yy += double(edges[k].gy) * edges[k].gy;
        xy += double(edges[k].gx) * edges[k].gy;
    }
    if (pixelCount() < kMinPixels) {
        return;
    }
    // The mean square gradient along the weaker direction: a small shift that way raises the
    // RMS mismatch by its root times the shift. A shift of half the smallest pitch, which could
    // put a lit LED at its neighbour's place, must show clearly.
    const double weaker =
        (0.5 * (xx + yy) - std::sqrt(0.25 * (xx - yy) * (xx - yy) + xy * xy)) / pixelCount();
    m_canCheck = std::sqrt(weaker) * 0.5 * smallestPitch >= kSensitivity * m_allowedMismatch;
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

// Two least-squares fits over the samples in use: now ~ gain x dark + offset, and the same
// with - gain x (gradient . shift) added, which is linear in (gain, offset, gain x shift).
MotionCheck::Fit MotionCheck::fit(const GreyPicture& picture, const std::vector<bool>& used) const {
    Eigen::Matrix4d normal = Eigen::Matrix4d::Zero();
    Eigen::Vector4d right = Eigen::Vector4d::Zero();
    double nowSquares = 0;
    Fit f;
    for (size_t k = 0; k < m_samples.size(); ++k) {
        if (!used[k]) {
            continue;
        }
        const Sample& s = m_samples[k];
        const double now = smoothedAt(picture, s.x, s.y);
        const Eigen::Vector4d row(s.dark, 1.0, -s.gx, -s.gy);
        normal += row * row.transpose();
        right += row * now;
        nowSquares += now * now;
        ++f.pixels;
    }
    if (f.pixels < kMinPixels) {
        return f;
    }
    // The residual of a least-squares fit is sum(now^2) - p . right, from the same sums.
    const Eigen::Vector2d p2 = normal.topLeftCorner<2, 2>().ldlt().solve(right.head<2>());
    const double left2 = std::max(0.0, nowSquares - p2.dot(right.head<2>()));
    f.stillMismatch = std::sqrt(left2 / f.pixels);
    const Eigen::Vector4d p4 = normal.ldlt().solve(right);
    f.gain = p2(0);
    if (std::abs(p4(0)) > 1e-9) {
        f.shift = {p4(2) / p4(0), p4(3) / p4(0)};
    }
    return f;
}

MotionResult MotionCheck::check(const GreyPicture& picture,
                                const std::vector<float>& scores) const {
    MotionResult result;
    if (!m_canCheck) {
        return result;
    }
    const Fit f = fit(picture, quietSamples(scores));
    result.pixels = f.pixels;
    if (f.pixels < kMinPixels) {
        return result;  // lit LEDs hide too much of what there is to compare
    }
    result.mismatch = f.stillMismatch;
    result.allowedMismatch = m_allowedMismatch;
    result.shift = f.shift;
    result.gain = f.gain;
    const bool still = f.gain >= kMinGain && f.stillMismatch <= m_allowedMismatch &&
                       f.shift.length() <= m_allowedShift;
    result.motion = still ? Motion::Still : Motion::Moved;
    return result;
}
