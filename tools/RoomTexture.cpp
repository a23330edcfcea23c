#include "RoomTexture.h"

#include <algorithm>
#include <cmath>

#include "SeededRandom.h"

namespace {

constexpr int kPanels = 14;
constexpr float kWallTone = 0.5f;
constexpr float kSideWallTone = 0.34f;
constexpr float kSkirtingTone = 0.78f;

double smooth(double t) {
    return t * t * (3 - 2 * t);
}

}  // namespace

RoomTexture::RoomTexture(quint32 seed, QSize leds)
    : m_seed(seed),
      m_unit(std::max(1, std::max(leds.width(), leds.height()))),
      m_centreX((leds.width() - 1) / 2.0),
      m_centreY((leds.height() - 1) / 2.0) {
    m_latticeKey = SeededRandom::hash(seed, 0x1a77);
    m_floorY = (0.42 + 0.3 * random(1)) * m_unit;
    m_cornerX = (random(2) < 0.5 ? -1 : 1) * (0.6 + 0.5 * random(3)) * m_unit;
    for (int i = 0; i < kPanels; ++i) {
        const quint32 salt = 100 + 10 * static_cast<quint32>(i);
        const double width = (0.12 + 0.6 * random(salt)) * m_unit;
        const double height = (0.1 + 0.5 * random(salt + 1)) * m_unit;
        const double x = (-1.6 + 3.2 * random(salt + 2)) * m_unit;
        const double y = (-1.2 + 1.4 * random(salt + 3)) * m_unit;
        Panel panel;
        const double centreY = std::min(y, m_floorY - 0.06 * m_unit - height / 2);
        panel.left = x - width / 2;
        panel.right = x + width / 2;
        panel.top = centreY - height / 2;
        panel.bottom = centreY + height / 2;
        panel.tone = static_cast<float>(0.1 + 0.8 * random(salt + 4));
        panel.frameTone = static_cast<float>(0.05 + 0.9 * random(salt + 5));
        panel.frameWidth = random(salt + 6) < 0.5 ? 0 : 0.04 * m_unit * random(salt + 7);
        m_panels.push_back(panel);
    }
}

double RoomTexture::random(quint32 salt) const {
    return SeededRandom::share(SeededRandom::hash(m_seed, salt));
}

// Bilinear between seeded lattice values, eased so the lattice does not show.
float RoomTexture::valueNoise(double x, double y, quint32 salt) const {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<quint32>(static_cast<qint64>(fx));
    const auto iy = static_cast<quint32>(static_cast<qint64>(fy));
    const quint32 key = m_latticeKey ^ (salt * 0x9e3779b9U);
    const auto at = [key](quint32 cx, quint32 cy) {
        return SeededRandom::share(
            SeededRandom::mix(key ^ (cx * 0x85ebca6bU) ^ (cy * 0xc2b2ae35U)));
    };
    const double tx = smooth(x - fx);
    const double ty = smooth(y - fy);
    const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
    const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
    return static_cast<float>(top + (bottom - top) * ty);
}

float RoomTexture::reflectanceAt(double x, double y) const {
    const double rx = x - m_centreX;
    const double ry = y - m_centreY;
    if (ry >= m_floorY) {
        return floorAt(rx, ry);
    }
    if (ry >= m_floorY - 0.05 * m_unit) {
        return kSkirtingTone;
    }
    for (const Panel& panel : m_panels) {
        if (rx < panel.left || rx >= panel.right || ry < panel.top || ry >= panel.bottom) {
            continue;
        }
        const double edge = std::min(std::min(rx - panel.left, panel.right - rx),
                                     std::min(ry - panel.top, panel.bottom - ry));
        const float grain = 0.06f * (valueNoise(rx / 2, ry / 2, 7) - 0.5f);
        return (edge >= panel.frameWidth ? panel.tone : panel.frameTone) + grain;
    }
    return wallAt(rx, ry);
}

float RoomTexture::wallAt(double x, double y) const {
    const bool sideWall = m_cornerX < 0 ? x < m_cornerX : x > m_cornerX;
    const float base = sideWall ? kSideWallTone : kWallTone;
    const float broad = 0.16f * (valueNoise(x / (0.5 * m_unit), y / (0.5 * m_unit), 3) - 0.5f);
    const float fine = 0.07f * (valueNoise(x * 1.3, y * 1.3, 4) - 0.5f);
    return base + broad + fine;
}

// Planks running across, each its own tone, with a grain along them.
float RoomTexture::floorAt(double x, double y) const {
    const double plankWidth = 0.12 * m_unit;
    const auto plank = static_cast<quint32>(static_cast<qint64>(std::floor(y / plankWidth)));
    const float tone =
        0.22f +
        0.12f * static_cast<float>(SeededRandom::share(SeededRandom::hash(m_seed, 9, plank)));
    const float grain = 0.08f * (valueNoise(x / 3, y * 4, 11) - 0.5f);
    const double withinPlank = y / plankWidth - std::floor(y / plankWidth);
    return withinPlank < 0.06 ? 0.1f : tone + grain;
}
