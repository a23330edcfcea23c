#pragma once

#include <QVideoFrame>

#include "camera/CameraFrame.h"

// The grey plane of a camera's video frame, as the LED finder reads it (8-bit, row by row).
// What the frame's format holds decides how: the Y plane of the planar formats (YUV420P,
// YUV422P, YV12, NV12, NV21, IMC1-4, Y8) and the Y bytes of the packed ones (YUYV, UYVY, AYUV)
// are copied as they are; 16-bit planes (Y16, P010, P016) give their high byte, YUV420P10 its
// top 8 of 10 bits; the RGB formats give luma = (77 R + 150 G + 29 B + 128) / 256 (BT.601
// weights, alpha ignored). A JPEG frame is handed on still encoded.
namespace GreyPlane {

// How dear a format's grey plane is: 0 a copy of Y, 1 a sum per pixel from RGB, 2 a JPEG to
// decode; -1 for a format it cannot read (textures, unknown).
int cost(QVideoFrameFormat::PixelFormat format);

// Fills frame.grey (Format_Grayscale8, the video frame's size) or frame.jpeg from `video`,
// mapping it for reading. False, with nothing filled, for a format it cannot read or a frame
// that does not map.
bool read(const QVideoFrame& video, CameraFrame& frame);

}  // namespace GreyPlane
