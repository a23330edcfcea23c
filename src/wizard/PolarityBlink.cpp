#include "PolarityBlink.h"

#include <QRadioButton>

#include "IntervalTimer.h"
#include "Link.h"
#include "Messages.h"
#include "Notifier.h"
#include "OEControls.h"
#include "Packets.h"
#include "WindowState.h"
#include "WizardTiming.h"

namespace {
constexpr int kPatternStateOne = 0x00;
constexpr int kPatternStateTwo = 0xFF;
}  // namespace

void PolarityBlink::onOeTimerTick() {
    try {
        m_x.c.OeTimer->setInterval(WizardTiming::kBlinkPeriod.count());
        m_x.c.OeDis[m_x.state.StepOe == 0 ? 0 : 1]->setChecked(true);
        int pattern = kPatternStateTwo;
        if (m_x.state.StepOe == 0) {
            m_x.state.StepOe = 1;
            pattern = kPatternStateOne;
        } else {
            m_x.state.StepOe = 0;
        }
        m_x.link.sendPacket(Packets::oeBlink(pattern));
    } catch (const std::exception&) {
        report(m_oeMessageOpen);
    }
}

void PolarityBlink::onDisTimerTick() {
    try {
        m_x.c.DisTimer->setInterval(WizardTiming::kBlinkPeriod.count());
        m_x.c.DisDis[m_x.state.StepDis == 0 ? 0 : 1]->setChecked(true);
        m_x.state.StepDis = m_x.state.StepDis == 0 ? 1 : 0;
        const int pattern = m_x.state.StepDis == 1 ? kPatternStateOne : kPatternStateTwo;
        m_x.link.sendPacket(Packets::disTest(pattern));
    } catch (const std::exception&) {
        report(m_disMessageOpen);
    }
}

void PolarityBlink::report(bool& messageOpen) {
    if (messageOpen) {
        return;
    }
    messageOpen = true;
    m_x.notifier.showMessage(QString::fromUtf8(Messages::kPortBusy));
    messageOpen = false;
}
