#pragma once

#include <memory>

#include "camera/LocalCameraBackend.h"
#include "camera/PictureSource.h"

// A local camera of the module as the program's PictureSource: start() and stop() go to the
// module's camera, its frames and its loss come back as this object's signals, in its thread.
class LocalCameraSource : public PictureSource, private CameraListener {
    Q_OBJECT
public:
    LocalCameraSource(const LocalCameraBackend& backend, const QByteArray& id,
                      QObject* parent = nullptr);
    ~LocalCameraSource() override;

    void start() override { m_camera->start(); }
    void stop() override { m_camera->stop(); }

private:
    void cameraFrame(const CameraFrame& frame) override { Q_EMIT frameArrived(frame); }
    void cameraLost(const QString& why) override { Q_EMIT lost(why); }

    std::unique_ptr<LocalCameraControl> m_camera;
};
