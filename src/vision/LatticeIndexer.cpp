#include "vision/LatticeIndexer.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <optional>
#include <utility>

#include "vision/PointBuckets.h"

namespace {

using Cell = std::pair<int, int>;  // (i, j)

struct Start {
    int point;
    PicturePoint across;  // towards column i + 1
    PicturePoint down;    // towards row j + 1
};

double cross(PicturePoint a, PicturePoint b) {
    return a.x * b.y - a.y * b.x;
}

// The partner of v among the others: the one pointing the opposite way, within tolerance.
std::optional<size_t> opposite(const std::vector<PicturePoint>& v, size_t of) {
    for (size_t k = 0; k < v.size(); ++k) {
        if (k != of &&
            (v[of] + v[k]).length() <= LatticeIndexer::kOppositeTolerance * v[of].length()) {
            return k;
        }
    }
    return std::nullopt;
}

// The two lattice vectors at a point whose four nearest neighbours pair up as +-a and +-b.
std::optional<Start> crossAt(const std::vector<PicturePoint>& points, const PointBuckets& buckets,
                             int point, double spacing) {
    // Widening the search finds the neighbours of a lattice coarser than the typical spacing
    // (LEDs among finer texture).
    std::vector<int> near;
    for (double reach = 1.6 * spacing; near.size() < 4 && reach < 20 * spacing; reach *= 2) {
        near = buckets.within(points[point], reach);
        near.erase(std::remove(near.begin(), near.end(), point), near.end());
    }
    if (near.size() < 4) {
        return std::nullopt;
    }
    std::partial_sort(near.begin(), near.begin() + 4, near.end(), [&](int a, int b) {
        return (points[a] - points[point]).length() < (points[b] - points[point]).length();
    });
    std::vector<PicturePoint> v;
    for (int k = 0; k < 4; ++k) {
        v.push_back(points[near[k]] - points[point]);
    }
    const auto partner = opposite(v, 0);
    if (!partner) {
        return std::nullopt;
    }
    std::vector<size_t> rest;
    for (size_t k = 1; k < 4; ++k) {
        if (k != *partner) {
            rest.push_back(k);
        }
    }
    PicturePoint a = 0.5 * (v[0] - v[*partner]);
    PicturePoint b = 0.5 * (v[rest[0]] - v[rest[1]]);
    if ((v[rest[0]] + v[rest[1]]).length() > LatticeIndexer::kOppositeTolerance * b.length() ||
        std::abs(cross(a, b)) < 0.5 * a.length() * b.length()) {
        return std::nullopt;
    }
    if (std::abs(a.x) * b.length() < std::abs(b.x) * a.length()) {
        std::swap(a, b);  // `a` is the one nearer the x axis
    }
    return Start{point, a.x < 0 ? -1.0 * a : a, b.y < 0 ? -1.0 * b : b};
}

// Points in the order they are tried as a start: nearest the middle of them all first.
std::vector<int> startOrder(const std::vector<PicturePoint>& points) {
    std::vector<double> xs;
    std::vector<double> ys;
    for (const PicturePoint& p : points) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    std::nth_element(xs.begin(), xs.begin() + xs.size() / 2, xs.end());
    std::nth_element(ys.begin(), ys.begin() + ys.size() / 2, ys.end());
    const PicturePoint middle{xs[xs.size() / 2], ys[ys.size() / 2]};
    std::vector<int> order(points.size());
    for (int k = 0; k < static_cast<int>(order.size()); ++k) {
        order[k] = k;
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return (points[a] - middle).length() < (points[b] - middle).length();
    });
    return order;
}

// The walk's state: which point holds each place, and the lattice vectors each point learned.
class Walk {
public:
    Walk(const std::vector<PicturePoint>& points, double spacing)
        : m_points(points),
          m_buckets(points, std::max(1.0, spacing)),
          m_cellOf(points.size(), std::nullopt),
          m_steps(points.size()) {}

    void run(const Start& start) {
        place(start.point, {0, 0}, {start.across, start.down});
        while (!m_queue.empty()) {
            const int point = m_queue.front();
            m_queue.pop_front();
            for (const auto& [di, dj] : {Cell{1, 0}, Cell{-1, 0}, Cell{0, 1}, Cell{0, -1}}) {
                stepFrom(point, di, dj);
            }
        }
    }

    IndexedLattice lattice() const;

private:
    using Steps = std::pair<PicturePoint, PicturePoint>;  // across, down

