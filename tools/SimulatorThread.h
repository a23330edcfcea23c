#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QWaitCondition>
#include <chrono>

#include "SimulatorFaults.h"

class PtyController;

// The simulated controller running in a thread of its own, for tests: the link blocks its
// caller while it waits for an answer, so a controller living in the same thread could never
// answer in time. Every member is safe to call from the test's thread.
class SimulatorThread {
public:
    // Starts the thread and opens the pseudo-terminal (linked at linkPath when given).
    explicit SimulatorThread(const SimulatorFaults& faults = {}, const QString& linkPath = {});
    ~SimulatorThread();
    SimulatorThread(const SimulatorThread&) = delete;
    SimulatorThread& operator=(const SimulatorThread&) = delete;

    // False when the pseudo-terminal could not be opened (see errorString()).
    bool isRunning() const { return m_started; }
    QString errorString() const { return m_error; }
    // The path the program under test opens as its serial port.
    QString devicePath() const;

    void setFaults(const SimulatorFaults& faults);
    void hangUp();
    // Every log line so far, in order.
    QStringList log() const;
    // Waits until a log line containing text has been written; false after limit.
    bool waitForLog(const QString& text, std::chrono::milliseconds limit);
    // Every packet received so far, byte for byte, in order.
    QList<QByteArray> packets() const;
    // The image as the data packets have filled it.
    QByteArray image() const;

private:
    void append(const QString& line);
    template <typename Call>
    void runThere(Call call) const;

    QThread m_thread;
    PtyController* m_controller = nullptr;
    bool m_started = false;
    QString m_error;
    mutable QMutex m_mutex;
    QWaitCondition m_logGrew;
    QStringList m_log;
    QList<QByteArray> m_packets;
};
