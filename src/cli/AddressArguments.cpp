#include "cli/AddressArguments.h"

#include "core/Errors.h"

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString problemOf(const ScreenAddress::Reading& reading) {
    switch (reading.refused) {
        case ScreenAddress::Refused::Screen:
            return QStringLiteral("the screen number must be 0..255, not ") + quoted(reading.text);
        case ScreenAddress::Refused::IpForm:
            return QStringLiteral(
                       "the IP address must be four numbers separated by dots (A.B.C.D), not ") +
                   quoted(reading.text);
        case ScreenAddress::Refused::IpOctet:
            return QStringLiteral("IP octet %1 must be 0..255, not ").arg(reading.octet) +
                   quoted(reading.text);
        case ScreenAddress::Refused::Nothing:
            break;
    }
    return {};
}

}  // namespace

std::optional<ScreenAddress> AddressArguments::read(const QString& screen, const QString& ip,
                                                    QString& problem) {
    const ScreenAddress::Reading reading = ScreenAddress::read(screen, ip);
    problem = problemOf(reading);
    return reading.address;
}

ScreenAddress AddressArguments::parse(const QString& screen, const QString& ip) {
    QString problem;
    const std::optional<ScreenAddress> address = read(screen, ip, problem);
    if (!address) {
        throw InputError(problem.toStdString());
    }
    return *address;
}
