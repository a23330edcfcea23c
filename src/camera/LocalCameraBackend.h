#pragma once

#include <QList>
#include <QString>
#include <QtPlugin>
#include <memory>

#include "camera/CameraDescription.h"
#include "camera/CameraFrame.h"

// What the local-camera module offers the program: the cameras the system lists, and a camera
// to run. The module links Qt Multimedia; the program reaches it only through these plain
// interfaces (LocalCameras loads it at first use, LocalCameraSource wraps a camera as a
// PictureSource). Plain virtual calls, no signals across: the module holds its own copy of the
// program's static code, and a signal of one copy cannot be connected through the other's.
class CameraListener {
public:
    virtual ~CameraListener() = default;
    // Both are called in the thread the camera was opened in.
    virtual void cameraFrame(const CameraFrame& frame) = 0;
    virtual void cameraLost(const QString& why) = 0;
};

class LocalCameraControl {
public:
    virtual ~LocalCameraControl() = default;  // stops the camera
    virtual void start() = 0;
    virtual void stop() = 0;
};

class LocalCameraBackend {
public:
    virtual ~LocalCameraBackend() = default;

    // Asks the system now: a camera plugged in since the last call is listed.
    virtual QList<CameraDescription> cameras() const = 0;
    // The camera with this id, reporting to `listener`, which must outlive it; a camera that is
    // gone is reported by cameraLost() once started.
    virtual std::unique_ptr<LocalCameraControl> open(const QByteArray& id,
                                                CameraListener& listener) const = 0;
};

#define LumotrixLocalCameraBackend_iid "org.lumotrix.LocalCameraBackend/1"
Q_DECLARE_INTERFACE(LocalCameraBackend, LumotrixLocalCameraBackend_iid)
