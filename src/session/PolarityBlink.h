#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

#include "session/Page.h"

// The blink of one polarity page: while it runs, the module is driven alternately with test
// state "1" and test state "2", the first about 20 ms after start(), then one every two
// seconds. Each tick says which state it shows now; whoever listens sends it and marks the
// indicator.
class PolarityBlink : public QObject {
    Q_OBJECT
public:
    // From start() to the first state shown.
    static constexpr std::chrono::milliseconds kFirstBlink{20};
    // Between two states shown.
    static constexpr std::chrono::milliseconds kBlinkPeriod{2000};

    explicit PolarityBlink(QObject* parent = nullptr);

    // Starts over with state "1".
    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }

Q_SIGNALS:
    void shown(Lit state);

private:
    void onTick();

    QTimer m_timer;
    Lit m_next = Lit::StateOne;
};
