#pragma once

#include <QJsonObject>
#include <QString>

#include "MapInspection.h"

// The two ways `show` prints a map: readable text and JSON. crc32 is the checksum of the map
// (Crc32::hex of its first 2048 bytes), as a batch report lists it.
//
// JSON keys: file, size, crc32, width, height, colour, scanCount, redGreenPosition,
// redGreenCount, oePolarity, oeMarker, displayPolarity, columnExtent,
// rowEntries [{row, column}], columnEntries [{row, group}], problems [text].
namespace MapReportFormat {

QString text(const MapInspection& map, const QString& file, const QString& crc32);
QJsonObject json(const MapInspection& map, const QString& file, const QString& crc32);

}  // namespace MapReportFormat
