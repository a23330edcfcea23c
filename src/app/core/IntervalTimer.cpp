#include "IntervalTimer.h"

IntervalTimer::IntervalTimer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &IntervalTimer::tick);
}

void IntervalTimer::setEnabled(bool enabled) {
    const bool wasEnabled = m_enabled;
    m_enabled = enabled;
    apply(!wasEnabled);
}

void IntervalTimer::setInterval(int milliseconds) {
    m_interval = milliseconds > 0 ? milliseconds : 0;
    apply(true);
}

void IntervalTimer::apply(bool restart) {
    if (!m_enabled || m_interval == 0) {
        m_timer.stop();
        return;
    }
    if (restart || !m_timer.isActive()) {
        m_timer.start(m_interval);
    }
}
