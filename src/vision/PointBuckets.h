#pragma once

#include <vector>

#include "vision/PicturePoint.h"

// Points sorted into square buckets so that the points near a place are found without looking
// at all of them. Example: with points (0,0), (10,0), (0,10) and buckets of 8 px, nearest((9,1),
// 3) is 1 (the index of (10,0)) and nearest((5,5), 3) is -1: none lies within 3 px.
class PointBuckets {
public:
    // `bucketSize` in pixels (> 0): about the search radius the callers use. The points are
    // kept by reference and must outlive the buckets.
    PointBuckets(const std::vector<PicturePoint>& points, double bucketSize);

    // The index of the point nearest `at` within `radius` pixels, -1 if there is none.
    int nearest(PicturePoint at, double radius) const;
    // The indices of every point within `radius` pixels of `at`, in no particular order.
    std::vector<int> within(PicturePoint at, double radius) const;

private:
    template <typename Visit>
    void visitNear(PicturePoint at, double radius, Visit visit) const;

    const std::vector<PicturePoint>& m_points;
    double m_size = 1;
    double m_left = 0;
    double m_top = 0;
    int m_columns = 1;
    int m_rows = 1;
    std::vector<std::vector<int>> m_buckets;
};
