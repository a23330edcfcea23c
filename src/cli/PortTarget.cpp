#include "cli/PortTarget.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "core/Errors.h"
#include "link/PortNames.h"

namespace {

constexpr int kLastComPort = 12;

}  // namespace

PortTarget PortTarget::parse(const QString& text, const PortNames& names) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        throw InputError("no port given: use COM1..COM12 or a device path");
    }
    static const QRegularExpression comName(QStringLiteral("^COM(\\d+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(trimmed);
    if (!match.hasMatch()) {
        return {trimmed, 0, trimmed};
    }
    bool ok = false;
    const int number = match.captured(1).toInt(&ok);
    if (!ok || number < 1 || number > kLastComPort) {
        throw InputError("port " + trimmed.toStdString() +
                         " does not exist: use COM1..COM12 or a device path");
    }
    return {QStringLiteral("COM%1").arg(number), number, names.deviceName(number)};
}

QString PortTarget::key() const {
    if (device.isEmpty()) {
        return label;
    }
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

QString PortTarget::describe() const {
    if (number == 0) {
        return label;
    }
    return device.isEmpty() ? label + QStringLiteral(" (no device)")
                            : label + QStringLiteral(" (") + device + QLatin1Char(')');
}
