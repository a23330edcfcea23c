#pragma once

#include <QString>
#include <functional>

#include "ControllerCommands.h"
#include "Link.h"
#include "MapFileCommands.h"
#include "OE.h"
#include "Wizard.h"

class FileDialogs;
class PortNames;
class Notifier;
class SerialPort;

// The whole program on one window: the window and its controls, the serial line, and the
// subsystems wired to the controls they serve. The seams (port, messages) come from outside,
// so the program runs the same on real devices and under test.
class Lumotrix {
public:
    // The seams the program works through: the serial port, messages to the user, file dialogs,
    // and how a port number 1..12 becomes a device name.
    struct Seams {
        SerialPort& port;
        Notifier& notifier;
        FileDialogs& dialogs;
        std::function<QString(int)> resolvePortName;
    };

    explicit Lumotrix(const Seams& seams);

    OE& window() { return m_window; }
    Link& link() { return m_link; }
    Wizard& wizard() { return m_wizard; }
    ControllerCommands& commands() { return m_commands; }
    // Start-up: the parameter page with its defaults, port 1 chosen and still closed.
    void startUp() { m_window.startUp(); }
    // Gives every entry of the port list a tooltip naming the device it stands for, and the
    // list itself the tooltip of the entry chosen.
    void showPortDevices(const PortNames& names);

private:
    Notifier& m_notifier;
    Link m_link;
    OE m_window;
    Wizard m_wizard;
    MapFileCommands m_mapFiles;
    ControllerCommands m_commands;  // last: destroyed first, closing the port mid-exchange
};
