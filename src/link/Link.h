#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "Int16.h"

class SerialPort;

// The one serial line to the controller (the window's serial control): the chosen port
// number 1..12, shown as "COM1".."COM12", and whether the port is open. The port opens on
// demand with the first packet sent and stays open until an exchange closes it.
class Link {
public:
    // resolveName turns a port number into the device name handed to SerialPort::open.
    Link(SerialPort& port, std::function<QString(int)> resolveName);

    int portNumber() const { return m_portNumber.value(); }
    // Takes effect at the next open.
    void setPortNumber(Int16 number);
    // The port choice of the window's port list: entry listIndex (0 for "COM1") chooses port
    // listIndex + 1.
    void onCombo1Click(int listIndex);
    bool isOpen() const;

private:
    SerialPort& m_port;
    std::function<QString(int)> m_resolveName;
    Int16 m_portNumber = 1;
};
