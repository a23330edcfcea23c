#include "camera/LocalCameraPlugin.h"

#include <QCameraDevice>
#include <QMediaDevices>

#include "camera/LocalCamera.h"

QList<CameraDescription> LocalCameraPlugin::cameras() const {
    QList<CameraDescription> cameras;
    for (const QCameraDevice& device : QMediaDevices::videoInputs()) {
        cameras += {device.id(), device.description()};
    }
    return cameras;
}

std::unique_ptr<LocalCameraControl> LocalCameraPlugin::open(const QByteArray& id,
                                                       CameraListener& listener) const {
    return std::make_unique<LocalCamera>(id, listener);
}
