#pragma once

#include <QObject>
#include <QTimer>

#include "link/ControllerAnswers.h"
#include "link/ExchangeOutcome.h"

class Link;

// Writes or reads the controller's screen number and IP address: one packet each way, the
// answer looked at once 100 ms after the packet has left the line, and the port closed at every
// end, also when the port failed. Runs on the event loop: start returns at once and finished
// comes later; the window keeps painting meanwhile.
class AddressExchange : public QObject {
    Q_OBJECT
public:
    explicit AddressExchange(Link& link, QObject* parent = nullptr);
    ~AddressExchange() override;

    bool isRunning() const { return m_running; }
    // SetAddress with this address; Done when the controller answers 06.
    void startSet(const ScreenAddress& address);
    // ReadAddress; Done with the address when the answer begins with 5A and holds 26 bytes.
    void startRead();
    // Stops a running exchange at once and closes the port; no finished signal follows.
    void cancel();

Q_SIGNALS:
    void finished(const ExchangeOutcome& outcome, const ScreenAddress& address);

private:
    void start(const QByteArray& packet, bool read);
    void onAnswerDue();
    void end(ExchangeOutcome outcome, const ScreenAddress& address = {});

    Link& m_link;
    QTimer m_wait;
    bool m_running = false;
    bool m_read = false;
};
