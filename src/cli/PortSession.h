#pragma once

#include <QElapsedTimer>
#include <QObject>

#include "cli/PortJob.h"
#include "cli/PortTarget.h"
#include "link/AddressExchange.h"
#include "link/DownloadExchange.h"
#include "link/Link.h"

class SerialPort;

// Runs PortJobs on one port through the same DownloadExchange and AddressExchange the window
// uses: the same packets, the same waits, the port closed at the end of every exchange.
// Event-loop driven, in the thread the session lives in; port must outlive the session and
// belong to the same thread. One job at a time.
class PortSession : public QObject {
    Q_OBJECT
public:
    PortSession(SerialPort& port, const PortTarget& target, QObject* parent = nullptr);

    // Runs the job to its end on this thread's event loop and returns how it ended.
    PortJobResult runToEnd(const PortJob& job);

Q_SIGNALS:
    // Data packet n (1..16) of the job's download was acknowledged.
    void acknowledged(int jobId, int n);
    void finished(const PortJobResult& result);

private:
    // Starts the job; finished follows (possibly before run returns, when the port cannot
    // be opened).
    void run(const PortJob& job);
    void startAddressStep();
    void onDownloadFinished(const ExchangeOutcome& outcome);
    void onAddressFinished(const ExchangeOutcome& outcome, const ScreenAddress& address);
    void finish(PortJobResult::Step step, const ExchangeOutcome& outcome,
                const ScreenAddress& address = {});

    Link m_link;
    DownloadExchange m_download;
    AddressExchange m_address;
    PortJob m_job;
    QElapsedTimer m_clock;
};
