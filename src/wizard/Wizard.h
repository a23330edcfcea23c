#pragma once

#include "Picking.h"
#include "PolarityBlink.h"
#include "StepAdvance.h"
#include "StepDisplay.h"
#include "UndoPick.h"
#include "WizardContext.h"

// The scan wizard: its handlers, wired to the controls they serve.
class Wizard {
public:
    explicit Wizard(const WizardContext& context);
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    StepDisplay& display() { return m_display; }
    StepAdvance& advance() { return m_advance; }

private:
    WizardContext m_x;
    StepDisplay m_display;
    StepAdvance m_advance;
    PolarityBlink m_blink;
    Picking m_picking;
    UndoPick m_undo;
};
