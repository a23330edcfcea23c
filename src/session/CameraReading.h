#pragma once

#include <QList>
#include <QMetaType>
#include <QPoint>
#include <chrono>

// What the camera made of one picture, in the wizard's terms: whether the module as a whole is
// lit, and, once the camera is calibrated to the module, which LED lights or why it cannot
// say. LEDs are grid cells: x the column, y the row, both counted from 1 as the grids number
// them.
struct CameraReading {
    // The module as a whole, with a margin: Unsure between lit and dark.
    enum class Light { Lit, Dark, Unsure };
    // Why a picture names no LED.
    enum class Doubt {
        None,          // one LED, certain
        Uncalibrated,  // no calibration yet: only the module's light is read
        NoneLit,       // no LED lights
        SeveralLit,    // more than one LED lights
        Unclear,       // an LED between lit and dark
        LightOffLeds,  // light between or beside the LEDs, such as a reflection
        Moved,         // the picture no longer matches the calibration's: the camera moved
        Overexposed,   // the picture is too bright to read
    };

    qint64 frame = 0;
    // When the picture arrived, on the steady clock.
    std::chrono::steady_clock::time_point arrived{};
    Light light = Light::Unsure;
    Doubt doubt = Doubt::Uncalibrated;
    // The LED that lights, when doubt is None.
    QPoint led;
    // In doubt: the LEDs most likely lit, best first (a handful at most).
    QList<QPoint> candidates;
};

Q_DECLARE_METATYPE(CameraReading)
