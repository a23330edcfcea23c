#pragma once

#include <QObject>
#include <QTimer>

// A window timer with the two properties the wizard drives: Enabled and Interval (ms).
// It ticks only while it is enabled and its interval is above 0, so a timer created enabled
// with no interval never fires. Setting the interval restarts the countdown from that moment;
// enabling an already enabled timer changes nothing.
class IntervalTimer : public QObject {
    Q_OBJECT
public:
    explicit IntervalTimer(QObject* parent = nullptr);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    // True while ticks are being delivered.
    bool isRunning() const { return m_timer.isActive(); }

Q_SIGNALS:
    void tick();

private:
    void apply(bool restart);

    QTimer m_timer;
    bool m_enabled = true;
    int m_interval = 0;
};
