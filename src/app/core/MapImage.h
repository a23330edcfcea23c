#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

// The map image: 2048 bytes, all 0 when created. It is what a map file holds and what a
// download sends, byte for byte. A position outside 0..2047 throws RangeError.
class MapImage {
public:
    static constexpr int kSize = 2048;

    std::uint8_t at(int position) const;
    void set(int position, std::uint8_t value);

    QByteArray toBytes() const;
    // Replaces all 2048 bytes; bytes must hold exactly kSize bytes, else RangeError.
    void assign(const QByteArray& bytes);

    friend bool operator==(const MapImage& a, const MapImage& b) { return a.m_bytes == b.m_bytes; }

private:
    static std::size_t checked(int position);

    std::array<std::uint8_t, kSize> m_bytes{};
};
