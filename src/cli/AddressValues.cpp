#include "AddressValues.h"

#include <QStringList>

#include "Errors.h"
#include "TextNumber.h"

namespace {

int byteValue(const QString& text, const QString& what) {
    const qint64 value = readTextNumber(text);
    if (value < 0 || value > 255) {
        throw InputError(
            (what + QStringLiteral(" must be 0..255, not \"") + text + QStringLiteral("\""))
                .toStdString());
    }
    return static_cast<int>(value);
}

}  // namespace

AddressValues AddressValues::parse(const QString& screenText, const QString& ipText) {
    AddressValues values;
    values.screen = byteValue(screenText, QStringLiteral("the screen number"));
    const QStringList octets = ipText.split(QLatin1Char('.'));
    if (octets.size() != 4) {
        throw InputError(
            (QStringLiteral("the IP address must be four numbers separated by dots (A.B.C.D), "
                            "not \"") +
             ipText + QStringLiteral("\""))
                .toStdString());
    }
    for (int i = 0; i < 4; ++i) {
        values.ip[static_cast<std::size_t>(i)] =
            byteValue(octets[i], QStringLiteral("IP octet %1").arg(i + 1));
    }
    return values;
}

QString AddressValues::ipText() const {
    return QStringLiteral("%1.%2.%3.%4").arg(ip[0]).arg(ip[1]).arg(ip[2]).arg(ip[3]);
}
