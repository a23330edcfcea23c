#pragma once

#include <QString>

class PortNames;

// The port a command names: "COM1".."COM12" (any letter case), resolved the way the window
// resolves its port list, or the path of a serial device such as /dev/ttyUSB0.
// Example: with LUMOTRIX_COM2=/dev/ttyUSB1 set, "com2" gives label "COM2", number 2 and
// device "/dev/ttyUSB1"; "/dev/ttyS0" gives number 0 and device "/dev/ttyS0".
struct PortTarget {
    // As the user should read it: "COM2" or the path given.
    QString label;
    // 1..12 for a COM name, 0 for a device path.
    int number = 0;
    // The device to open; empty when a COM name stands for no device present.
    QString device;

    // Throws InputError for an empty text or a COM name outside COM1..COM12.
    static PortTarget parse(const QString& text, const PortNames& names);

    // Names one physical line: the device with links resolved, so "COM1" and the path it
    // stands for share a key; the label when there is no device.
    QString key() const;
    // "COM2 (/dev/ttyUSB1)", "COM3 (no device)" or "/dev/ttyS0".
    QString describe() const;
};
