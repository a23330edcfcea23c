#include "link/PortNames.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QtGlobal>
#include <algorithm>

namespace {

QStringList systemDevices() {
    QStringList devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports) {
        devices.append(port.systemLocation());
    }
    return devices;
}

QString processEnvironment(const QString& name) {
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

bool isUsbAdapter(const QString& device) {
    const QString base = QFileInfo(device).fileName();
    return base.startsWith(QLatin1String("ttyUSB")) || base.startsWith(QLatin1String("ttyACM")) ||
           base.startsWith(QLatin1String("cu.usbserial"));
}

// Splits "/dev/ttyUSB10" into "/dev/ttyUSB" and 10 so that ttyUSB2 sorts before ttyUSB10.
std::pair<QString, qulonglong> sortKey(const QString& device) {
    int digits = device.size();
    while (digits > 0 && device.at(digits - 1).isDigit()) {
        --digits;
    }
    const QString tail = device.mid(digits);
    return {device.left(digits), tail.isEmpty() ? 0 : tail.toULongLong()};
}

bool comesBefore(const QString& a, const QString& b) {
    const bool usbA = isUsbAdapter(a);
    const bool usbB = isUsbAdapter(b);
    if (usbA != usbB) {
        return usbA;
    }
    const auto keyA = sortKey(a);
    const auto keyB = sortKey(b);
    if (keyA != keyB) {
        return keyA < keyB;
    }
    return a < b;
}

}  // namespace

PortNames::PortNames() : PortNames(systemDevices, processEnvironment) {}

PortNames::PortNames(DeviceLister listDevices, Environment environment)
    : m_listDevices(std::move(listDevices)), m_environment(std::move(environment)) {}

QString PortNames::deviceName(int number) const {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString chosen = m_environment(QStringLiteral("LUMOTRIX_COM%1").arg(number));
    if (!chosen.isEmpty()) {
        return chosen;
    }
    const QStringList devices = ordered(m_listDevices());
    if (number < 1 || number > devices.size()) {
        return {};
    }
    return devices.at(number - 1);
#endif
}

QString PortNames::toolTip(const QString& device) {
    if (device.isEmpty()) {
        return QCoreApplication::translate("PortNames", "没有找到串口设备");
    }
    return device;
}

QStringList PortNames::ordered(QStringList devices) {
    std::sort(devices.begin(), devices.end(), comesBefore);
    return devices;
}
