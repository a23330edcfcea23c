#include "LedSprites.h"

#include <algorithm>
#include <cmath>

#include "Blur.h"

namespace {

// Sub-samples a pixel side when measuring how much of a pixel the disc covers: with the
// phases on the same 1/8 grid, every phase sees the disc through the same sample pattern.
constexpr int kSubSamples = 8;

double length(QPointF p) {
    return std::hypot(p.x(), p.y());
}

}  // namespace

LedSprites::LedSprites(QPointF alongRow, QPointF alongColumn, double blur, double glow)
    : m_blur(blur), m_glow(glow) {
    const double determinant = alongRow.x() * alongColumn.y() - alongColumn.x() * alongRow.y();
    m_inverse[0] = alongColumn.y() / determinant;
    m_inverse[1] = -alongColumn.x() / determinant;
    m_inverse[2] = -alongRow.y() / determinant;
    m_inverse[3] = alongRow.x() / determinant;
    const double discRadius = kDiscDiameter / 2;
    m_discReach[0] = discRadius * std::hypot(alongRow.x(), alongColumn.x());
    m_discReach[1] = discRadius * std::hypot(alongRow.y(), alongColumn.y());
    const double pitch = (length(alongRow) + length(alongColumn)) / 2;
    // The halo as the camera sees it: widened by the blur and by the pixel's own extent.
    m_haloSigma = std::sqrt(std::pow(kHaloSigma * pitch, 2) + blur * blur + 1.0 / 12);
    const double coreReach = std::max(m_discReach[0], m_discReach[1]) + 3 * blur + 1.5;
    const double haloReach = glow > 0 ? 2.5 * m_haloSigma : 0;
    m_radius = static_cast<int>(std::ceil(std::max(coreReach, haloReach)));

    const std::size_t area = static_cast<std::size_t>(side() * side());
    m_sprites.resize(area * kPhases * kPhases);
    float peak = 1;
    for (int py = 0; py < kPhases; ++py) {
        for (int px = 0; px < kPhases; ++px) {
            const std::vector<float> values = render(double(px) / kPhases, double(py) / kPhases);
            if (px == 0 && py == 0) {
                peak = *std::max_element(values.begin(), values.end());
            }
            std::transform(values.begin(), values.end(),
                           m_sprites.begin() + static_cast<long>(area * (py * kPhases + px)),
                           [peak](float v) { return v / peak; });
        }
    }
}

const float* LedSprites::sprite(int phaseX, int phaseY) const {
    const std::size_t area = static_cast<std::size_t>(side() * side());
    return m_sprites.data() + area * static_cast<std::size_t>(phaseY * kPhases + phaseX);
}

std::vector<float> LedSprites::render(double dx, double dy) const {
    std::vector<float> values = discCoverage(dx, dy);
    if (m_blur >= 0.3) {
        const std::vector<float> kernel = Blur::kernel(m_blur);
        Blur::alongRows(values, side(), side(), kernel);
        Blur::alongColumns(values, side(), side(), kernel);
    }
    addHalo(values, dx, dy);
    return values;
}

// The share of each pixel that the disc, centred at (dx, dy) from the anchor, covers.
std::vector<float> LedSprites::discCoverage(double dx, double dy) const {
    std::vector<float> values(static_cast<std::size_t>(side() * side()));
    const double radius2 = kDiscDiameter * kDiscDiameter / 4;
    const int reachX = static_cast<int>(std::ceil(m_discReach[0] + 1));
    const int reachY = static_cast<int>(std::ceil(m_discReach[1] + 1));
    for (int y = -std::min(reachY, m_radius); y <= std::min(reachY, m_radius); ++y) {
        for (int x = -std::min(reachX, m_radius); x <= std::min(reachX, m_radius); ++x) {
            int inside = 0;
            for (int s = 0; s < kSubSamples * kSubSamples; ++s) {
                const double ox = x - 0.5 + (s % kSubSamples + 0.5) / kSubSamples - dx;
                const double oy = y - 0.5 + (s / kSubSamples + 0.5) / kSubSamples - dy;
                const double mx = m_inverse[0] * ox + m_inverse[1] * oy;
                const double my = m_inverse[2] * ox + m_inverse[3] * oy;
                inside += mx * mx + my * my <= radius2 ? 1 : 0;
            }
            values[static_cast<std::size_t>((y + m_radius) * side() + x + m_radius)] =
                float(inside) / (kSubSamples * kSubSamples);
        }
    }
    return values;
}

// The halo peaks at m_glow of the blurred disc's own peak, wherever that disc lies.
void LedSprites::addHalo(std::vector<float>& values, double dx, double dy) const {
    if (m_glow <= 0) {
        return;
    }
    const float discPeak = *std::max_element(values.begin(), values.end());
    const double scale = m_glow * std::max(discPeak, 1e-6f);
    for (int y = -m_radius; y <= m_radius; ++y) {
        for (int x = -m_radius; x <= m_radius; ++x) {
            const double d2 = (x - dx) * (x - dx) + (y - dy) * (y - dy);
            values[static_cast<std::size_t>((y + m_radius) * side() + x + m_radius)] +=
                static_cast<float>(scale * std::exp(-d2 / (2 * m_haloSigma * m_haloSigma)));
        }
    }
}
