#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Turns the port numbers of the window's list ("COM1".."COM12" = 1..12) into device names for
// SerialPort::open.
//
// On Windows, number n is the system's own "COMn". On Linux and macOS the environment variable
// LUMOTRIX_COMn wins when set and not empty (LUMOTRIX_COM1=/dev/ttyUSB0); otherwise n is the
// n-th serial device the system lists, USB adapters (ttyUSB*, ttyACM*, cu.usbserial*) first,
// each group in name order with numbers compared by value (ttyUSB2 before ttyUSB10).
// Example: devices /dev/ttyS0, /dev/ttyUSB1, /dev/ttyUSB0 give COM1 = /dev/ttyUSB0,
// COM2 = /dev/ttyUSB1, COM3 = /dev/ttyS0, COM4 = "" (none).
class PortNames {
public:
    // Full paths of the serial devices present, in any order.
    using DeviceLister = std::function<QStringList()>;
    // The value of an environment variable, empty when unset.
    using Environment = std::function<QString(const QString& name)>;

    // The defaults ask QSerialPortInfo and the process environment.
    PortNames();
    PortNames(DeviceLister listDevices, Environment environment);

    // The device for port number n, or an empty string when there is none.
    QString deviceName(int number) const;
    // What a list entry's tooltip says of the device it stands for: its name, or a plain note
    // that there is none.
    static QString toolTip(const QString& device);

    // The devices in the order that numbers them: USB adapters first, then the others.
    static QStringList ordered(QStringList devices);

private:
    DeviceLister m_listDevices;
    Environment m_environment;
};
