#pragma once

#include <QBitArray>
#include <QByteArray>
#include <QPoint>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

// What the virtual module shows at one moment, as a plain value to hand to another thread, a
// window or a file.
struct ModuleSnapshot {
    // LEDs across and down; empty before the first CellTest.
    QSize size;
    // Row-major, top row first: bit y * width + x is the LED at x, y.
    QBitArray lit;
    // One line: the module, what it shows, its levels and how many LEDs are out of place.
    QString state;
    // LEDs whose chain bit shows a picture pixel other than their own; -1 while no map
    // picture is shown.
    int outOfPlace = -1;

    bool isLit(int x, int y) const;
    QSet<QPoint> litLeds() const;
    // One string a row, top row first, one character an LED: '#' lit, '.' dark.
    QStringList rows() const;
    // rows() then the state, each line ended by '\n'. Example for a 16 x 2 module lighting only
    // its top-left LED: "#...............\n................\n16x2 scan 1, ...\n".
    QByteArray toText() const;
};
