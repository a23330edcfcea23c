#include "mapfile/DecodedMap.h"

#include <QSet>
#include <algorithm>

namespace {

using namespace MapLayout;

constexpr int kMaxColumnExtent = kMaxColumnEntries * kColumnPickStride;

// Where header word n stands in the image.
constexpr int wordPosition(HeaderWord n) {
    return 2 * n;
}

int byteAt(const QByteArray& bytes, int position) {
    return position < bytes.size() && position < kImageSize
               ? static_cast<unsigned char>(bytes[position])
               : 0;
}

int wordAt(const QByteArray& bytes, int position) {
    return byteAt(bytes, position) | (byteAt(bytes, position + 1) << 8);
}

QString s(const char* text) {
    return QString::fromUtf8(text);
}

using Finding = DecodedMap::Finding;

void found(DecodedMap& map, Finding finding, const QString& sentence) {
    map.findings.append(finding);
    map.problems.append(sentence);
}

void decodeHeader(const QByteArray& bytes, DecodedMap& map) {
    map.width = wordAt(bytes, wordPosition(kWidth));
    map.height = wordAt(bytes, wordPosition(kHeight));
    map.colour = wordAt(bytes, wordPosition(kColour));
    map.scanCount = wordAt(bytes, wordPosition(kScanCount));
    map.redGreenPosition = wordAt(bytes, wordPosition(kRedGreen));
    map.oePolarity = byteAt(bytes, wordPosition(kOePolarity));
    map.oeMarker = byteAt(bytes, wordPosition(kOePolarity) + 1);
    map.displayPolarity = wordAt(bytes, wordPosition(kDisplayPolarity));
    map.columnExtent = wordAt(bytes, wordPosition(kColumnExtent));
}

void decodeEntries(const QByteArray& bytes, DecodedMap& map) {
    const int rows = std::min(map.scanCount, kMaxRowEntries);
    for (int i = 0; i < rows; ++i) {
        const int at = kRowEntriesAt + 2 * i;
        map.rowEntries.append({byteAt(bytes, at), byteAt(bytes, at + 1)});
    }
    const int columns = std::min(map.columnExtent, kMaxColumnExtent) / kColumnPickStride;
    for (int n = 0; n < columns; ++n) {
        const int at = kColumnEntriesAt + 2 * n;
        map.columnEntries.append({byteAt(bytes, at), byteAt(bytes, at + 1)});
    }
}

void checkHeader(DecodedMap& map) {
    if (map.fileSize != kImageSize) {
        found(map, Finding::FileSize,
              s("the file is %1 bytes; a map file is exactly %2 bytes")
                  .arg(map.fileSize)
                  .arg(kImageSize));
    }
    if (map.width == 0 || map.height == 0) {
        found(map, Finding::NoPixels,
              s("the module size %1 x %2 has no pixels").arg(map.width).arg(map.height));
    }
    if (map.colour > 1) {
        found(map, Finding::Colour,
              s("colour %1 is neither 0 (single) nor 1 (dual)").arg(map.colour));
    }
    if (map.scanCount < 1 || map.scanCount > kMaxRowEntries) {
        found(map, Finding::ScanCount,
              s("scan count %1 is outside 1..%2").arg(map.scanCount).arg(kMaxRowEntries));
    }
    if (map.redGreenPosition > 3) {
        found(map, Finding::RedGreen,
              s("red-green position %1 is outside 0..3").arg(map.redGreenPosition));
    }
    if (map.oePolarity > 1 || map.oeMarker > 1) {
        found(map, Finding::OePolarity,
              s("OE polarity %1 and marker %2 should each be 0 or 1")
                  .arg(map.oePolarity)
                  .arg(map.oeMarker));
    }
    if (map.displayPolarity != 0 && map.displayPolarity != 255) {
        found(map, Finding::DisplayPolarity,
              s("display polarity %1 is neither 0 nor 255").arg(map.displayPolarity));
    }
    if (map.columnExtent % kColumnPickStride != 0 || map.columnExtent > kMaxColumnExtent) {
        found(map, Finding::ColumnExtent,
              s("column extent %1 is not a multiple of %2 in 0..%3")
                  .arg(map.columnExtent)
                  .arg(kColumnPickStride)
                  .arg(kMaxColumnExtent));
    }
}

void checkEntries(DecodedMap& map) {
    QSet<QPair<int, int>> seen;
    for (int i = 0; i < map.rowEntries.size(); ++i) {
        const DecodedMap::RowEntry e = map.rowEntries[i];
        if (e.row >= map.height || e.column >= map.width) {
            found(map, Finding::RowEntryOutside,
                  s("row entry %1 (pixel row %2, column %3) lies outside the "
                    "%4 x %5 module")
                      .arg(i)
                      .arg(e.row)
                      .arg(e.column)
                      .arg(map.width)
                      .arg(map.height));
        }
        if (seen.contains({e.row, e.column})) {
            found(
                map, Finding::RowEntryRepeated,
                s("row entry %1 repeats pixel row %2, column %3").arg(i).arg(e.row).arg(e.column));
        }
        seen.insert({e.row, e.column});
    }
    const int groups = (map.width + kColumnsPerGroup - 1) / kColumnsPerGroup;
    for (int n = 0; n < map.columnEntries.size(); ++n) {
        const DecodedMap::ColumnEntry e = map.columnEntries[n];
        if (e.row >= map.height || e.group >= groups) {
            found(map, Finding::ColumnEntryOutside,
                  s("column entry %1 (pixel row %2, group %3) lies outside the "
                    "%4 x %5 module (%6 groups of 8 columns)")
                      .arg(n)
                      .arg(e.row)
                      .arg(e.group)
                      .arg(map.width)
                      .arg(map.height)
                      .arg(groups));
        }
    }
}

}  // namespace

DecodedMap DecodedMap::decode(const QByteArray& bytes, qint64 fileSize) {
    DecodedMap map;
    map.fileSize = fileSize;
    decodeHeader(bytes, map);
    decodeEntries(bytes, map);
    checkHeader(map);
    checkEntries(map);
    if (map.columnEntries.isEmpty()) {
        map.findings.append(Finding::NoColumnEntries);
    }
    return map;
}
