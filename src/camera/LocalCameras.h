#pragma once

#include <QCoreApplication>
#include <QPluginLoader>
#include <QStringList>
#include <memory>

#include "camera/LocalCameraBackend.h"
#include "camera/PictureSource.h"

// The local-camera module, loaded at the first call that needs it and kept loaded: until then
// the program neither loads Qt Multimedia nor pays for it. The module is looked for in each of
// `directories` in order; by default beside the program and in ../lib/lumotrix from it (where
// the package installs it).
//
// Without the module (or with a module that does not load) there are no cameras, and
// unavailableReason() says why in the program's language.
class LocalCameras {
    Q_DECLARE_TR_FUNCTIONS(LocalCameras)
public:
    explicit LocalCameras(const QStringList& directories = defaultDirectories());

    // The file name of the module, without directory: "lumotrix-camera-local.so" on Linux.
    static QString moduleFileName();
    static QStringList defaultDirectories();

    QList<CameraDescription> cameras();
    // A source (LocalCameraSource) for the camera with this id, owned by `parent`; nullptr
    // without the module.
    PictureSource* open(const QByteArray& id, QObject* parent);

    bool isLoaded() const { return m_backend != nullptr; }
    QString unavailableReason() const { return m_reason; }

private:
    LocalCameraBackend* backend();

    QStringList m_directories;
    std::unique_ptr<QPluginLoader> m_loader;
    LocalCameraBackend* m_backend = nullptr;
    bool m_tried = false;
    QString m_reason;
};
