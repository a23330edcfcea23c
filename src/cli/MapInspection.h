#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// A map file taken apart, and what looks wrong in it. Layout (bytes from 0, words
// little-endian, pixel rows and columns 0-based):
//
//   0-1 width, 2-3 height, 4-5 colour (0 single, 1 dual), 6-7 scan count (1..16; also the
//   number of row entries), 8-9 red-green count as a list position 0..3 (counts 1..4),
//   10 OE polarity (0/1), 11 its marker (0/1), 12-13 display polarity (0 or 255),
//   14-15 column extent (8 x the number of column entries, at most 1024);
//   16+2i, 17+2i row entry i: pixel row, pixel column;
//   48+2n, 49+2n column entry n: pixel row, group of 8 columns (entry 0 = last pick made).
//
// Example: a header 40 00 20 00 00 00 10 00 01 00 00 00 00 00 40 00 is a 64 x 32 single
// colour module, scan count 16, red-green count 2, both polarities 0, 8 column entries.
struct MapInspection {
    struct RowEntry {
        int row = 0;
        int column = 0;
    };
    struct ColumnEntry {
        int row = 0;
        int group = 0;
    };

    static constexpr int kMapSize = 2048;

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

    // bytes: the file's first 2048 bytes (or all of a shorter file); fileSize: the whole file's
    // size. Takes any bytes at all: missing bytes are read as zeros.
    static MapInspection inspect(const QByteArray& bytes, qint64 fileSize);
};
