#pragma once

#include <QByteArray>
#include <QPoint>
#include <QSet>
#include <QString>
#include <cstdlib>

#include "Wiring.h"

// The virtual module's wirings, test picture and matching map as the tests know them, written
// down here on their own: a test that borrowed the simulator's code could not catch a fault in
// it.
namespace ModuleFamilies {

// W x H LEDs, scan count S.
struct Size {
    int w, h, s;
};

// The LED (x, y) that chain bit b of row address a lights. A random:SEED wiring is looked up
// in the simulator's own table: its shuffle cannot be known here.
inline QPoint led(const QString& family, Size m, int a, int b) {
    const int group = b / 8;
    const int rows = m.h / m.s;
    if (family == QLatin1String("straight") || family == QLatin1String("reversed")) {
        return {b % m.w, (family == QLatin1String("straight") ? a : m.s - 1 - a) + b / m.w * m.s};
    }
    if (family == QLatin1String("stripe")) {
        return {8 * (group / rows) + b % 8, a + group % rows * m.s};
    }
    if (family == QLatin1String("from-right")) {
        return {m.w - 8 * (group % (m.w / 8) + 1) + b % 8, a + group / (m.w / 8) * m.s};
    }
    return Wiring::fromName(family)->ledOf({m.w, m.h, m.s}, a, b);
}

// The test picture: the top row, the left column, the diagonal x = y, and an arrow pointing
// right along row H/2 (shaft from W/2, head |y - H/2| = W-1-x <= H/4); or every LED.
inline QSet<QPoint> picture(int w, int h, bool every = false) {
    QSet<QPoint> leds;
    for (int x = 0; x < w; ++x) {
        for (int y = 0, tip = w - 1 - x; y < h; ++y) {
            if (every || x == 0 || y == 0 || x == y || (y == h / 2 && x >= w / 2) ||
                (std::abs(y - h / 2) == tip && tip <= h / 4)) {
                leds.insert({x, y});
            }
        }
    }
    return leds;
}

// The map a user makes by clicking the lit LED at every row and column step: header words
// W, H, colour 0, S, red-green 0, OE, display, 8 x groups; row entry a is (y, x) of bit 0 of
// address a; the column entries (y, x / 8) of bits 0, 8, 16, .. of address 0, last first.
inline QByteArray map(const QString& family, Size m, int oe = 1, int display = 0) {
    const int groups = m.w * m.h / m.s / 8;
    QByteArray image(2048, '\0');
    const int header[] = {m.w, m.h, 0, m.s, 0, oe, display, 8 * groups};
    for (int n = 0; n < 8; ++n) {
        image[2 * n] = static_cast<char>(header[n] % 256);
        image[2 * n + 1] = static_cast<char>(header[n] / 256);
    }
    for (int i = 0; i < m.s + groups; ++i) {
        const bool row = i < m.s;
        const QPoint at = led(family, m, row ? i : 0, row ? 0 : 8 * (i - m.s));
        const int offset = row ? 16 + 2 * i : 48 + 2 * (groups - 1 - (i - m.s));
        image[offset] = static_cast<char>(at.y());
        image[offset + 1] = static_cast<char>(row ? at.x() : at.x() / 8);
    }
    return image;
}

}  // namespace ModuleFamilies
