#pragma once

#include <QPointF>
#include <QSize>
#include <QtGlobal>

// Where the virtual camera stands and what kind of camera it is. Defaults: a good webcam on a
// tripod in a dim room, the module filling 70 % of the picture, straight on.
//
// The camera is a pinhole with a horizontal field of view of 70 degrees across the sensor's
// long side, looking at the module's centre, which stays in the picture's centre. Turning:
// positive yaw takes the module's right edge away from the camera (the right side looks
// smaller), positive tilt takes its top edge away, positive roll turns it counter-clockwise
// in the picture.
struct CameraView {
    QSize frame{1280, 720};    // picture size in pixels
    double fill = 0.7;         // the module's extent over the picture's, along whichever of width
                               // or height it reaches first, seen straight on (0.30 .. 0.95)
    double yaw = 0;            // degrees turned about the module's vertical axis (-35 .. 35)
    double tilt = 0;           // degrees turned about its horizontal axis (-35 .. 35)
    double roll = 0;           // degrees turned in the picture plane (-15 .. 15)
    double barrel = 0;         // barrel distortion: a straight line along the picture's border
                               // bows inwards by this share of the picture's width (0 .. 0.02);
                               // in a portrait frame, along its long side by this share of
                               // its height
    double blur = 0.8;         // Gaussian sigma in picture pixels (0 .. 1.5)
    double noise = 2;          // sigma of the sensor noise in grey levels (0 .. 6)
    int jpegQuality = 85;      // quality of the JPEG a picture is served as (50 .. 100)
    double ledSpread = 0.1;    // each LED's brightness is 1 +- up to this, fixed per LED (0 .. 0.3)
    double vignetting = 0.9;   // brightness in the picture's corners relative to its centre
                               // (0.6 .. 1)
    double ambient = 0.2;      // room light on the module board and its surroundings (0: dark
                               // room, 1: a white wall at about 200 grey levels)
    bool surroundings = true;  // a seeded, non-repeating scene around the module (texture a
                               // camera's movement shows in); false: a plain dark wall
    double glow = 0.25;        // halo around a lit LED, relative to its peak
    int rotation = 0;          // 0, 90, 180 or 270: the picture is the upright view of the module
                               // turned this many degrees counter-clockwise
    bool mirrored = false;     // the upright view is mirrored left-right before that turn
    quint32 seed = 1;          // LED spread, surroundings, noise
};

// What one picture shows besides the LEDs' levels.
struct PictureEffects {
    double gain = 1;  // exposure: 1 puts a fully lit LED's peak near 200 grey levels;
                      // about 1.6 and above saturates (an overexposed picture)
    QPointF shift;    // the camera nudged: everything moved by this many picture pixels (the
                      // LEDs exactly, the background by whole pixels)
    bool reflection = false;  // a bright soft spot, as a lamp's reflection on the module's face
    QPointF reflectionAt;     // its centre in LED units: (0,0) the top-left LED's centre,
                              // (W-1,H-1) the bottom-right's; may lie beside the module
    double reflectionRadius = 1.5;       // in LED pitches
    double reflectionLevel = 1.3;        // its peak relative to a fully lit LED's peak
    int bandFirstRow = 0, bandRows = 0;  // refresh banding: these LED rows caught at bandLevel
    double bandLevel = 0.3;
    quint32 noiseSeed = 0;  // each picture draws its own noise from this
};
