#pragma once

#include <QBitArray>
#include <QPoint>
#include <QSet>
#include <QSize>
#include <chrono>
#include <utility>
#include <vector>

#include "CameraView.h"

// What one part of the camera's stream showed, for tests to hold against the packets they sent.
struct ServedPicture {
    // 1, 2, ... in the order the pictures were captured; a repeated part keeps its picture's.
    quint64 sequence = 0;
    std::chrono::steady_clock::time_point captured;
    // The last packet (counted from 1) that had arrived when the exposure began: the picture
    // shows its effect over the whole exposure unless lastPacketSeen is higher. 0: none.
    int lastPacketInFull = 0;
    // The last packet that had arrived when the exposure ended.
    int lastPacketSeen = 0;
    // The same bytes as the part before.
    bool repeated = false;
    // The gain, nudge, reflection and banding it was drawn with.
    PictureEffects effects;
    QSize leds;
    // LEDs lit over the whole exposure, bit y * width + x.
    QBitArray lit;
    // LEDs lit over part of it: (index y * width + x, share 0 .. 1).
    std::vector<std::pair<int, float>> partlyLit;

    // The share of the exposure LED (x, y) was lit.
    float level(int x, int y) const;
    // The LEDs lit over the whole exposure, x from the left, y from the top.
    QSet<QPoint> litLeds() const;
};
