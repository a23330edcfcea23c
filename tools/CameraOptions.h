#pragma once

#include <QPointF>
#include <QSize>
#include <chrono>
#include <optional>

#include "CameraView.h"

// How the virtual camera films the module: its view, its timing and its faults. All faults are
// off by default. Times given "from the start" count from the moment the camera starts; an
// event at time T shows in the pictures captured from T + latency on, as everything the camera
// sees does.
struct CameraOptions {
    // Where it stands and what kind of camera it is; view.frame is the picture size.
    CameraView view;
    // Pictures a second.
    int fps = 30;
    // From the end of a picture's exposure to its capture time, when it is served.
    std::chrono::milliseconds latency{100};
    // How long a picture gathers light: an LED lit for half of it shows half bright.
    std::chrono::milliseconds exposure{33};
    // The module's size in LEDs until the first CellTest gives one.
    QSize moduleLeds{64, 32};

    // Auto-exposure drift: the gain wanders slowly, by up to this share (0.03: 3 %).
    double exposureDrift = 0;
    // Refresh banding: one picture in this many shows a band of LED rows dim; 0: never.
    int bandingEvery = 0;
    // This share of the pictures (0 .. 1) is sent twice: the same bytes again in the next part.
    double repeatShare = 0;
    // A lamp's reflection centred here, in LED units (see PictureEffects::reflectionAt), from
    // reflectionFrom on.
    std::optional<QPointF> reflectionAt;
    std::chrono::milliseconds reflectionFrom{0};
    // The camera nudged by this many LED pitches along the module's rows and columns, from
    // nudgeFrom on; (0, 0): never.
    QPointF nudge;
    std::chrono::milliseconds nudgeFrom{0};
    // The stream ends this long after the start: every connection is closed and no new one is
    // taken.
    std::optional<std::chrono::milliseconds> endAfter;
};
