#include "Crc32.h"

std::uint32_t Crc32::of(const QByteArray& bytes) {
    constexpr std::uint32_t kPolynomial = 0xEDB88320u;
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? (crc >> 1) ^ kPolynomial : crc >> 1;
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

QString Crc32::hex(const QByteArray& bytes) {
    return QStringLiteral("%1").arg(of(bytes), 8, 16, QLatin1Char('0'));
}
