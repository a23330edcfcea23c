#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSize>
#include <optional>

#include "camera/CameraFrame.h"
#include "camera/CameraSnapshot.h"
#include "vision/LedGrid.h"
#include "vision/ModuleOrientation.h"

// Reads one camera's pictures, on the thread it lives in (the camera's reading thread, never
// the window's): decodes a Motion-JPEG picture to grey, judges whether the module as a whole is
// lit, and once calibrated reads which LED lights. It keeps the last few pictures in which the
// module was lit and dark, so that the walk can ask for a calibration from two of them.
// A new module size or orientation ends the calibration.
class FrameReader : public QObject {
    Q_OBJECT
public:
    // Pictures kept of each kind (module lit, module dark): at 30 pictures a second, the last
    // few tenths of a second of each.
    static constexpr int kKept = 12;

    explicit FrameReader(QObject* parent = nullptr);

    void setModule(QSize leds);
    void setOrientation(int turnDegrees, bool mirrored);
    void read(const CameraFrame& frame);
    void calibrate(qint64 darkFrame, qint64 litFrame);
    bool isCalibrated() const { return m_grid.has_value(); }

Q_SIGNALS:
    void readingReady(const CameraReading& reading, const CameraSnapshot& snapshot);
    // Made, or refused with why; a calibration made may come with a caution.
    void calibrated(bool calibrated, const QString& note);

private:
    void keep(qint64 frame, const QImage& picture, CameraReading::Light light);
    void forget();

    QSize m_module;
    ModuleOrientation m_orientation;
    std::optional<LedGrid> m_grid;
    QHash<qint64, QImage> m_lit;
    QHash<qint64, QImage> m_dark;
};
