#include "cli/PortWorker.h"

#include "cli/PortSession.h"
#include "link/QtSerialPort.h"

PortWorker::PortWorker(const PortTarget& target, const QList<PortJob>& jobs, QObject* parent)
    : QThread(parent), m_target(target), m_jobs(jobs) {}

PortWorker::~PortWorker() {
    wait();
}

void PortWorker::run() {
    QtSerialPort port;
    PortSession session(port, m_target);
    connect(&session, &PortSession::acknowledged, this, &PortWorker::acknowledged,
            Qt::DirectConnection);
    for (const PortJob& job : std::as_const(m_jobs)) {
        Q_EMIT jobFinished(session.runToEnd(job));
    }
}
