#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

#include "core/MapLayout.h"

// A map file taken apart for display, and what looks wrong in it. The layout is MapLayout's:
// header words (width, height, colour 0/1, scan count 1..16, red-green position 0..3, OE
// polarity 0/1 with its marker 0/1 in the high byte, display polarity 0/255, column extent =
// 8 x the column entries, at most 1024), then the row entries (pixel row, pixel column) and the
// column entries (pixel row, group of 8 columns; entry 0 = the last pick made).
//
// Example: a header 40 00 20 00 00 00 10 00 01 00 00 00 00 00 40 00 is a 64 x 32 single
// colour module, scan count 16, red-green count 2, both polarities 0, 8 column entries.
struct DecodedMap {
    struct RowEntry {
        int row = 0;
        int column = 0;
    };
    struct ColumnEntry {
        int row = 0;
        int group = 0;
    };

    qint64 fileSize = 0;
    int width = 0;
    int height = 0;
    int colour = 0;
    int scanCount = 0;
    int redGreenPosition = 0;
    int oePolarity = 0;
    int oeMarker = 0;
    int displayPolarity = 0;
    int columnExtent = 0;
    // As many as the counts say, within the room the layout has (16 rows, 128 columns).
    QList<RowEntry> rowEntries;
    QList<ColumnEntry> columnEntries;
    // One plain sentence for each thing that looks wrong; empty when the map looks sound.
    QStringList problems;

    // What looks wrong, as kinds for a caller that words it in its own language: one finding
    // for each sentence of problems, in the same order, then NoColumnEntries when there are no
    // column entries (a map without them sets up no columns, but is no problem of the layout's).
    enum class Finding {
        FileSize,
        NoPixels,
        Colour,
        ScanCount,
        RedGreen,
        OePolarity,
        DisplayPolarity,
        ColumnExtent,
        RowEntryOutside,
        RowEntryRepeated,
        ColumnEntryOutside,
        NoColumnEntries
    };
    QList<Finding> findings;

    // bytes: the file's first bytes (any number: bytes past the image are not looked at, missing
    // ones read as zeros); fileSize: the whole file's size.
    static DecodedMap decode(const QByteArray& bytes, qint64 fileSize);
};
