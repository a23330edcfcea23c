#include "cli/AddressValues.h"

#include <QStringList>
#include <QStringTokenizer>

#include "core/Errors.h"
#include "core/TextNumber.h"

namespace {

// The byte a text holds; -1, with the problem named, when it is none.
int byteValue(QStringView text, const QString& what, QString& problem) {
    const qint64 value = readTextNumber(text);
    if (value < 0 || value > 255) {
        problem =
            what + QStringLiteral(" must be 0..255, not \"") + text.toString() + QLatin1Char('"');
        return -1;
    }
    return static_cast<int>(value);
}

}  // namespace

std::optional<AddressValues> AddressValues::read(const QString& screenText, const QString& ipText,
                                                 QString& problem) {
    AddressValues values;
    values.screen = byteValue(screenText, QStringLiteral("the screen number"), problem);
    if (problem.isEmpty() && ipText.count(QLatin1Char('.')) != 3) {
        problem = QStringLiteral(
                      "the IP address must be four numbers separated by dots (A.B.C.D), "
                      "not \"") +
                  ipText + QLatin1Char('"');
    }
    std::size_t octet = 0;
    for (const QStringView text : QStringTokenizer(ipText, QLatin1Char('.'))) {
        if (!problem.isEmpty()) {
            break;
        }
        values.ip[octet] = byteValue(text, QString(), problem);
        if (!problem.isEmpty()) {  // named only now: most octets are fine
            problem.prepend(QStringLiteral("IP octet %1").arg(octet + 1));
        }
        ++octet;
    }
    return problem.isEmpty() ? std::optional<AddressValues>(values) : std::nullopt;
}

AddressValues AddressValues::parse(const QString& screenText, const QString& ipText) {
    QString problem;
    const std::optional<AddressValues> values = read(screenText, ipText, problem);
    if (!values) {
        throw InputError(problem.toStdString());
    }
    return *values;
}

QString AddressValues::ipText() const {
    return QStringLiteral("%1.%2.%3.%4").arg(ip[0]).arg(ip[1]).arg(ip[2]).arg(ip[3]);
}
