#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

#include "core/MapLayout.h"

// The map image: MapLayout::kImageSize bytes, all 0 when created. It is what a map file holds
// and what a download sends, byte for byte. A position outside the image throws RangeError.
class MapImage {
public:
    std::uint8_t at(int position) const;
    void set(int position, std::uint8_t value);

    QByteArray toBytes() const;
    // Replaces every byte; bytes must hold exactly the image's size, else RangeError.
    void assign(const QByteArray& bytes);

    friend bool operator==(const MapImage& a, const MapImage& b) { return a.m_bytes == b.m_bytes; }

private:
    static std::size_t checked(int position);

    std::array<std::uint8_t, MapLayout::kImageSize> m_bytes{};
};
