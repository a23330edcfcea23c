#pragma once

#include <QtGlobal>

// What the camera walk asks of the camera beyond its readings: a calibration to the module from
// two pictures it read, one with the module dark and one with it lit. The camera keeps the
// pictures; the walk names them by frame number. The outcome comes back as
// CameraWalk::onCalibrated, later and on the walk's thread.
class CameraSource {
public:
    virtual ~CameraSource() = default;
    virtual void calibrate(qint64 darkFrame, qint64 litFrame) = 0;
};
