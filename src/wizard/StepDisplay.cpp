#include "StepDisplay.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "FlexGrid.h"
#include "FrameStack.h"
#include "GridLayout.h"
#include "IntervalTimer.h"
#include "Link.h"
#include "Messages.h"
#include "Notifier.h"
#include "OEControls.h"
#include "Packets.h"
#include "PickCount.h"
#include "PickMarks.h"
#include "WindowState.h"
#include "WizardTiming.h"

void StepDisplay::showStep() {
    ++m_pagesShown;
    PickCount::show(m_x);
    switch (m_x.state.StepNum.value()) {
        case 1:
            return showParameterPage();
        case 2:
            return showOePolarityPage();
        case 3:
            return showDisplayPolarityPage();
        case 4:
            return showRowPage();
        case 5:
            return showColumnPage();
        default:
            return;
    }
}

void StepDisplay::onPreClicked() {
    try {
        m_x.state.StepNum -= 1;
        showStep();
    } catch (const std::exception&) {
        m_x.notifier.showMessage(QString::fromUtf8(Messages::kPortBusy));
    }
}

void StepDisplay::showParameterPage() {
    m_x.frames.bringToFront(m_x.c.Cell);
    m_x.frames.bringToFront(m_x.c.Frame1);
    m_x.c.Pre->setEnabled(false);
    m_x.c.Complete->setEnabled(false);
    m_x.c.OeTimer->setEnabled(false);
    m_x.c.DisTimer->setEnabled(false);
}

void StepDisplay::showPolarityPage(QGroupBox* frame, QRadioButton* firstChoice,
                                   IntervalTimer* stopped, IntervalTimer* started) {
    m_x.frames.bringToFront(frame);
    m_x.c.Pre->setEnabled(true);
    m_x.c.Complete->setEnabled(false);
    firstChoice->setChecked(true);
    stopped->setEnabled(false);
    started->setEnabled(true);
    started->setInterval(WizardTiming::kFirstBlink.count());
}

void StepDisplay::showOePolarityPage() {
    showPolarityPage(m_x.c.OeFrame, m_x.c.OeSelect[0], m_x.c.DisTimer, m_x.c.OeTimer);
    m_x.state.StepOe = 0;
    GridLayout::layOut(*m_x.c.HangGrid, *m_x.c.LieGrid, m_x.state.dataBuffer.at(0),
                       m_x.state.dataBuffer.at(1));
}

void StepDisplay::showDisplayPolarityPage() {
    showPolarityPage(m_x.c.DisFrame, m_x.c.DisSelect[0], m_x.c.OeTimer, m_x.c.DisTimer);
    m_x.state.StepDis = 0;
}

void StepDisplay::showRowPage() {
    m_x.c.OeTimer->setEnabled(false);
    m_x.c.DisTimer->setEnabled(false);
    m_x.frames.bringToFront(m_x.c.HangFrame);
    m_x.c.NextB->setEnabled(true);
    m_x.c.Complete->setEnabled(false);
    GridLayout::clearRowGrid(*m_x.c.HangGrid);
    m_x.rowMarks.clear();
    m_x.state.DataBufferP = 0;
    m_x.state.rowPicksMade = 0;
    PickCount::show(m_x);
    m_x.link.sendPacket(Packets::hangTest(m_x.state.DataBufferP.value()));
}

void StepDisplay::showColumnPage() {
    m_x.c.NextB->setEnabled(false);
    m_x.c.Complete->setEnabled(true);
    m_x.frames.bringToFront(m_x.c.LieFrame);
    GridLayout::clearColumnGrid(*m_x.c.LieGrid);
    m_x.columnMarks.clear();
    m_x.state.DataBufferP = 0;
    PickCount::show(m_x);
    m_x.link.sendPacket(Packets::lieTest(m_x.state.DataBufferP.value()));
}
