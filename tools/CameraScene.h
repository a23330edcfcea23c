#pragma once

#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <vector>

#include "CameraGeometry.h"
#include "CameraView.h"
#include "LedSprites.h"

// The module of ledsAcross x ledsDown LEDs as the camera of `view` sees it.
//
// Everything that does not change from picture to picture is prepared once here: where every
// LED lies, its spot at every sub-pixel phase, and the background (the module's board with its
// dark LEDs, faintly visible under the room light, and the room around it, with vignetting and
// blur), so that drawing a picture only adds the lit LEDs and the noise. Pixel (i, j) of a
// picture is centred at (i, j): positions are in the units in which a brightness-weighted
// centre of pixel indices comes out.
//
// Safe to use from several threads at once once constructed: draw() and encode() change
// nothing.
class CameraScene {
public:
    // The grey level of a fully lit LED's peak at gain 1, and of a white wall at ambient 1.
    static constexpr float kLedPeak = 200;
    static constexpr float kWhite = 255;

    CameraScene(QSize leds, const CameraView& view);

    // levels: one value an LED, row-major (index y * width + x, y = 0 the top row as the
    // module's front shows it), 0 dark .. 1 lit for the whole exposure; 0.5 = lit half of it.
    // Returns a Format_Grayscale8 picture of view.frame, before JPEG. Throws
    // std::invalid_argument when levels does not hold one value an LED.
    QImage draw(const std::vector<float>& levels, const PictureEffects& effects = {}) const;
    // The centre of LED (x, y) in the picture, in pixels (x right, y down), after turn, mirror
    // and distortion, without any shift.
    QPointF ledCentre(int x, int y) const;
    // The smallest distance between two neighbouring LED centres in the picture.
    double smallestPitch() const { return m_smallestPitch; }
    // Every LED centre at least a pitch inside the picture.
    bool moduleInside() const;
    // The picture as a JPEG of view.jpegQuality.
    QByteArray encode(const QImage& picture) const;

    QSize leds() const { return m_leds; }
    const CameraView& view() const { return m_view; }
    // The picture point showing a point of the module's plane in LED units (0,0 the top-left
    // LED's centre), as PictureEffects::reflectionAt gives one; without any shift.
    QPointF pictureAt(QPointF led) const { return m_geometry.toPicture(led); }
    // The picture shift that moves the module by `pitches` LED pitches along its rows (x) and
    // columns (y), as measured at its centre: a camera nudged that far.
    QPointF shiftFor(QPointF pitches) const;

private:
    void placeLeds();
    void renderBackground();
    float backgroundAt(QPointF picture) const;
    float moduleReflectance(QPointF led, double pixelInLeds) const;
    float vignette(QPointF picture) const;
    void makeNoise();
    void copyBackground(float* canvas, QPointF shift) const;
    void addLeds(float* canvas, const std::vector<float>& levels,
                 const PictureEffects& effects) const;
    void addSprite(float* canvas, QPointF centre, float amplitude) const;
    void addReflection(float* canvas, const PictureEffects& effects) const;
    QImage finish(const float* canvas, const PictureEffects& effects) const;

    QSize m_leds;
    CameraView m_view;
    CameraGeometry m_geometry;
    LedSprites m_sprites;
    std::vector<QPointF> m_centres;
    // Each LED's peak at full level and gain 1, with its spread and the vignetting where it is.
    std::vector<float> m_ledPeaks;
    double m_smallestPitch = 0;
    // The background in grey levels at gain 1, m_margin pixels wider than the picture on every
    // side, so that a nudged camera still finds background at its edges.
    int m_margin = 0;
    int m_backgroundWidth = 0;
    std::vector<float> m_background;
    // Normal noise of sigma view.noise; each picture row reads it from its own seeded offset.
    std::vector<float> m_noise;
};
