#pragma once

#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <chrono>

// One picture from a PictureSource. A source numbers its pictures from 1 upwards, one number per
// picture it received, so a gap in the numbers shows pictures that were dropped because a newer
// one came before the older was taken.
struct CameraFrame {
    qint64 sequence = 0;                              // from 1, per source, increasing
    std::chrono::steady_clock::time_point arrived{};  // when its last byte arrived
    QByteArray jpeg;  // a Motion-JPEG part, still encoded (decoding happens on a worker), or
    QImage grey;      // a local camera's grey plane, Format_Grayscale8
};
Q_DECLARE_METATYPE(CameraFrame)
