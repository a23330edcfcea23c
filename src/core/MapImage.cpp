#include "core/MapImage.h"

#include <algorithm>
#include <string>

#include "core/Errors.h"

std::size_t MapImage::checked(int position) {
    if (position < 0 || position >= MapLayout::kImageSize) {
        throw RangeError("image position out of range: " + std::to_string(position));
    }
    return static_cast<std::size_t>(position);
}

std::uint8_t MapImage::at(int position) const {
    return m_bytes[checked(position)];
}

void MapImage::set(int position, std::uint8_t value) {
    m_bytes[checked(position)] = value;
}

QByteArray MapImage::toBytes() const {
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), MapLayout::kImageSize);
}

void MapImage::assign(const QByteArray& bytes) {
    if (bytes.size() != MapLayout::kImageSize) {
        throw RangeError("a map image is " + std::to_string(MapLayout::kImageSize) +
                         " bytes, not " + std::to_string(bytes.size()));
    }
    std::copy(bytes.cbegin(), bytes.cend(), reinterpret_cast<char*>(m_bytes.data()));
}
