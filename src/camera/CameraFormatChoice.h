#pragma once

#include <QList>
#include <QSize>
#include <QVideoFrameFormat>

// One of the formats a camera offers, as QCameraFormat describes it.
struct CameraFormatOffer {
    QSize resolution;
    float maxFrameRate = 0;
    QVideoFrameFormat::PixelFormat pixelFormat = QVideoFrameFormat::Format_Invalid;
};

// The format the program asks a local camera for, instead of the largest one Qt takes by
// default: among the formats whose grey plane GreyPlane can read, those with at least 15
// frames a second (all of them if none has), then the resolution nearest 1280 x 720 (by
// |width - 1280| + |height - 720|), then the cheapest grey plane (GreyPlane::cost), then the
// highest frame rate. Of {1920x1080 YUYV 30, 1280x720 MJPEG 30, 1280x720 YUYV 10,
// 640x480 YUYV 30} it takes 1280x720 MJPEG: YUYV at that size is too slow.
namespace CameraFormatChoice {

constexpr QSize kWantedResolution{1280, 720};
constexpr float kMinFrameRate = 15;

// The index of the chosen offer, or -1 when none can be read.
qsizetype choose(const QList<CameraFormatOffer>& offers);

}  // namespace CameraFormatChoice
