#include "cli/WorkerPool.h"

#include <QEventLoop>
#include <memory>
#include <vector>

#include "cli/PortWorker.h"

namespace {

struct PortQueue {
    PortTarget target;
    QList<PortJob> jobs;
};

// The ports in order of their first job, each with its jobs in the given order.
QList<PortQueue> queuesByPort(const QList<WorkerPool::Assignment>& assignments) {
    QList<PortQueue> queues;
    QHash<QString, qsizetype> indexOfKey;
    for (const WorkerPool::Assignment& a : assignments) {
        const QString key = a.target.key();
        if (!indexOfKey.contains(key)) {
            indexOfKey.insert(key, queues.size());
            queues.append({a.target, {}});
        }
        queues[indexOfKey.value(key)].jobs.append(a.job);
    }
    return queues;
}

}  // namespace

QHash<int, PortJobResult> WorkerPool::run(const QList<Assignment>& assignments,
                                          const ProgressCallback& onProgress,
                                          const FinishedCallback& onFinished) {
    QHash<int, PortJobResult> results;
    qsizetype ended = 0;
    QEventLoop loop;
    std::vector<std::unique_ptr<PortWorker>> workers;
    for (const PortQueue& queue : queuesByPort(assignments)) {
        auto worker = std::make_unique<PortWorker>(queue.target, queue.jobs);
        QObject::connect(worker.get(), &PortWorker::acknowledged, &loop,
                         [&onProgress](int id, int n) {
                             if (onProgress) {
                                 onProgress(id, n);
                             }
                         });
        QObject::connect(worker.get(), &PortWorker::jobFinished, &loop,
                         [&](const PortJobResult& r) {
                             results.insert(r.id, r);
                             if (onFinished) {
                                 onFinished(r);
                             }
                             if (++ended == assignments.size()) {
                                 loop.quit();
                             }
                         });
        workers.push_back(std::move(worker));
    }
    for (auto& worker : workers) {
        worker->start();
    }
    if (ended < assignments.size()) {
        loop.exec();
    }
    return results;
}
