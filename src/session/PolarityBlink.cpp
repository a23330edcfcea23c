#include "session/PolarityBlink.h"

PolarityBlink::PolarityBlink(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PolarityBlink::onTick);
}

void PolarityBlink::start() {
    m_next = Lit::StateOne;
    m_timer.start(kFirstBlink);
}

void PolarityBlink::stop() {
    m_timer.stop();
}

void PolarityBlink::onTick() {
    m_timer.setInterval(kBlinkPeriod);
    const Lit state = m_next;
    m_next = state == Lit::StateOne ? Lit::StateTwo : Lit::StateOne;
    Q_EMIT shown(state);
}
