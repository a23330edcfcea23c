#include "cli/MapReportFormat.h"

#include <zlib.h>
#include <QJsonArray>
#include <QTextStream>

namespace {

QString field(const char* name) {
    return QString::fromUtf8(name).leftJustified(18);
}

void writeHeader(QTextStream& t, const DecodedMap& m) {
    t << field("width") << m.width << '\n';
    t << field("height") << m.height << '\n';
    t << field("colour") << m.colour
      << (m.colour == 0   ? " (single)"
          : m.colour == 1 ? " (dual)"
                          : " (?)")
      << '\n';
    t << field("scan count") << m.scanCount << '\n';
    t << field("red-green count") << m.redGreenPosition + 1 << " (list position "
      << m.redGreenPosition << ")\n";
    t << field("OE polarity") << m.oePolarity << ", marker " << m.oeMarker << '\n';
    t << field("display polarity") << m.displayPolarity << '\n';
    t << field("column extent") << m.columnExtent << " (" << m.columnEntries.size()
      << " column entries)\n";
}

void writeEntries(QTextStream& t, const DecodedMap& m) {
    t << "\nrow entries (pixel row, pixel column):\n";
    for (int i = 0; i < m.rowEntries.size(); ++i) {
        t << qSetFieldWidth(5) << i << qSetFieldWidth(0) << ": " << m.rowEntries[i].row << ", "
          << m.rowEntries[i].column << '\n';
    }
    t << "\ncolumn entries (pixel row, 8-column group), last pick first:\n";
    for (int n = 0; n < m.columnEntries.size(); ++n) {
        t << qSetFieldWidth(5) << n << qSetFieldWidth(0) << ": " << m.columnEntries[n].row << ", "
          << m.columnEntries[n].group << '\n';
    }
}

}  // namespace

QString MapReportFormat::crc32(const QByteArray& bytes) {
    const uLong crc =
        ::crc32(::crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.constData()),
                static_cast<uInt>(bytes.size()));
    return QStringLiteral("%1").arg(static_cast<qulonglong>(crc), 8, 16, QLatin1Char('0'));
}

QString MapReportFormat::text(const DecodedMap& map, const QString& file, const QString& crc32) {
    QString out;
    QTextStream t(&out);
    t << field("file") << file << '\n';
    t << field("size") << map.fileSize << " bytes\n";
    t << field("CRC-32") << crc32 << '\n';
    writeHeader(t, map);
    writeEntries(t, map);
    if (map.problems.isEmpty()) {
        t << "\nno problems found\n";
    } else {
        t << "\nproblems:\n";
        for (const QString& problem : map.problems) {
            t << "  - " << problem << '\n';
        }
    }
    t.flush();
    return out;
}

QJsonObject MapReportFormat::json(const DecodedMap& map, const QString& file,
                                  const QString& crc32) {
    QJsonArray rows;
    for (const DecodedMap::RowEntry& e : map.rowEntries) {
        rows.append(
            QJsonObject{{QStringLiteral("row"), e.row}, {QStringLiteral("column"), e.column}});
    }
    QJsonArray columns;
    for (const DecodedMap::ColumnEntry& e : map.columnEntries) {
        columns.append(
            QJsonObject{{QStringLiteral("row"), e.row}, {QStringLiteral("group"), e.group}});
    }
    return QJsonObject{
        {QStringLiteral("file"), file},
        {QStringLiteral("size"), static_cast<qint64>(map.fileSize)},
        {QStringLiteral("crc32"), crc32},
        {QStringLiteral("width"), map.width},
        {QStringLiteral("height"), map.height},
        {QStringLiteral("colour"), map.colour},
        {QStringLiteral("scanCount"), map.scanCount},
        {QStringLiteral("redGreenPosition"), map.redGreenPosition},
        {QStringLiteral("redGreenCount"), map.redGreenPosition + 1},
        {QStringLiteral("oePolarity"), map.oePolarity},
        {QStringLiteral("oeMarker"), map.oeMarker},
        {QStringLiteral("displayPolarity"), map.displayPolarity},
        {QStringLiteral("columnExtent"), map.columnExtent},
        {QStringLiteral("rowEntries"), rows},
        {QStringLiteral("columnEntries"), columns},
        {QStringLiteral("problems"), QJsonArray::fromStringList(map.problems)},
    };
}
