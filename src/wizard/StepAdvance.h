#pragma once

#include "WizardContext.h"

class StepDisplay;

// The click of NextB: takes the input of the page in front into the scan map buffer, tells the
// controller with one test packet, and shows the next page.
//
//   leaving page 1: words 0..4 = width, height, colour, scan count, red-green entry; CellTest
//   leaving page 2: word 5 = 0 for "1亮", else 1; OeTest with word 5
//   leaving page 3: word 6 = 0 for "1亮", else 255; DisTest with word 6; pick counter 0
//   leaving page 4: pick counter 0
//
// Bad module parameters are reported by what is wrong, and nothing is stored or sent. Any
// other failure shows the port message. A failure before the next page is shown leaves
// StepNum on the page in front.
class StepAdvance {
public:
    StepAdvance(const WizardContext& context, StepDisplay& display)
        : m_x(context), m_display(display) {}

    void onNextBClicked();

private:
    void advance();
    void leaveParameterPage();
    void leaveOePolarityPage();
    void leaveDisplayPolarityPage();

    WizardContext m_x;
    StepDisplay& m_display;
};
