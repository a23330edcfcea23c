#include "CameraGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Half the horizontal field of view across the sensor's long side: a common webcam's 70 degrees.
constexpr double kHalfFieldOfView = 35 * kPi / 180;

double radians(double degrees) {
    return degrees * kPi / 180;
}

// k for which a straight line along a long border, its middle on the border, has its ends at
// the short borders `bow` pixels further in: with half sizes a (long) and c (short) and the
// ends at c - bow from the centre, (c - bow)(1 + k(a^2 + (c - bow)^2)) = c (1 + k c^2). Taken
// from the sensor's sides, so that the lens is the same whichever way the camera is held.
double barrelFor(double share, QSize frame) {
    const double a = std::max(frame.width(), frame.height()) / 2.0;
    const double c = std::min(frame.width(), frame.height()) / 2.0;
    const double bow = share * 2 * a;
    const double end = c - bow;
    const double denominator = end * (a * a + end * end) - c * c * c;
    return bow > 0 && denominator > 0 ? bow / denominator : 0;
}

// The mirror, then the quarter turn counter-clockwise, about the picture's centre.
QTransform orientation(int rotation, bool mirrored) {
    QTransform turn;
    switch (rotation) {
        case 90:
            turn = QTransform(0, -1, 1, 0, 0, 0);
            break;
        case 180:
            turn = QTransform(-1, 0, 0, -1, 0, 0);
            break;
        case 270:
            turn = QTransform(0, 1, -1, 0, 0, 0);
            break;
        default:
            break;
    }
    return mirrored ? QTransform(-1, 0, 0, 1, 0, 0) * turn : turn;
}

}  // namespace

CameraGeometry::CameraGeometry(QSize leds, const CameraView& view)
    : m_leds(leds),
      m_centre((view.frame.width() - 1) / 2.0, (view.frame.height() - 1) / 2.0),
      m_barrel(barrelFor(view.barrel, view.frame)) {
    const bool onItsSide = view.rotation == 90 || view.rotation == 270;
    const QSize upright = onItsSide ? view.frame.transposed() : view.frame;
    m_straightOnPitch = view.fill * std::min(double(upright.width()) / std::max(1, leds.width()),
                                             double(upright.height()) / std::max(1, leds.height()));
    m_toCentred = moduleToCentred(view, upright);
    m_fromCentred = m_toCentred.inverted();
}

QTransform CameraGeometry::moduleToCentred(const CameraView& view, QSize upright) const {
    const double focal =
        std::max(upright.width(), upright.height()) / 2.0 / std::tan(kHalfFieldOfView);
    const double distance = focal / m_straightOnPitch;
    const double yaw = radians(view.yaw);
    const double tilt = radians(view.tilt);
    const double roll = radians(view.roll);
    // The module turned by yaw about its vertical axis, then by tilt about its horizontal one,
    // seen from `distance` pitches in front of its centre.
    const QTransform pinhole(focal * std::cos(yaw), focal * std::sin(yaw) * std::sin(tilt),
                             std::sin(yaw) * std::cos(tilt), 0, focal * std::cos(tilt),
                             -std::sin(tilt), 0, 0, distance);
    const QTransform centred =
        QTransform::fromTranslate(-(m_leds.width() - 1) / 2.0, -(m_leds.height() - 1) / 2.0);
    const QTransform rolled(std::cos(roll), -std::sin(roll), std::sin(roll), std::cos(roll), 0, 0);
    return centred * pinhole * rolled * orientation(view.rotation, view.mirrored);
}

QPointF CameraGeometry::toPicture(QPointF led) const {
    const QPointF undistorted = m_toCentred.map(led);
    const double ru = std::hypot(undistorted.x(), undistorted.y());
    if (m_barrel == 0 || ru == 0) {
        return m_centre + undistorted;
    }
    // Newton on r + k r^3 = ru, which rises steadily from r = 0.
    double r = ru;
    for (int i = 0; i < 8; ++i) {
        r -= (r + m_barrel * r * r * r - ru) / (1 + 3 * m_barrel * r * r);
    }
    return m_centre + undistorted * (r / ru);
}

std::optional<QPointF> CameraGeometry::toModule(QPointF picture) const {
    const QPointF distorted = picture - m_centre;
    const QPointF p = distorted * (1 + m_barrel * QPointF::dotProduct(distorted, distorted));
    const QTransform& m = m_fromCentred;
    const double w = m.m13() * p.x() + m.m23() * p.y() + m.m33();
    const QPointF led((m.m11() * p.x() + m.m21() * p.y() + m.dx()) / w,
                      (m.m12() * p.x() + m.m22() * p.y() + m.dy()) / w);
    const QTransform& f = m_toCentred;
    // In front of the camera the forward map's w is positive, as it is at the module's centre.
    if (f.m13() * led.x() + f.m23() * led.y() + f.m33() <= 0) {
        return std::nullopt;
    }
    return led;
}

std::pair<QPointF, QPointF> CameraGeometry::pitchAxesAt(QPointF led) const {
    const QPointF alongRow = toPicture(led + QPointF(0.5, 0)) - toPicture(led - QPointF(0.5, 0));
    const QPointF alongColumn = toPicture(led + QPointF(0, 0.5)) - toPicture(led - QPointF(0, 0.5));
    return {alongRow, alongColumn};
}
