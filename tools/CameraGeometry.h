#pragma once

#include <QPointF>
#include <QSize>
#include <QTransform>
#include <optional>

#include "CameraView.h"

// Where the virtual camera of a CameraView sees each point of the module's plane, and back.
//
// Module plane: LED units, (0,0) the top-left LED's centre, x right, y down, one unit per LED
// pitch; the module's board spans -0.5 .. W-0.5 by -0.5 .. H-0.5. Picture: pixels, x right,
// y down, pixel (i, j) centred at (i, j).
//
// The chain of the view: a pinhole camera (70 degrees across the sensor's long side) looks at
// the module's centre from the distance at which the module straight on fills `fill` of the
// upright picture; the module is turned by yaw and tilt, the picture by roll; then the radial
// barrel distortion r_u = r_d * (1 + k * r_d^2) about the picture's centre; then the mirror
// and the quarter turn of the picture. For rotation 90 and 270 the upright picture is
// frame.height() wide and frame.width() high: the camera lies on its side.
// Example: 64 x 32 LEDs on 640 x 360 at fill 0.7, straight on: 7 pixels a pitch, LED (0,0)
// at (99, 71).
class CameraGeometry {
public:
    CameraGeometry(QSize leds, const CameraView& view);

    // The picture point showing the module-plane point `led`.
    QPointF toPicture(QPointF led) const;
    // The module-plane point the picture point shows; nullopt where the camera looks past the
    // plane's horizon.
    std::optional<QPointF> toModule(QPointF picture) const;
    // The picture displacement of one LED pitch along the module's rows (first) and columns
    // (second) at `led`.
    std::pair<QPointF, QPointF> pitchAxesAt(QPointF led) const;
    // The pixels a pitch of the upright module straight on.
    double straightOnPitch() const { return m_straightOnPitch; }
    // The barrel coefficient k (per square pixel).
    double barrelCoefficient() const { return m_barrel; }
    QPointF pictureCentre() const { return m_centre; }

private:
    QTransform moduleToCentred(const CameraView& view, QSize upright) const;

    QSize m_leds;
    QPointF m_centre;
    double m_straightOnPitch = 1;
    double m_barrel = 0;
    // Module plane to picture coordinates about the picture's centre, undistorted.
    QTransform m_toCentred;
    QTransform m_fromCentred;
};
