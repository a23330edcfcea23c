#include "vision/SpotFinder.h"

#include <algorithm>
#include <cmath>

#include "vision/ConnectedComponents.h"
#include "vision/PointBuckets.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Peak {
    float value;
    int x;
    int y;
};

// Noise sigma from the median absolute deviation, which the spots (a minority of the pixels)
// hardly move.
float noiseSigma(const FloatPlane& plane) {
    std::vector<float> values;
    for (int y = 0; y < plane.height(); y += 2) {
        for (int x = 0; x < plane.width(); x += 2) {
            values.push_back(plane.at(x, y));
        }
    }
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    const float median = *middle;
    for (float& v : values) {
        v = std::abs(v - median);
    }
    std::nth_element(values.begin(), middle, values.end());
    return 1.4826f * *middle;
}

// A pixel is a peak when it beats its earlier neighbours and at least ties its later ones, so
// a flat top yields one peak, not one per pixel.
bool isPeak(const FloatPlane& s, int x, int y) {
    const float v = s.at(x, y);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const bool earlier = dy < 0 || (dy == 0 && dx < 0);
            const float n = s.at(x + dx, y + dy);
            if ((earlier && n >= v) || (!earlier && n > v)) {
                return false;
            }
        }
    }
    return true;
}

std::vector<Peak> peaksAbove(const FloatPlane& s, float floor) {
    std::vector<Peak> peaks;
    for (int y = 1; y + 1 < s.height(); ++y) {
        for (int x = 1; x + 1 < s.width(); ++x) {
            if (s.at(x, y) >= floor && isPeak(s, x, y)) {
                peaks.push_back({s.at(x, y), x, y});
            }
        }
    }
    std::sort(peaks.begin(), peaks.end(),
              [](const Peak& a, const Peak& b) { return a.value > b.value; });
    return peaks;
}

std::vector<Spot> prominentSpots(const FloatPlane& s, const std::vector<Peak>& peaks) {
    ConnectedComponents components(s);
    std::vector<Spot> spots;
    int label = 0;
    for (const Peak& p : peaks) {
        if (components.labelAt(p.x, p.y) != 0) {
            continue;
        }
        const Component core = components.grow(p.x, p.y, SpotFinder::kCoreShare * p.value, ++label);
        if (core.mergedInto != 0) {
            continue;
        }
        const auto radius = static_cast<float>(std::sqrt(core.area / kPi));
        spots.push_back({PicturePoint{double(p.x), double(p.y)}, p.value, radius});
    }
    return spots;
}

std::vector<PicturePoint> centresOf(const std::vector<Spot>& spots) {
    std::vector<PicturePoint> centres;
    centres.reserve(spots.size());
    for (const Spot& s : spots) {
        centres.push_back(s.centre);
    }
    return centres;
}

std::vector<Spot> withoutHaloBumps(const std::vector<Spot>& spots, double spacing) {
    const std::vector<PicturePoint> centres = centresOf(spots);
    const PointBuckets buckets(centres, std::max(1.0, spacing));
    std::vector<Spot> kept;
    for (const Spot& s : spots) {
        float highest = s.height;
        for (int i : buckets.within(s.centre, SpotFinder::kNeighbourhood * spacing)) {
            highest = std::max(highest, spots[i].height);
        }
        if (s.height >= SpotFinder::kNeighbourShare * highest) {
            kept.push_back(s);
        }
    }
    return kept;
}

// The centroid of the part of a spot above half its height, within `reach` of its maximum:
// symmetric for any symmetric spot, and it leaves out the neighbours' tails, which stay below
// half height at a spot's own place.
PicturePoint upperHalfCentroid(const FloatPlane& s, const Spot& spot, double reach) {
    const int cx = static_cast<int>(spot.centre.x);
    const int cy = static_cast<int>(spot.centre.y);
    const int r = static_cast<int>(std::ceil(reach));
    const float level = 0.5f * spot.height;
    double sum = 0;
    double sumX = 0;
    double sumY = 0;
    for (int y = std::max(0, cy - r); y <= std::min(s.height() - 1, cy + r); ++y) {
        for (int x = std::max(0, cx - r); x <= std::min(s.width() - 1, cx + r); ++x) {
            const double w = s.at(x, y) - level;
            if (w <= 0 || std::hypot(x - cx, y - cy) > reach) {
                continue;
            }
            sum += w;
            sumX += w * x;
            sumY += w * y;
        }
    }
    return {sumX / sum, sumY / sum};
}

}  // namespace

double SpotFinder::typicalSpacing(const std::vector<Spot>& spots) {
    if (spots.size() < 2) {
        return 0;
    }
    const std::vector<PicturePoint> centres = centresOf(spots);
    double largest = 0;
    for (const Spot& s : spots) {
        largest = std::max(largest, double(s.radius));
    }
    // Buckets as large as a spot's core hold few points each; the search widens until it
    // finds a neighbour.
    const PointBuckets buckets(centres, std::max(2.0, 2 * largest));
    std::vector<double> distances;
    for (const PicturePoint& c : centres) {
        for (double reach = std::max(4.0, 4 * largest); reach < 1e6; reach *= 2) {
            double nearest = 0;
            for (int i : buckets.within(c, reach)) {
                const double d = (centres[i] - c).length();
                if (d > 0 && (nearest == 0 || d < nearest)) {
                    nearest = d;
                }
            }
            if (nearest > 0) {
                distances.push_back(nearest);
                break;
            }
        }
    }
    std::nth_element(distances.begin(), distances.begin() + distances.size() / 2, distances.end());
    return distances[distances.size() / 2];
}

std::vector<Spot> SpotFinder::find(const FloatPlane& difference) const {
    const FloatPlane smoothed = difference.gaussianSmoothed(kSmoothing);
    const float floor =
        m_noiseFactor > 0
            ? std::max(m_minimumHeight, static_cast<float>(m_noiseFactor) * noiseSigma(smoothed))
            : m_minimumHeight;
    std::vector<Spot> spots = prominentSpots(smoothed, peaksAbove(smoothed, floor));
    const double spacing = typicalSpacing(spots);
    if (spacing <= 0) {
        return spots;
    }
    spots = withoutHaloBumps(spots, spacing);
    for (Spot& s : spots) {
        const double reach = std::clamp(0.45 * spacing, 1.5, 3.0 * s.radius + 1.0);
        s.centre = upperHalfCentroid(smoothed, s, reach);
    }
    return spots;
}
