#include "vision/PointBuckets.h"

#include <algorithm>
#include <cmath>

PointBuckets::PointBuckets(const std::vector<PicturePoint>& points, double bucketSize)
    : m_points(points), m_size(bucketSize) {
    if (points.empty()) {
        m_buckets.resize(1);
        return;
    }
    double right = points.front().x;
    double bottom = points.front().y;
    m_left = right;
    m_top = bottom;
    for (const PicturePoint& p : points) {
        m_left = std::min(m_left, p.x);
        m_top = std::min(m_top, p.y);
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    }
    m_columns = static_cast<int>((right - m_left) / m_size) + 1;
    m_rows = static_cast<int>((bottom - m_top) / m_size) + 1;
    m_buckets.resize(static_cast<size_t>(m_columns) * m_rows);
    for (int i = 0; i < static_cast<int>(points.size()); ++i) {
        const int bx = static_cast<int>((points[i].x - m_left) / m_size);
        const int by = static_cast<int>((points[i].y - m_top) / m_size);
        m_buckets[static_cast<size_t>(by) * m_columns + bx].push_back(i);
    }
}

template <typename Visit>
void PointBuckets::visitNear(PicturePoint at, double radius, Visit visit) const {
    const auto bucket = [this](double v, double origin, int count) {
        return std::clamp(static_cast<int>(std::floor((v - origin) / m_size)), -1, count);
    };
    const int x0 = std::max(0, bucket(at.x - radius, m_left, m_columns));
    const int x1 = std::min(m_columns - 1, bucket(at.x + radius, m_left, m_columns));
    const int y0 = std::max(0, bucket(at.y - radius, m_top, m_rows));
    const int y1 = std::min(m_rows - 1, bucket(at.y + radius, m_top, m_rows));
    for (int by = y0; by <= y1; ++by) {
        for (int bx = x0; bx <= x1; ++bx) {
            for (int i : m_buckets[static_cast<size_t>(by) * m_columns + bx]) {
                const double dx = m_points[i].x - at.x;
                const double dy = m_points[i].y - at.y;
                const double d2 = dx * dx + dy * dy;
                if (d2 <= radius * radius) {
                    visit(i, d2);
                }
            }
        }
    }
}

int PointBuckets::nearest(PicturePoint at, double radius) const {
    int best = -1;
    double bestSquare = 0;
    visitNear(at, radius, [&](int i, double squareDistance) {
        if (best < 0 || squareDistance < bestSquare) {
            best = i;
            bestSquare = squareDistance;
        }
    });
    return best;
}

std::vector<int> PointBuckets::within(PicturePoint at, double radius) const {
    std::vector<int> found;
    visitNear(at, radius, [&](int i, double) { found.push_back(i); });
    return found;
}
