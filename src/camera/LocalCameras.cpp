#include "camera/LocalCameras.h"

#include <QDir>
#include <QFileInfo>

#include "camera/LocalCameraSource.h"

LocalCameras::LocalCameras(const QStringList& directories) : m_directories(directories) {}

QString LocalCameras::moduleFileName() {
#if defined(Q_OS_WIN)
    return QStringLiteral("lumotrix-camera-local.dll");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("lumotrix-camera-local.dylib");
#else
    return QStringLiteral("lumotrix-camera-local.so");
#endif
}

QStringList LocalCameras::defaultDirectories() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program, QDir::cleanPath(program + QStringLiteral("/../lib/lumotrix"))};
}

QList<CameraDescription> LocalCameras::cameras() {
    LocalCameraBackend* cameras = backend();
    return cameras ? cameras->cameras() : QList<CameraDescription>();
}

PictureSource* LocalCameras::open(const QByteArray& id, QObject* parent) {
    LocalCameraBackend* cameras = backend();
    return cameras ? new LocalCameraSource(*cameras, id, parent) : nullptr;
}

// Loads the module once; a failure is remembered, not retried on every call.
LocalCameraBackend* LocalCameras::backend() {
    if (m_tried) {
        return m_backend;
    }
    m_tried = true;
    for (const QString& directory : std::as_const(m_directories)) {
        const QString path = QDir(directory).filePath(moduleFileName());
        if (!QFileInfo::exists(path)) {
            continue;
        }
        m_loader = std::make_unique<QPluginLoader>(path);
        m_backend = qobject_cast<LocalCameraBackend*>(m_loader->instance());
        if (m_backend) {
            return m_backend;
        }
        m_reason = tr("相机模块 %1 无法加载：%2").arg(path, m_loader->errorString());
        return nullptr;
    }
    m_reason = tr("没有找到相机模块 %1，请重新安装本程序").arg(moduleFileName());
    return nullptr;
}
