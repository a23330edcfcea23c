#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QPoint>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QWaitCondition>
#include <chrono>
#include <memory>

#include "CameraStream.h"
#include "ModuleSnapshot.h"
#include "SimulatorFaults.h"
#include "VirtualModule.h"

class PtyController;

// The simulated controller running in a thread of its own, for tests: the link blocks its
// caller while it waits for an answer, so a controller living in the same thread could never
// answer in time. Every member is safe to call from the test's thread.
class SimulatorThread {
public:
    // Starts the thread and opens the pseudo-terminal (linked at linkPath when given); the
    // virtual module is wired and lit as truth says.
    explicit SimulatorThread(const SimulatorFaults& faults = {}, const QString& linkPath = {},
                             const ModuleTruth& truth = {});
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

    // The virtual module as the packets so far have left it (see VirtualModule).
    ModuleSnapshot module() const;
    // The LEDs lit now: x from the left, y from the top.
    QSet<QPoint> litLeds() const;
    // LEDs across and down; empty before the first CellTest.
    QSize moduleSize() const;
    // The module, what it shows, its levels, the out-of-place count and the last packet.
    QString moduleState() const;
    // LEDs showing a picture pixel other than their own; -1 while no map picture is shown.
    int outOfPlace() const;

    // Starts a virtual camera filming this controller's module, serving on 127.0.0.1:port
    // (0: a free one, see camera()->port()); false, with errorString(), when the port cannot
    // be had.
    bool startCamera(const CameraOptions& options, quint16 port = 0);
    // The camera with its port and picture log; nullptr before startCamera().
    CameraStream* camera() const { return m_camera.get(); }

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
    std::unique_ptr<CameraStream> m_camera;
};
