#include "vision/MotionCheck.h"

#include <algorithm>
#include <cmath>

#include "vision/PointBuckets.h"

namespace {

constexpr int kSide = 2 * MotionCheck::kPatchRadius + 1;
constexpr int kArea = kSide * kSide;

struct Candidate {
    double texture;  // the weaker direction's gradient energy a pixel
    int x;
    int y;
};

// The smaller eigenvalue of the structure tensor over the patch, a pixel: large only when the
// patch changes along both directions.
double weakerGradient(const GreyPicture& p, int cx, int cy) {
    const int r = MotionCheck::kPatchRadius;
    double gxx = 0;
    double gyy = 0;
    double gxy = 0;
    for (int y = cy - r; y <= cy + r; ++y) {
        for (int x = cx - r; x <= cx + r; ++x) {
            const double gx = 0.5 * (p.at(x + 1, y) - p.at(x - 1, y));
            const double gy = 0.5 * (p.at(x, y + 1) - p.at(x, y - 1));
            gxx += gx * gx;
            gyy += gy * gy;
            gxy += gx * gy;
        }
    }
    const double half = 0.5 * (gxx + gyy);
    const double root = std::sqrt(0.25 * (gxx - gyy) * (gxx - gyy) + gxy * gxy);
    return (half - root) / kArea;
}

// The patch's pixels with their mean removed, scaled to unit length; empty when its standard
// deviation is below the minimum contrast.
std::vector<float> normalisedPatch(const GreyPicture& p, int cx, int cy, double minContrast) {
    const int r = MotionCheck::kPatchRadius;
    std::vector<float> values;
    values.reserve(kArea);
    double sum = 0;
    for (int y = cy - r; y <= cy + r; ++y) {
        for (int x = cx - r; x <= cx + r; ++x) {
            values.push_back(static_cast<float>(p.at(x, y)));
            sum += p.at(x, y);
        }
    }
    const double mean = sum / kArea;
    double squares = 0;
    for (float& v : values) {
        v = static_cast<float>(v - mean);
        squares += double(v) * v;
    }
    if (std::sqrt(squares / kArea) < minContrast) {
        return {};
    }
    const double norm = std::sqrt(squares);
    for (float& v : values) {
        v = static_cast<float>(v / norm);
    }
    return values;
}

// Where a parabola through three samples peaks, relative to the middle one (-0.5 .. 0.5 when
// the middle one is the largest).
double parabolaPeak(double before, double middle, double after) {
    const double curvature = before - 2 * middle + after;
    if (curvature >= 0) {
        return 0;
    }
    return std::clamp(0.5 * (before - after) / curvature, -0.5, 0.5);
}

double median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

}  // namespace

MotionCheck::MotionCheck(const GreyPicture& dark, const std::vector<PicturePoint>& avoid,
                         double keepOut, double allowedShift)
    : m_allowedShift(allowedShift), m_searchRadius(static_cast<int>(std::ceil(allowedShift)) + 2) {
    const int margin = kPatchRadius + m_searchRadius + 1;
    const PointBuckets near(avoid, std::max(1.0, keepOut));
    std::vector<Candidate> candidates;
    for (int y = margin; y < dark.height - margin; y += kSide) {
        for (int x = margin; x < dark.width - margin; x += kSide) {
            if (near.nearest({double(x), double(y)}, keepOut) >= 0) {
                continue;
            }
            const double texture = weakerGradient(dark, x, y);
            if (texture >= kMinGradient * kMinGradient) {
                candidates.push_back({texture, x, y});
            }
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.texture > b.texture; });
    for (const Candidate& c : candidates) {
        const bool crowded = std::any_of(m_patches.begin(), m_patches.end(), [&](const Patch& p) {
            return std::abs(p.x - c.x) < 2 * kSide && std::abs(p.y - c.y) < 2 * kSide;
        });
        if (crowded) {
            continue;
        }
        std::vector<float> values = normalisedPatch(dark, c.x, c.y, kMinContrast);
        if (!values.empty()) {
            m_patches.push_back({c.x, c.y, std::move(values)});
        }
        if (static_cast<int>(m_patches.size()) == kMaxPatches) {
            break;
        }
    }
}

double MotionCheck::correlation(const Patch& patch, const GreyPicture& picture, int dx,
                                int dy) const {
    const int r = kPatchRadius;
    double sum = 0;
    double squares = 0;
    double product = 0;
    const float* reference = patch.values.data();
    for (int y = patch.y + dy - r; y <= patch.y + dy + r; ++y) {
        const std::uint8_t* row = picture.bytes + static_cast<long>(y) * picture.stride;
        for (int x = patch.x + dx - r; x <= patch.x + dx + r; ++x) {
            const double v = row[x];
            sum += v;
            squares += v * v;
            product += *reference++ * v;
        }
    }
    // The reference has zero mean, so the picture's mean drops out of the product.
    const double variance = squares - sum * sum / kArea;
    return variance > 0 ? product / std::sqrt(variance) : 0.0;
}

// The patch's shift in the picture: the best correlation within the search window, refined to
// a fraction of a pixel. False when no place correlates well enough.
bool MotionCheck::bestShift(const Patch& patch, const GreyPicture& picture,
                            PicturePoint& shift) const {
    const int s = m_searchRadius;
    std::vector<double> c(static_cast<size_t>(2 * s + 1) * (2 * s + 1));
    const auto at = [&](int dx, int dy) -> double& {
        return c[static_cast<size_t>(dy + s) * (2 * s + 1) + (dx + s)];
    };
    int bestX = 0;
    int bestY = 0;
    for (int dy = -s; dy <= s; ++dy) {
        for (int dx = -s; dx <= s; ++dx) {
            at(dx, dy) = correlation(patch, picture, dx, dy);
            if (at(dx, dy) > at(bestX, bestY)) {
                bestX = dx;
                bestY = dy;
            }
        }
    }
    if (at(bestX, bestY) < kMatch) {
        return false;
    }
    shift = {double(bestX), double(bestY)};
    if (std::abs(bestX) < s) {
        shift.x += parabolaPeak(at(bestX - 1, bestY), at(bestX, bestY), at(bestX + 1, bestY));
    }
    if (std::abs(bestY) < s) {
        shift.y += parabolaPeak(at(bestX, bestY - 1), at(bestX, bestY), at(bestX, bestY + 1));
    }
    return true;
}

MotionResult MotionCheck::check(const GreyPicture& picture) const {
    MotionResult result;
    result.patches = patchCount();
    if (!canCheck()) {
        return result;
    }
    std::vector<double> xs;
    std::vector<double> ys;
    for (const Patch& patch : m_patches) {
        PicturePoint shift;
        if (bestShift(patch, picture, shift)) {
            xs.push_back(shift.x);
            ys.push_back(shift.y);
        }
    }
    result.matched = static_cast<int>(xs.size());
    if (2 * result.matched <= result.patches) {
        result.motion = Motion::Moved;
        return result;
    }
    result.shift = {median(xs), median(ys)};
    result.motion = result.shift.length() > m_allowedShift ? Motion::Moved : Motion::Still;
    return result;
}
