#pragma once

#include <QString>

// The shape of an LED module as CellTest gives it: width and height in LEDs, and the scan count
// S, the number of row addresses. Each address drives height / S pixel rows through one shift
// chain of width * height / S bits, cut into groups of 8 that each light 8 neighbouring LEDs of
// one pixel row. Example: 64 x 32 scan 16 has 2 rows an address and a chain of 16 groups.
struct ModuleSize {
    // The most row addresses and chain groups a map image can describe.
    static constexpr int kMaxScanCount = 16;
    static constexpr int kMaxGroups = 128;

    int width = 0;
    int height = 0;
    int scanCount = 0;

    int rowsPerAddress() const { return height / scanCount; }
    int placesPerRow() const { return width / 8; }
    int groupsPerAddress() const { return rowsPerAddress() * placesPerRow(); }
    int chainLength() const { return 8 * groupsPerAddress(); }
    bool isEmpty() const { return width == 0 || height == 0; }

    // Empty when a map can describe the module; else why not, as a short phrase,
    // e.g. "scan count 32 is above 16".
    QString whyNotDescribable() const;
    // "64x32 scan 16".
    QString name() const;
};

inline bool operator==(const ModuleSize& a, const ModuleSize& b) {
    return a.width == b.width && a.height == b.height && a.scanCount == b.scanCount;
}
inline bool operator!=(const ModuleSize& a, const ModuleSize& b) {
    return !(a == b);
}
