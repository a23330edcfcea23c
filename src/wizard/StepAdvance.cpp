#include "StepAdvance.h"

#include <QLabel>
#include <QRadioButton>

#include "Errors.h"
#include "Link.h"
#include "Messages.h"
#include "ModuleParameters.h"
#include "Notifier.h"
#include "OEControls.h"
#include "Packets.h"
#include "StepDisplay.h"
#include "WindowState.h"

void StepAdvance::onNextBClicked() {
    try {
        advance();
    } catch (const InputError& e) {
        m_x.notifier.showMessage(QString::fromUtf8(e.what()));
    } catch (const std::exception&) {
        m_x.notifier.showMessage(QString::fromUtf8(Messages::kPortBusy));
    }
}

void StepAdvance::advance() {
    m_x.c.Label6->setVisible(false);
    const Int16 page = m_x.state.StepNum;
    m_x.state.StepNum += 1;
    try {
        switch (m_x.state.StepNum.value()) {
            case 2:
                leaveParameterPage();
                break;
            case 3:
                leaveOePolarityPage();
                break;
            case 4:
                leaveDisplayPolarityPage();
                break;
            case 5:
                m_x.state.DataBufferP = 0;
                break;
            default:
                break;
        }
    } catch (...) {
        m_x.state.StepNum = page;  // the page in front has not changed
        throw;
    }
    m_display.showStep();
}

void StepAdvance::leaveParameterPage() {
    const ModuleParameters p = ModuleParameters::read(m_x.c);
    DataBuffer& words = m_x.state.dataBuffer;
    words.set(0, p.width);
    words.set(1, p.height);
    words.set(2, p.colour);
    words.set(3, p.scanCount);
    words.set(4, p.redGreen);
    m_x.link.sendPacket(Packets::cellTest(p.width.value(), p.height.value(), p.colour.value(),
                                          p.scanCount.value()));
}

void StepAdvance::leaveOePolarityPage() {
    const Int16 polarity = m_x.c.OeSelect[0]->isChecked() ? 0 : 1;
    m_x.state.dataBuffer.set(5, polarity);
    m_x.link.sendPacket(Packets::oeTest(polarity.value()));
}

void StepAdvance::leaveDisplayPolarityPage() {
    const Int16 polarity = m_x.c.DisSelect[0]->isChecked() ? 0 : 255;
    m_x.state.dataBuffer.set(6, polarity);
    m_x.link.sendPacket(Packets::disTest(polarity.value()));
    m_x.state.DataBufferP = 0;
}
