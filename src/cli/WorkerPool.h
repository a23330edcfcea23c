#pragma once

#include <QHash>
#include <QList>
#include <functional>

#include "cli/PortJob.h"
#include "cli/PortTarget.h"

// Runs jobs on their ports: jobs whose targets share a key (PortTarget::key) run in the given
// order on that port's own PortWorker thread; different ports run at the same time.
namespace WorkerPool {

struct Assignment {
    PortTarget target;
    PortJob job;  // job ids must be distinct
};

// Called on the calling thread as data packets are acknowledged and as jobs end.
using ProgressCallback = std::function<void(int jobId, int n)>;
using FinishedCallback = std::function<void(const PortJobResult& result)>;

// Returns once every job has ended, with each job's result under its id. Runs the calling
// thread's event loop meanwhile.
QHash<int, PortJobResult> run(const QList<Assignment>& assignments,
                              const ProgressCallback& onProgress,
                              const FinishedCallback& onFinished);

}  // namespace WorkerPool
