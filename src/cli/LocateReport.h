#pragma once

#include <QJsonObject>
#include <QString>

#include "vision/Calibrator.h"
#include "vision/LedReading.h"

// What `locate` prints: a refused calibration in plain words, and each step picture's reading
// as a line of text or a JSON object. Rows and columns are counted from 1 as the grids number
// them (row 1 at the top, column 1 at the left of the module's front).
// Example line: "step-07.jpg  row 3, column 12  (score 0.98)"; a doubt:
// "step-08.jpg  doubt: more than one LED is lit (row 3, column 12 0.98; row 3, column 13 0.95)".
namespace LocateReport {

// Why calibration was refused, for people: what was seen and what to do. width x height is
// the module given.
QString refusal(const Calibration& c, int width, int height);
// The reason for a doubt in a few words ("more than one LED is lit").
QString doubt(Doubt reason);
// One step picture's line, ending in a newline.
QString line(const QString& file, const LedReading& r);
// The same as an object: file, certain, and row, column, score when certain; otherwise
// doubt (a key word), reason (the words) and candidates [{row, column, score}].
QJsonObject json(const QString& file, const LedReading& r);

}  // namespace LocateReport
