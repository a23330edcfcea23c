#pragma once

#include <QJsonObject>
#include <QString>

#include "mapfile/DecodedMap.h"

// The two ways `show` prints a map: readable text and JSON. crc32 is the checksum of the map's
// image bytes (crc32() below), as a batch report lists it.
//
// JSON keys: file, size, crc32, width, height, colour, scanCount, redGreenPosition,
// redGreenCount, oePolarity, oeMarker, displayPolarity, columnExtent,
// rowEntries [{row, column}], columnEntries [{row, group}], problems [text].
namespace MapReportFormat {

// CRC-32 as zip, PNG and most checksum tools compute it, as 8 lower-case hex digits:
// the nine bytes "123456789" give "cbf43926".
QString crc32(const QByteArray& bytes);

QString text(const DecodedMap& map, const QString& file, const QString& crc32);
QJsonObject json(const DecodedMap& map, const QString& file, const QString& crc32);

}  // namespace MapReportFormat
