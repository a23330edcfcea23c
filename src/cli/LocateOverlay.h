#pragma once

#include <QImage>

#include "vision/LedGrid.h"
#include "vision/LedReading.h"

// A step picture with what the finder saw drawn over it, for a person to check: a small ring at
// every LED, the first row's LEDs in yellow and the first column's in magenta, a filled yellow
// square at row 1 / column 1, and the reading: a thick green ring round the lit LED when
// certain; when in doubt, orange rings round the candidates that are not clearly dark and a red
// frame round the picture. No text, so that no font is needed.
namespace LocateOverlay {

QImage draw(const QImage& picture, const LedGrid& grid, const LedReading& reading);

}  // namespace LocateOverlay
