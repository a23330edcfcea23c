#pragma once

#include <QByteArray>
#include <QPoint>
#include <QVector>
#include <optional>

#include "Level.h"
#include "ModuleSize.h"

// A map image as the controller reads it after a download (2048 bytes; words little-endian):
//   0-1 width, 2-3 height, 6-7 scan count, 10 OE polarity (0 = state 1, else state 2),
//   12-13 display polarity (0 = state 1, else state 2), 14-15 column extent = 8 x C,
//   16+2i, 17+2i  row entry i: pixel row r_i, pixel column c_i of chain bit 0 of address i,
//   48+2n, 49+2n  column entry n: pixel row, 8-column place, stored last pick first.
// Bytes 4-5 (colour), 8-9 (red-green index) and 11 are not used; C is capped at 128.
// Example: row entries (0,0), (1,0) and column entries 02 01 02 00 00 01 00 00 (C = 4) on a
// 16 x 4 scan 2 module put group 0 at row 0 place 0, ..., group 3 at row 2 place 1.
class DownloadedMap {
public:
    // A shorter image reads as zero where it has no bytes.
    explicit DownloadedMap(const QByteArray& image);

    // The module the map was made for, from its header.
    ModuleSize madeFor() const { return m_madeFor; }
    Level oeLevel() const { return m_oeLevel; }
    Level displayLevel() const { return m_displayLevel; }

    // The picture pixel that chain bit `bit` of address `address` shows on a module of `size`:
    // for bit 8g+j, x = 8 P_g + j + (c_a - c_0), y = R_g + (r_a - r_0), with (R_g, P_g) the g-th
    // column pick. nullopt (dark) when group g has no column entry or the pixel is off the module.
    std::optional<QPoint> pixelFor(const ModuleSize& size, int address, int bit) const;

private:
    struct Entry {
        int row = 0;
        int column = 0;
    };

    ModuleSize m_madeFor;
    Level m_oeLevel = Level::One;
    Level m_displayLevel = Level::One;
    QVector<Entry> m_rows;
    // In pick order: entry g is the g-th column pick.
    QVector<Entry> m_columns;
};
