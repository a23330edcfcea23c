#pragma once

#include <QList>
#include <QThread>

#include "cli/PortJob.h"
#include "cli/PortTarget.h"

// One port's own thread: it opens the port with a serial port, link and exchanges of its own
// (created in that thread, as QSerialPort requires) and runs the jobs in the given order, one
// after the other. Several workers run side by side, so one port's blocking drain never holds
// up another port.
//
// The signals are emitted from the worker's thread; receivers in other threads get them
// queued. start() begins; the destructor waits for the jobs to end.
class PortWorker : public QThread {
    Q_OBJECT
public:
    PortWorker(const PortTarget& target, const QList<PortJob>& jobs, QObject* parent = nullptr);
    ~PortWorker() override;

Q_SIGNALS:
    void acknowledged(int jobId, int n);
    void jobFinished(const PortJobResult& result);

protected:
    void run() override;

private:
    PortTarget m_target;
    QList<PortJob> m_jobs;
};
