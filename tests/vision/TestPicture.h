#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "vision/GreyPicture.h"
#include "vision/PicturePoint.h"

// Pictures drawn for the finder's unit tests: Gaussian spots on a background, an optional
// seeded texture, sensor noise, a camera shift, a gain. Values are kept as floats and rounded
// to bytes (clipped at 0 and 255) when a GreyPicture is asked for.
class TestPicture {
public:
    TestPicture(int width, int height, double background = 20)
        : m_width(width), m_height(height), m_values(size_t(width) * height, background) {}

    int width() const { return m_width; }
    int height() const { return m_height; }
    double& at(int x, int y) { return m_values[size_t(y) * m_width + x]; }
    double at(int x, int y) const { return m_values[size_t(y) * m_width + x]; }

    void addSpot(PicturePoint c, double height, double sigma) {
        const int r = static_cast<int>(std::ceil(4 * sigma));
        for (int y = std::max(0, int(c.y) - r); y <= std::min(m_height - 1, int(c.y) + r + 1);
             ++y) {
            for (int x = std::max(0, int(c.x) - r); x <= std::min(m_width - 1, int(c.x) + r + 1);
                 ++x) {
                const double d2 = (x - c.x) * (x - c.x) + (y - c.y) * (y - c.y);
                at(x, y) += height * std::exp(-0.5 * d2 / (sigma * sigma));
            }
        }
    }
    // Soft blobs of random brightness a few pixels across: something a shift shows in.
    void addTexture(unsigned seed, double contrast) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> u(0, 1);
        const int blobs = m_width * m_height / 30;
        for (int k = 0; k < blobs; ++k) {
            addSpot({u(random) * m_width, u(random) * m_height}, (u(random) - 0.5) * contrast,
                    1 + 2 * u(random));
        }
    }
    void addNoise(double sigma, unsigned seed) {
        std::mt19937 random(seed);
        std::normal_distribution<double> n(0, sigma);
        for (double& v : m_values) {
            v += n(random);
        }
    }
    TestPicture shifted(int dx, int dy) const {
        TestPicture out(*this);
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                out.at(x, y) =
                    at(std::clamp(x - dx, 0, m_width - 1), std::clamp(y - dy, 0, m_height - 1));
            }
        }
        return out;
    }
    TestPicture scaled(double gain) const {
        TestPicture out(*this);
        for (double& v : out.m_values) {
            v *= gain;
        }
        return out;
    }
    GreyPicture grey() const {
        m_bytes.resize(m_values.size());
        for (size_t k = 0; k < m_values.size(); ++k) {
            m_bytes[k] = static_cast<std::uint8_t>(std::clamp(std::lround(m_values[k]), 0L, 255L));
        }
        return {m_width, m_height, m_width, m_bytes.data()};
    }

private:
    int m_width;
    int m_height;
    std::vector<double> m_values;
    mutable std::vector<std::uint8_t> m_bytes;
};

// A lattice of columns x rows LED places bent between four corner places (top-left, top-right,
// bottom-right, bottom-left) by bilinear blending: straight rows and columns whose pitch changes
// across the picture, as a module seen at an angle roughly is.
struct TestLattice {
    int columns;
    int rows;
    std::array<PicturePoint, 4> corners;

    PicturePoint at(int i, int j) const {
        const double u = double(i) / (columns - 1);
        const double v = double(j) / (rows - 1);
        return (1 - u) * (1 - v) * corners[0] + u * (1 - v) * corners[1] + u * v * corners[2] +
               (1 - u) * v * corners[3];
    }
    // An upright lattice with its top-left LED at `origin` and the given pitch.
    static TestLattice upright(int columns, int rows, PicturePoint origin, double pitch) {
        const double w = pitch * (columns - 1);
        const double h = pitch * (rows - 1);
        return {columns,
                rows,
                {origin, origin + PicturePoint{w, 0}, origin + PicturePoint{w, h},
                 origin + PicturePoint{0, h}}};
    }
};
