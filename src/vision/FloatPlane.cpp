#include "vision/FloatPlane.h"

#include <algorithm>
#include <cmath>
#include <deque>

FloatPlane::FloatPlane(int width, int height, float fill)
    : m_width(width), m_height(height), m_values(static_cast<size_t>(width) * height, fill) {}

FloatPlane FloatPlane::difference(const GreyPicture& a, const GreyPicture& b) {
    FloatPlane plane(a.width, a.height);
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            plane.at(x, y) = static_cast<float>(a.at(x, y) - b.at(x, y));
        }
    }
    return plane;
}

FloatPlane FloatPlane::fromPicture(const GreyPicture& picture) {
    FloatPlane plane(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            plane.at(x, y) = static_cast<float>(picture.at(x, y));
        }
    }
    return plane;
}

FloatPlane FloatPlane::transposed() const {
    FloatPlane out(m_height, m_width);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            out.at(y, x) = at(x, y);
        }
    }
    return out;
}

FloatPlane FloatPlane::rowsSmoothed(const std::vector<float>& kernel) const {
    const int radius = static_cast<int>(kernel.size() / 2);
    FloatPlane out(m_width, m_height);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            float sum = 0;
            for (int k = -radius; k <= radius; ++k) {
                sum += kernel[k + radius] * at(std::clamp(x + k, 0, m_width - 1), y);
            }
            out.at(x, y) = sum;
        }
    }
    return out;
}

FloatPlane FloatPlane::gaussianSmoothed(double sigma) const {
    if (sigma <= 0) {
        return *this;
    }
    const int radius = std::max(1, static_cast<int>(std::ceil(2.5 * sigma)));
    std::vector<float> kernel(2 * radius + 1);
    float total = 0;
    for (int k = -radius; k <= radius; ++k) {
        kernel[k + radius] = static_cast<float>(std::exp(-0.5 * k * k / (sigma * sigma)));
        total += kernel[k + radius];
    }
    for (float& w : kernel) {
        w /= total;
    }
    return rowsSmoothed(kernel).transposed().rowsSmoothed(kernel).transposed();
}

// A sliding window minimum per row: each value enters and leaves the queue once.
FloatPlane FloatPlane::rowsMinimum(int radius) const {
    FloatPlane out(m_width, m_height);
    std::deque<int> window;
    for (int y = 0; y < m_height; ++y) {
        window.clear();
        for (int x = 0; x < m_width + radius; ++x) {
            if (x < m_width) {
                while (!window.empty() && at(window.back(), y) >= at(x, y)) {
                    window.pop_back();
                }
                window.push_back(x);
            }
            const int centre = x - radius;
            if (centre < 0) {
                continue;
            }
            while (window.front() < centre - radius) {
                window.pop_front();
            }
            out.at(centre, y) = at(window.front(), y);
        }
    }
    return out;
}

FloatPlane FloatPlane::minimumFiltered(int radius) const {
    return rowsMinimum(radius).transposed().rowsMinimum(radius).transposed();
}

float FloatPlane::percentile(double share, int step) const {
    std::vector<float> sample;
    for (int y = 0; y < m_height; y += step) {
        for (int x = 0; x < m_width; x += step) {
            sample.push_back(at(x, y));
        }
    }
    if (sample.empty()) {
        return 0;
    }
    const auto rank = static_cast<long>(std::clamp(share, 0.0, 1.0) * (sample.size() - 1));
    std::nth_element(sample.begin(), sample.begin() + rank, sample.end());
    return sample[rank];
}
