#pragma once

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThread>

#include "camera/CameraDescription.h"
#include "camera/CameraFrame.h"
#include "camera/CameraSnapshot.h"
#include "camera/LatestOnly.h"
#include "camera/LocalCameras.h"
#include "session/CameraSource.h"

class FrameReader;
class PictureSource;

// The camera the walk watches: the source the user chose (a Motion-JPEG stream, or a local
// camera), its pictures read on a thread of its own named "camera-reader", which also
// calibrates. It lives in the window's thread and its signals come there. Only the newest
// picture waits to be read: a reader that falls behind skips pictures, it never lags more.
class CameraService : public QObject, public CameraSource {
    Q_OBJECT
public:
    explicit CameraService(QObject* parent = nullptr);
    ~CameraService() override;

    // The cameras found on this computer (loads the local-camera module at the first call).
    QList<CameraDescription> cameras();
    // Opens the source `text` names (SourceChoice): true when it could be started; else `why`
    // says what is wrong, in the program's language. The source open before is closed.
    bool open(const QString& text, QString* why);
    void close();
    bool isOpen() const { return m_source != nullptr; }

    // The module's size in LEDs, and how it lies in the picture (ModuleOrientation): each ends
    // the calibration.
    void setModule(QSize leds);
    void setOrientation(int turnDegrees, bool mirrored);
    void calibrate(qint64 darkFrame, qint64 litFrame) override;

Q_SIGNALS:
    void readingReady(const CameraReading& reading, const CameraSnapshot& snapshot);
    void calibrated(bool calibrated, const QString& note);
    void lost(const QString& why);

private:
    void offer(const CameraFrame& frame);

    QThread m_thread;
    FrameReader* m_reader = nullptr;  // lives in m_thread
    LatestOnly<CameraFrame> m_latest;
    PictureSource* m_source = nullptr;
    LocalCameras m_local;
};
