#pragma once

#include <QImage>
#include <QList>
#include <QMetaType>
#include <QPointF>
#include <QSize>

#include "session/CameraReading.h"

// The newest picture a camera sent, with what was read in it, for the camera window.
struct CameraSnapshot {
    // The picture as read: Format_Grayscale8, the camera's own size.
    QImage picture;
    // The module's LEDs (x across, y down); empty while not calibrated.
    QSize module;
    // Every LED's centre in the picture, module row-major (row 1 of the grids first); empty
    // while not calibrated.
    QList<QPointF> leds;
    // Every LED's lit score, in the same order: 0 as dark as at calibration, 1 as bright as lit.
    QList<float> scores;
    CameraReading reading;
};

Q_DECLARE_METATYPE(CameraSnapshot)
