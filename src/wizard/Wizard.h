#pragma once

#include "PickMarks.h"
#include "Picking.h"
#include "PolarityBlink.h"
#include "StepAdvance.h"
#include "StepDisplay.h"
#include "UndoPick.h"
#include "WizardContext.h"

// The scan wizard: its handlers, wired to the controls they serve.
class Wizard {
public:
    Wizard(const OEControls& controls, WindowState& state, FrameStack& frames, Link& link,
           Notifier& notifier);
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    StepDisplay& display() { return m_display; }
    StepAdvance& advance() { return m_advance; }
    const PickMarks& rowMarks() const { return m_rowMarks; }
    const PickMarks& columnMarks() const { return m_columnMarks; }

private:
    PickMarks m_rowMarks;
    PickMarks m_columnMarks;
    WizardContext m_x;
    StepDisplay m_display;
    StepAdvance m_advance;
    PolarityBlink m_blink;
    Picking m_picking;
    UndoPick m_undo;
};
