#include "vision/SpotFinder.h"

#include <Eigen/Cholesky>
#include <algorithm>
#include <array>
#include <cmath>

#include "vision/ConnectedComponents.h"
#include "vision/PointBuckets.h"

namespace {

struct Peak {
    float value;
    int x;
    int y;
};

// The noise of a difference plane. Lit LEDs only add light, so the plane's negative side is
// noise alone, however much of the picture the LEDs and their halos cover: sigma is 1.4826 x
// the median size of the negative values (half of a normal distribution has the same median
// size as the whole).
float noiseSigma(const FloatPlane& plane) {
    std::vector<float> below;
    for (int y = 0; y < plane.height(); y += 2) {
        for (int x = 0; x < plane.width(); x += 2) {
            if (plane.at(x, y) < 0) {
                below.push_back(-plane.at(x, y));
            }
        }
    }
    if (below.empty()) {
        return 0;
    }
    const auto middle = below.begin() + below.size() / 2;
    std::nth_element(below.begin(), middle, below.end());
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

// Maxima that stand out from any higher one by a dip below 70 % of their height: robust
// against noise on a flat spot, but a dim LED beside a bright one can dip less and is then
// missed, so these spots serve only to measure the spacing.
std::vector<PicturePoint> prominentPeaks(const FloatPlane& s, const std::vector<Peak>& peaks) {
    ConnectedComponents components(s);
    std::vector<PicturePoint> kept;
    int label = 0;
    for (const Peak& p : peaks) {
        if (components.labelAt(p.x, p.y) != 0) {
            continue;
        }
        const Component core = components.grow(p.x, p.y, SpotFinder::kCoreShare * p.value, ++label);
        if (core.mergedInto == 0) {
            kept.push_back({double(p.x), double(p.y)});
        }
    }
    return kept;
}

// Whether `from` reaches `to` over pixels at `level` or above, going no farther than `reach`
// along either axis from `from`.
bool joined(const FloatPlane& s, const Peak& from, const Peak& to, float level, int reach) {
    const int side = 2 * reach + 1;
    std::vector<bool> seen(static_cast<size_t>(side) * side, false);
    std::vector<std::pair<int, int>> queue{{from.x, from.y}};
    seen[static_cast<size_t>(reach) * side + reach] = true;
    for (size_t next = 0; next < queue.size(); ++next) {
        const auto [x, y] = queue[next];
        if (x == to.x && y == to.y) {
            return true;
        }
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx;
            const int ny = y + dy;
            const int bx = nx - from.x + reach;
            const int by = ny - from.y + reach;
            if (bx < 0 || by < 0 || bx >= side || by >= side || !s.contains(nx, ny) ||
                seen[static_cast<size_t>(by) * side + bx] || s.at(nx, ny) < level) {
                continue;
            }
            seen[static_cast<size_t>(by) * side + bx] = true;
            queue.push_back({nx, ny});
        }
    }
    return false;
}

// The maxima that are spots: each, highest first, unless a higher one kept already lies within
// `radius` and is joined to it without a dip below kSameSpot of its height (a flat or noisy top
// gives one spot several maxima; two LEDs, however close in a foreshortened picture, have a
// dip between them).
std::vector<Spot> apart(const FloatPlane& s, const std::vector<Peak>& peaks, double radius) {
    std::vector<PicturePoint> places;
    for (const Peak& p : peaks) {
        places.push_back({double(p.x), double(p.y)});
    }
    const PointBuckets buckets(places, std::max(1.0, radius));
    const int reach = static_cast<int>(std::ceil(radius));
    std::vector<bool> kept(peaks.size(), false);
    std::vector<Spot> spots;
    for (size_t k = 0; k < peaks.size(); ++k) {
        const float level = SpotFinder::kSameSpot * peaks[k].value;
        bool same = false;
        for (int near : buckets.within(places[k], radius)) {
            same = same || (kept[near] && joined(s, peaks[k], peaks[near], level, reach));
        }
        if (!same) {
            kept[k] = true;
            spots.push_back({places[k], peaks[k].value});
        }
    }
    return spots;
}

// The peaks at least kStrongShare of the one at the 90th percentile: enough for the spacing,
// without the many faint maxima of noise whose floods would cover the background.
std::vector<Peak> strongest(const std::vector<Peak>& peaks) {
    if (peaks.empty()) {
        return {};
    }
    const float level = SpotFinder::kStrongShare * peaks[peaks.size() / 10].value;
    std::vector<Peak> strong;
    for (const Peak& p : peaks) {
        if (p.value < level) {
            break;  // the peaks come highest first
        }
        strong.push_back(p);
    }
    return strong;
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

// The light a spot stands on near its maximum: a plane fitted to the ring of pixels between
// `inner` and `outer` px from it. Beside an LED on the module's edge the neighbours' tails and
// halos rise towards the inside; taking away their slope keeps the centre from leaning that way.
std::array<double, 3> groundPlane(const FloatPlane& s, int cx, int cy, double inner, double outer) {
    const int r = static_cast<int>(std::ceil(outer));
    Eigen::Matrix3d normal = Eigen::Matrix3d::Zero();
    Eigen::Vector3d right = Eigen::Vector3d::Zero();
    for (int y = std::max(0, cy - r); y <= std::min(s.height() - 1, cy + r); ++y) {
        for (int x = std::max(0, cx - r); x <= std::min(s.width() - 1, cx + r); ++x) {
            const double d = std::hypot(x - cx, y - cy);
            if (d < inner || d > outer) {
                continue;
            }
            const Eigen::Vector3d row(1.0, x - cx, y - cy);
            normal += row * row.transpose();
            right += row * s.at(x, y);
        }
    }
    const Eigen::Vector3d p = normal.ldlt().solve(right);
    return {p(0), p(1), p(2)};
}

// The centroid of the part of a spot above half its height over the plane it stands on,
// within `reach` of its maximum: symmetric for any symmetric spot.
PicturePoint upperHalfCentroid(const FloatPlane& s, const Spot& spot, double reach) {
    const int cx = static_cast<int>(spot.centre.x);
    const int cy = static_cast<int>(spot.centre.y);
    const int r = static_cast<int>(std::ceil(reach));
    const std::array<double, 3> ground = groundPlane(s, cx, cy, 0.7 * reach, reach);
    const double level = 0.5 * (spot.height - ground[0]);
    double sum = 0;
    double sumX = 0;
    double sumY = 0;
    for (int y = std::max(0, cy - r); y <= std::min(s.height() - 1, cy + r); ++y) {
        for (int x = std::max(0, cx - r); x <= std::min(s.width() - 1, cx + r); ++x) {
            const double w =
                s.at(x, y) - (ground[0] + ground[1] * (x - cx) + ground[2] * (y - cy)) - level;
            if (w <= 0 || std::hypot(x - cx, y - cy) > reach) {
                continue;
            }
            sum += w;
            sumX += w * x;
            sumY += w * y;
        }
    }
    if (sum <= 0) {
        return spot.centre;
    }
    return {sumX / sum, sumY / sum};
}

}  // namespace

double SpotFinder::typicalSpacing(const std::vector<PicturePoint>& points) {
    if (points.size() < 2) {
        return 0;
    }
    double x0 = points.front().x;
    double x1 = x0;
    double y0 = points.front().y;
    double y1 = y0;
    for (const PicturePoint& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    // Buckets of about the mean area a point has to itself hold few points each; the search
    // widens from there until it finds a neighbour.
    const double cell =
        std::max(2.0, std::sqrt((x1 - x0 + 1) * (y1 - y0 + 1) / double(points.size())));
    const PointBuckets buckets(points, cell);
    std::vector<double> distances;
    for (const PicturePoint& c : points) {
        for (double reach = cell; reach < 1e6; reach *= 2) {
            double nearest = 0;
            for (int i : buckets.within(c, reach)) {
                const double d = (points[i] - c).length();
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
    if (distances.empty()) {
        return 0;
    }
    std::nth_element(distances.begin(), distances.begin() + distances.size() / 2, distances.end());
    return distances[distances.size() / 2];
}

double SpotFinder::typicalSpacing(const std::vector<Spot>& spots) {
    return typicalSpacing(centresOf(spots));
}

std::vector<Spot> SpotFinder::find(const FloatPlane& difference) const {
    const FloatPlane smoothed = difference.gaussianSmoothed(kSmoothing);
    const float floor =
        m_noiseFactor > 0
            ? std::max(m_minimumHeight, static_cast<float>(m_noiseFactor) * noiseSigma(smoothed))
            : m_minimumHeight;
    const std::vector<Peak> peaks = peaksAbove(smoothed, floor);
    const double spacing = typicalSpacing(prominentPeaks(smoothed, strongest(peaks)));
    if (spacing <= 0) {
        return apart(smoothed, peaks, 1);
    }
    std::vector<Spot> spots = withoutHaloBumps(apart(smoothed, peaks, kApart * spacing), spacing);
    for (Spot& s : spots) {
        s.centre = upperHalfCentroid(smoothed, s, std::max(1.5, kReach * spacing));
    }
    return spots;
}
