#pragma once

#include "WizardContext.h"

// The ticks of OeTimer and DisTimer on the two polarity pages: every tick marks the indicator
// of the state it sends ("1" with pattern 00, "2" with pattern FF), flips the phase, and sends
// the test packet with the pattern in bytes 9..12. From the first tick on, ticks come every
// two seconds.
//
// A tick that cannot send shows the port message and the blinking goes on; while a timer's
// message is open, further failed ticks of that timer show no second one.
class PolarityBlink {
public:
    explicit PolarityBlink(const WizardContext& context) : m_x(context) {}

    void onOeTimerTick();
    void onDisTimerTick();

private:
    void report(bool& messageOpen);

    WizardContext m_x;
    bool m_oeMessageOpen = false;
    bool m_disMessageOpen = false;
};
