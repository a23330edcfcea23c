#pragma once

#include <vector>

#include "vision/GreyPicture.h"

// A picture of float values the finder computes with: differences of two pictures and their
// smoothed versions. Row-major, no padding. Example: difference(lit, dark) holds lit - dark at
// every pixel, from -255 to 255.
class FloatPlane {
public:
    FloatPlane() = default;
    FloatPlane(int width, int height, float fill = 0);

    // a - b pixel by pixel; both pictures must have the same size.
    static FloatPlane difference(const GreyPicture& a, const GreyPicture& b);
    // The picture's bytes as floats.
    static FloatPlane fromPicture(const GreyPicture& picture);

    int width() const { return m_width; }
    int height() const { return m_height; }
    float at(int x, int y) const { return m_values[index(x, y)]; }
    float& at(int x, int y) { return m_values[index(x, y)]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    const float* row(int y) const { return m_values.data() + index(0, y); }
    float* row(int y) { return m_values.data() + index(0, y); }

    // The value at a place between pixel centres, interpolated from the four around it; places
    // beyond the edge take the edge's values.
    float sampled(double x, double y) const;
    // Smoothed with a Gaussian of `sigma` pixels (separable, edges repeated); sigma <= 0 copies.
    FloatPlane gaussianSmoothed(double sigma) const;
    // Each pixel replaced by the smallest value within `radius` pixels along x and along y (a
    // square window of side 2 radius + 1).
    FloatPlane minimumFiltered(int radius) const;
    // The value below which `share` (0..1) of the pixels lie, over every `step`-th pixel of every
    // `step`-th row.
    float percentile(double share, int step = 1) const;

private:
    long index(int x, int y) const { return static_cast<long>(y) * m_width + x; }
    FloatPlane transposed() const;
    FloatPlane rowsMinimum(int radius) const;

    int m_width = 0;
    int m_height = 0;
    std::vector<float> m_values;
};