    void place(int point, Cell cell, Steps steps) {
        m_cellOf[point] = cell;
        m_pointAt[cell] = point;
        m_steps[point] = steps;
        m_queue.push_back(point);
    }

    // The step to the neighbour in direction (di, dj): continuing the line when the point
    // behind is known, else the vector this point learned.
    PicturePoint predictedStep(int point, Cell cell, int di, int dj) const {
        const auto behind = m_pointAt.find({cell.first - di, cell.second - dj});
        if (behind != m_pointAt.end()) {
            return m_points[point] - m_points[behind->second];
        }
        const PicturePoint unit = di != 0 ? m_steps[point].first : m_steps[point].second;
        return (di + dj) * unit;
    }

    void stepFrom(int point, int di, int dj) {
        const Cell cell = *m_cellOf[point];
        const Cell next{cell.first + di, cell.second + dj};
        const PicturePoint step = predictedStep(point, cell, di, dj);
        const int found = m_buckets.nearest(m_points[point] + step, kCatch * step.length());
        if (found < 0) {
            return;
        }
        const auto holder = m_pointAt.find(next);
        if (m_cellOf[found]) {
            m_conflicts += (*m_cellOf[found] != next) ? 1 : 0;
            return;
        }
        if (holder != m_pointAt.end()) {
            ++m_conflicts;
            return;
        }
        Steps learned = m_steps[point];
        const PicturePoint measured = (di + dj) * (m_points[found] - m_points[point]);
        (di != 0 ? learned.first : learned.second) = measured;
        place(found, next, learned);
    }

    static constexpr double kCatch = LatticeIndexer::kCatchRadius;
    const std::vector<PicturePoint>& m_points;
    PointBuckets m_buckets;
    std::vector<std::optional<Cell>> m_cellOf;
    std::vector<Steps> m_steps;
    std::map<Cell, int> m_pointAt;
    std::deque<int> m_queue;
    int m_conflicts = 0;
};

IndexedLattice Walk::lattice() const {
    IndexedLattice out;
    int i0 = 0;
    int j0 = 0;
    int i1 = 0;
    int j1 = 0;
    for (const auto& [cell, point] : m_pointAt) {
        i0 = std::min(i0, cell.first);
        i1 = std::max(i1, cell.first);
        j0 = std::min(j0, cell.second);
        j1 = std::max(j1, cell.second);
    }
    out.columns = i1 - i0 + 1;
    out.rows = j1 - j0 + 1;
    out.pointAt.assign(static_cast<size_t>(out.columns) * out.rows, -1);
    for (const auto& [cell, point] : m_pointAt) {
        out.pointAt[static_cast<size_t>(cell.second - j0) * out.columns + (cell.first - i0)] =
            point;
    }
    out.indexed = static_cast<int>(m_pointAt.size());
    out.conflicts = m_conflicts;
    for (int p = 0; p < static_cast<int>(m_points.size()); ++p) {
        if (!m_cellOf[p]) {
            out.leftOver.push_back(p);
        }
    }
    return out;
}

}  // namespace

// Most pictures need one walk: it starts on the module and takes every point. Among other
// light (a room's texture) a start may fall off the LEDs; then a few more starts are tried, at
// points no earlier walk took, and the largest lattice wins.
IndexedLattice LatticeIndexer::index(const std::vector<PicturePoint>& points, double spacing) {
    if (points.size() < 5 || spacing <= 0) {
        return {};
    }
    const PointBuckets buckets(points, std::max(1.0, spacing));
    std::vector<bool> taken(points.size(), false);
    IndexedLattice best;
    int walks = 0;
    int tries = 0;
    for (int candidate : startOrder(points)) {
        if (walks == kMaxWalks || tries++ == kMaxStarts) {
            break;
        }
        if (taken[candidate]) {
            continue;
        }
        const std::optional<Start> start = crossAt(points, buckets, candidate, spacing);
        if (!start) {
            continue;
        }
        Walk walk(points, spacing);
        walk.run(*start);
        IndexedLattice lattice = walk.lattice();
        ++walks;
        for (int p : lattice.pointAt) {
            if (p >= 0) {
                taken[p] = true;
            }
        }
        if (lattice.indexed > best.indexed) {
            best = std::move(lattice);
        }
        if (2 * best.indexed >= static_cast<int>(points.size())) {
            break;
        }
    }
    return best;
}
