#pragma once

#include "WizardContext.h"

class IntervalTimer;
class QGroupBox;
class QRadioButton;

// Puts the window into the state of the page StepNum names, and the click of Pre.
//
// Pages: 1 parameters (Cell and Frame1), 2 OE polarity, 3 display polarity, 4 rows, 5 columns.
// Showing a page always re-runs its entry actions, also when it is reached backwards: the
// polarity pages choose "1亮" again and restart their blink at phase 0 after 20 ms, page 2 lays
// out both pick grids, and the row and column pages clear their grid, set the pick counter to
// 0 and send that count. Any other StepNum changes nothing.
class StepDisplay {
public:
    explicit StepDisplay(const WizardContext& context) : m_x(context) {}

    // No failure handling of its own: a failure (the port, a grid size) ends it where it
    // occurs, what was done stays done, and the exception passes to the caller.
    void showStep();
    // One page back. A failure is reported with the port message.
    void onPreClicked();
    // Counts every showStep, so a handler that yields can tell whether a page was shown
    // meanwhile.
    unsigned pagesShown() const { return m_pagesShown; }

private:
    void showParameterPage();
    // Frame in front, "1亮" chosen, the other blink stopped and this one started.
    void showPolarityPage(QGroupBox* frame, QRadioButton* firstChoice, IntervalTimer* stopped,
                          IntervalTimer* started);
    void showOePolarityPage();
    void showDisplayPolarityPage();
    void showRowPage();
    void showColumnPage();

    WizardContext m_x;
    unsigned m_pagesShown = 0;
};
