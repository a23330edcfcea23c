#pragma once

#include <QString>

// The messages the wizard and the exchanges show, in the language the program speaks. Each
// says what is wrong and what to do, briefly.
namespace Messages {

// The serial port failed: it is held by another program, missing, or stopped working.
QString portBusy();

// Bad module parameters on the first page.
QString widthRange();
QString heightRange();
QString colourChoice();
QString scanRange();
QString redGreenChoice();

// Bad values in the screen number and IP address boxes.
QString screenRange();
QString ipRange();

}  // namespace Messages
