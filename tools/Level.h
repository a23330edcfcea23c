#pragma once

#include <QString>

// One of the two states of a polarity signal (OE or display), as the wizard names them:
// state "1" and state "2". A module lights in exactly one of them.
enum class Level { One, Two };

inline QString levelName(Level level) {
    return level == Level::One ? QStringLiteral("1") : QStringLiteral("2");
}
