#pragma once

#include <QString>
#include <functional>

#include "Link.h"
#include "OE.h"
#include "Wizard.h"

class Notifier;
class SerialPort;

// The whole program on one window: the window and its controls, the serial line, and the
// subsystems wired to the controls they serve. The seams (port, messages) come from outside,
// so the program runs the same on real devices and under test.
class Lumotrix {
public:
    Lumotrix(SerialPort& port, Notifier& notifier, std::function<QString(int)> resolvePortName);

    OE& window() { return m_window; }
    Link& link() { return m_link; }
    Wizard& wizard() { return m_wizard; }
    // Start-up: the parameter page with its defaults, port 1 chosen and still closed.
    void startUp() { m_window.startUp(); }

private:
    Notifier& m_notifier;
    Link m_link;
    OE m_window;
    Wizard m_wizard;
};
