#include "MapImage.h"

#include <algorithm>
#include <string>

#include "Errors.h"

std::size_t MapImage::checked(int position) {
    if (position < 0 || position >= kSize) {
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
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), kSize);
}

void MapImage::assign(const QByteArray& bytes) {
    if (bytes.size() != kSize) {
        throw RangeError("a map image is 2048 bytes, not " + std::to_string(bytes.size()));
    }
    std::copy(bytes.cbegin(), bytes.cend(), reinterpret_cast<char*>(m_bytes.data()));
}
