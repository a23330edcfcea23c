#include "camera/LocalCameraSource.h"

LocalCameraSource::LocalCameraSource(const LocalCameraBackend& backend, const QByteArray& id,
                                     QObject* parent)
    : PictureSource(parent), m_camera(backend.open(id, *this)) {}

// The camera goes first: it may still report while stopping.
LocalCameraSource::~LocalCameraSource() {
    m_camera.reset();
}
