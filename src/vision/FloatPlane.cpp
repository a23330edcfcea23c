#include "vision/FloatPlane.h"

#include <algorithm>
#include <cmath>
#include <deque>

FloatPlane::FloatPlane(int width, int height, float fill)
    : m_width(width), m_height(height), m_values(static_cast<size_t>(width) * height, fill) {}

FloatPlane FloatPlane::difference(const GreyPicture& a, const GreyPicture& b) {
    FloatPlane plane(a.width, a.height);
    for (int y = 0; y < a.height; ++y) {
        const std::uint8_t* rowA = a.bytes + static_cast<long>(y) * a.stride;
        const std::uint8_t* rowB = b.bytes + static_cast<long>(y) * b.stride;
        float* out = plane.row(y);
        for (int x = 0; x < a.width; ++x) {
            out[x] = static_cast<float>(rowA[x] - rowB[x]);
        }
    }
    return plane;
}

FloatPlane FloatPlane::fromPicture(const GreyPicture& picture) {
    FloatPlane plane(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* in = picture.bytes + static_cast<long>(y) * picture.stride;
        float* out = plane.row(y);
        for (int x = 0; x < picture.width; ++x) {
            out[x] = static_cast<float>(in[x]);
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

float FloatPlane::sampled(double x, double y) const {
    x = std::clamp(x, 0.0, m_width - 1.0);
    y = std::clamp(y, 0.0, m_height - 1.0);
    const int x0 = std::min(static_cast<int>(x), m_width - 2 < 0 ? 0 : m_width - 2);
    const int y0 = std::min(static_cast<int>(y), m_height - 2 < 0 ? 0 : m_height - 2);
    const int x1 = std::min(x0 + 1, m_width - 1);
    const int y1 = std::min(y0 + 1, m_height - 1);
    const auto fx = static_cast<float>(x - x0);
    const auto fy = static_cast<float>(y - y0);
    const float top = at(x0, y0) + fx * (at(x1, y0) - at(x0, y0));
    const float bottom = at(x0, y1) + fx * (at(x1, y1) - at(x0, y1));
    return top + fy * (bottom - top);
}

namespace {

std::vector<float> gaussianKernel(double sigma) {
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
    return kernel;
}

// One row through the kernel, the edge pixels repeated beyond the row's ends.
void smoothRow(const float* in, float* out, int width, const std::vector<float>& kernel) {
    const int r = static_cast<int>(kernel.size() / 2);
    for (int x = 0; x < width; ++x) {
        float sum = 0;
        if (x >= r && x + r < width) {
            for (int k = -r; k <= r; ++k) {
                sum += kernel[k + r] * in[x + k];
            }
        } else {
            for (int k = -r; k <= r; ++k) {
                sum += kernel[k + r] * in[std::clamp(x + k, 0, width - 1)];
            }
        }
        out[x] = sum;
    }
}

}  // namespace

// Rows first, then columns as whole rows weighted and added, which walks memory in order.
FloatPlane FloatPlane::gaussianSmoothed(double sigma) const {
    if (sigma <= 0) {
        return *this;
    }
    const std::vector<float> kernel = gaussianKernel(sigma);
    const int r = static_cast<int>(kernel.size() / 2);
    FloatPlane across(m_width, m_height);
    for (int y = 0; y < m_height; ++y) {
        smoothRow(row(y), across.row(y), m_width, kernel);
    }
    FloatPlane out(m_width, m_height);
    for (int y = 0; y < m_height; ++y) {
        float* target = out.row(y);
        for (int k = -r; k <= r; ++k) {
            const float* source = across.row(std::clamp(y + k, 0, m_height - 1));
            const float w = kernel[k + r];
            for (int x = 0; x < m_width; ++x) {
                target[x] += w * source[x];
            }
        }
    }
    return out;
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
