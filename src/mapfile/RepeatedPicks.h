#pragma once

#include <QStringList>

#include "core/Int16.h"
#include "core/ScanMapBuffer.h"

// Picks of a map that repeat an earlier pick of the same kind: the same LED given for two scan
// lines, or for two column groups. Nothing is wrong with the bytes, but it is most likely a
// slip of the hand on site, so the user is told after a save.
namespace RepeatedPicks {

// One sentence per repeated pick, e.g. "行选择 5 与行选择 2 相同（第 3 行第 4 列）": the row
// picks 1..scan count (word 3) and the column picks 1..pickCounter / 8, with width = word 0.
// Empty when nothing repeats or the buffer does not describe a map (width 0).
QStringList find(const ScanMapBuffer& words, Int16 pickCounter);

}  // namespace RepeatedPicks
