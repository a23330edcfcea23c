#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>
#include <algorithm>
#include <cmath>
#include <vector>

// What the camera tests read off a grey picture, the way a finder would, written here on their
// own rather than borrowed from the camera.
namespace PictureMeasures {

// One level an LED of a w x h module, row-major: every LED at `level`.
inline std::vector<float> levels(QSize leds, float level = 0) {
    return std::vector<float>(static_cast<std::size_t>(leds.width() * leds.height()), level);
}

// Only LED (x, y) lit.
inline std::vector<float> lone(QSize leds, int x, int y) {
    std::vector<float> lit = levels(leds);
    lit[static_cast<std::size_t>(y * leds.width() + x)] = 1;
    return lit;
}

// The brightness-weighted centre of what `lit` has more than `dark` within `reach` pixels of
// `around`, pixel (i, j) counting at (i, j).
inline QPointF spotCentre(const QImage& lit, const QImage& dark, QPointF around, double reach) {
    double sum = 0, sx = 0, sy = 0;
    const int x0 = std::max(0, static_cast<int>(std::floor(around.x() - reach)));
    const int x1 = std::min(lit.width() - 1, static_cast<int>(std::ceil(around.x() + reach)));
    const int y0 = std::max(0, static_cast<int>(std::floor(around.y() - reach)));
    const int y1 = std::min(lit.height() - 1, static_cast<int>(std::ceil(around.y() + reach)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double weight = std::max(0, qGray(lit.pixel(x, y)) - qGray(dark.pixel(x, y)));
            sum += weight;
            sx += weight * x;
            sy += weight * y;
        }
    }
    return sum > 0 ? QPointF(sx / sum, sy / sum) : QPointF(-1e9, -1e9);
}

// The mean grey level of the pixels within `radius` of `at`.
inline double meanAround(const QImage& picture, QPointF at, double radius) {
    double sum = 0;
    int count = 0;
    for (int y = static_cast<int>(at.y() - radius); y <= static_cast<int>(at.y() + radius); ++y) {
        for (int x = static_cast<int>(at.x() - radius); x <= static_cast<int>(at.x() + radius);
             ++x) {
            const bool inside = std::hypot(x - at.x(), y - at.y()) <= radius;
            if (inside && picture.valid(x, y)) {
                sum += qGray(picture.pixel(x, y));
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : -1;
}

// The sum of what `lit` has more than `dark` within `reach` pixels of `around`.
inline double lightAround(const QImage& lit, const QImage& dark, QPointF around, double reach) {
    double sum = 0;
    for (int y = static_cast<int>(around.y() - reach); y <= static_cast<int>(around.y() + reach);
         ++y) {
        for (int x = static_cast<int>(around.x() - reach);
             x <= static_cast<int>(around.x() + reach); ++x) {
            if (lit.valid(x, y)) {
                sum += qGray(lit.pixel(x, y)) - qGray(dark.pixel(x, y));
            }
        }
    }
    return sum;
}

}  // namespace PictureMeasures
