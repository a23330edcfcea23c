#pragma once

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMutex>
#include <QThread>
#include <QVideoFrame>
#include <QVideoSink>
#include <atomic>
#include <memory>

#include "camera/LatestOnly.h"
#include "camera/LocalCameraBackend.h"

// A camera of this machine, through Qt Multimedia, in the format CameraFormatChoice picks.
// Lives in the module (LocalCameras loads it); made by the module's LocalCameraBackend.
//
// Qt hands each video frame to the sink in a thread of its own choosing; the newest waits there
// and the grey plane is taken from it in a thread of this camera's, "camera-grey" (GreyPlane),
// then handed to this object's thread queued: the listener's cameraFrame() is called in the
// thread the camera lives in, newest only, with the grey plane (or a JPEG frame still encoded).
//
// cameraLost() comes, once, for a camera not found (none plugged in, or unplugged), a camera Qt
// reports an error for, and a picture format the program cannot read. The camera's exposure and
// other settings are never touched: Qt cannot give them back to the camera's automatic control.
class LocalCamera : public QObject, public LocalCameraControl {
    Q_OBJECT
public:
    LocalCamera(const QByteArray& id, CameraListener& listener);
    ~LocalCamera() override;

    void start() override;
    void stop() override;
    bool isRunning() const { return m_camera != nullptr; }

private:
    struct Arrival {
        QVideoFrame video;
        std::chrono::steady_clock::time_point arrived;
        qint64 sequence = 0;
    };

    bool openCamera();
    void videoFrameArrived(const QVideoFrame& video);
    void readGrey(quint64 run);
    void deliver();
    void failLater(quint64 run, const QString& why);
    void checkStillPlugged();
    QString unreadableText() const;

    QByteArray m_id;
    CameraListener& m_listener;
    QString m_shownName;
    QMediaDevices m_devices;
    QMediaCaptureSession m_session;
    QVideoSink m_sink;
    std::unique_ptr<QCamera> m_camera;
    QThread m_greyThread;
    QMutex m_contextMutex;
    std::unique_ptr<QObject> m_greyContext;  // lives in m_greyThread while running
    std::atomic<quint64> m_run{
        0};  // counts start()s, so that a failure of a stopped run is ignored
    LatestOnly<Arrival> m_arrived;
    LatestOnly<CameraFrame> m_ready;
    std::atomic<qint64> m_nextSequence{1};
};
