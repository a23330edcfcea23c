#include "DownloadedMap.h"

namespace {

// The simulator reads the map layout with constants of its own, on purpose: it stands for the
// controller, which knows the layout without the program, so a change to the program's layout
// shows up as a map the virtual module lights wrongly instead of passing unnoticed.
constexpr int kImageSize = 2048;
constexpr int kRowEntriesAt = 16;
constexpr int kColumnEntriesAt = 48;
constexpr int kMaxColumnEntries = 128;

}  // namespace

DownloadedMap::DownloadedMap(const QByteArray& image) {
    const QByteArray bytes = image.left(kImageSize).leftJustified(kImageSize, '\0');
    const auto byte = [&bytes](int at) { return static_cast<unsigned char>(bytes.at(at)); };
    const auto word = [&byte](int at) { return byte(at) + 256 * byte(at + 1); };
    m_madeFor = {word(0), word(2), word(6)};
    m_oeLevel = byte(10) == 0 ? Level::One : Level::Two;
    m_displayLevel = word(12) == 0 ? Level::One : Level::Two;
    for (int i = 0; i < ModuleSize::kMaxScanCount; ++i) {
        m_rows.append({byte(kRowEntriesAt + 2 * i), byte(kRowEntriesAt + 2 * i + 1)});
    }
    const int count = std::min(word(14) / 8, kMaxColumnEntries);
    for (int n = count - 1; n >= 0; --n) {
        m_columns.append({byte(kColumnEntriesAt + 2 * n), byte(kColumnEntriesAt + 2 * n + 1)});
    }
}

std::optional<QPoint> DownloadedMap::pixelFor(const ModuleSize& size, int address, int bit) const {
    const int group = bit / 8;
    if (group >= m_columns.size() || address >= m_rows.size()) {
        return std::nullopt;
    }
    const Entry& pick = m_columns.at(group);
    const Entry& row = m_rows.at(address);
    const QPoint pixel(8 * pick.column + bit % 8 + row.column - m_rows.at(0).column,
                       pick.row + row.row - m_rows.at(0).row);
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= size.width || pixel.y() >= size.height) {
        return std::nullopt;
    }
    return pixel;
}
