#include "link/ScreenAddress.h"

#include <QStringList>

#include "core/TextNumber.h"

namespace {

std::optional<std::uint8_t> byteIn(const QString& text) {
    const qint64 value = readTextNumber(text);
    if (value < 0 || value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace

ScreenAddress::Reading ScreenAddress::read(const QString& screen,
                                           const std::array<QString, 4>& ip) {
    ScreenAddress address;
    const std::optional<std::uint8_t> screenByte = byteIn(screen);
    if (!screenByte) {
        return {std::nullopt, Refused::Screen, 0, screen};
    }
    address.screen = *screenByte;
    for (std::size_t i = 0; i < ip.size(); ++i) {
        const std::optional<std::uint8_t> octet = byteIn(ip[i]);
        if (!octet) {
            return {std::nullopt, Refused::IpOctet, static_cast<int>(i) + 1, ip[i]};
        }
        address.ip[i] = *octet;
    }
    return {address, Refused::Nothing, 0, {}};
}

ScreenAddress::Reading ScreenAddress::read(const QString& screen, const QString& dottedIp) {
    const QStringList parts = dottedIp.split(QLatin1Char('.'));
    if (parts.size() == 4) {
        return read(screen, {parts[0], parts[1], parts[2], parts[3]});
    }
    const Reading screenOnly = read(screen, std::array<QString, 4>{});
    return screenOnly.refused == Refused::Screen
               ? screenOnly
               : Reading{std::nullopt, Refused::IpForm, 0, dottedIp};
}

QString ScreenAddress::ipText() const {
    return QStringLiteral("%1.%2.%3.%4").arg(ip[0]).arg(ip[1]).arg(ip[2]).arg(ip[3]);
}
