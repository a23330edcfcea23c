#pragma once

#include <QObject>

#include "camera/LocalCameraBackend.h"

// The local-camera module's entry: Qt Multimedia's list of cameras, and LocalCamera.
class LocalCameraPlugin : public QObject, public LocalCameraBackend {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID LumotrixLocalCameraBackend_iid)
    Q_INTERFACES(LocalCameraBackend)
public:
    QList<CameraDescription> cameras() const override;
    std::unique_ptr<LocalCameraControl> open(const QByteArray& id,
                                        CameraListener& listener) const override;
};
