// What `lumotrix-cli show` makes of any file: the bytes MapFile::read takes (at most 2049) and
// the file's size, decoded and printed as text and as JSON. Checked against the layout read
// here byte by byte: every header word and entry, no more entries than the layout has room
// for, problems exactly when something is out of place, every problem in the text, and JSON
// that parses back to the decoded fields.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <array>
#include <cstdint>

#include "FuzzCheck.h"
#include "cli/MapReportFormat.h"
#include "mapfile/DecodedMap.h"

namespace {

const QString kFile = QStringLiteral("地图 \"p10\"\\\n.bin");

int byteAt(const QByteArray& bytes, int i) {
    return i < std::min<int>(bytes.size(), 2048) ? static_cast<unsigned char>(bytes[i]) : 0;
}

int wordAt(const QByteArray& bytes, int i) {
    return byteAt(bytes, i) | byteAt(bytes, i + 1) << 8;
}

void checkFields(const DecodedMap& m, const QByteArray& bytes) {
    require(m.width == wordAt(bytes, 0) && m.height == wordAt(bytes, 2) &&
                m.colour == wordAt(bytes, 4) && m.scanCount == wordAt(bytes, 6) &&
                m.redGreenPosition == wordAt(bytes, 8) && m.oePolarity == byteAt(bytes, 10) &&
                m.oeMarker == byteAt(bytes, 11) && m.displayPolarity == wordAt(bytes, 12) &&
                m.columnExtent == wordAt(bytes, 14),
            "the header words are bytes 0..15, low byte first");
    require(m.rowEntries.size() == std::min(m.scanCount, 16), "one row entry per scan line");
    require(m.columnEntries.size() == std::min(m.columnExtent, 1024) / 8,
            "one column entry per 8 of the column extent, at most 128");
    for (int i = 0; i < m.rowEntries.size(); ++i) {
        require(m.rowEntries[i].row == byteAt(bytes, 16 + 2 * i) &&
                    m.rowEntries[i].column == byteAt(bytes, 17 + 2 * i),
                "row entry i is bytes 16 + 2i and 17 + 2i");
    }
    for (int n = 0; n < m.columnEntries.size(); ++n) {
        require(m.columnEntries[n].row == byteAt(bytes, 48 + 2 * n) &&
                    m.columnEntries[n].group == byteAt(bytes, 49 + 2 * n),
                "column entry n is bytes 48 + 2n and 49 + 2n");
    }
}

bool entriesSound(const DecodedMap& m) {
    QSet<int> seen;
    for (const DecodedMap::RowEntry& e : m.rowEntries) {
        if (e.row >= m.height || e.column >= m.width || seen.contains(e.row * 256 + e.column)) {
            return false;
        }
        seen.insert(e.row * 256 + e.column);
    }
    const int groups = (m.width + 7) / 8;
    return std::all_of(m.columnEntries.begin(), m.columnEntries.end(),
                       [&](const auto& e) { return e.row < m.height && e.group < groups; });
}

bool sound(const DecodedMap& m) {
    return m.fileSize == 2048 && m.width > 0 && m.height > 0 && m.colour <= 1 && m.scanCount >= 1 &&
           m.scanCount <= 16 && m.redGreenPosition <= 3 && m.oePolarity <= 1 && m.oeMarker <= 1 &&
           (m.displayPolarity == 0 || m.displayPolarity == 255) && m.columnExtent % 8 == 0 &&
           m.columnExtent <= 1024 && entriesSound(m);
}

void checkText(const DecodedMap& m, const QString& text) {
    require(text.startsWith(QStringLiteral("file              ") + kFile + QLatin1Char('\n')),
            "the text begins with the file name");
    require(text.contains(QStringLiteral("\nscan count        %1\n").arg(m.scanCount)),
            "the text shows the scan count");
    QString problems = QStringLiteral("\nno problems found\n");
    if (!m.problems.isEmpty()) {
        problems = QStringLiteral("\nproblems:\n  - ") + m.problems.join(QStringLiteral("\n  - ")) +
                   QLatin1Char('\n');
    }
    require(text.endsWith(problems), "the text ends with every problem, one a line");
}

void checkJson(const DecodedMap& m, const QJsonObject& printed, const QString& crc) {
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(QJsonDocument(printed).toJson(), &error).object();
    require(error.error == QJsonParseError::NoError, "the JSON parses");
    require(o.value(QStringLiteral("file")).toString() == kFile &&
                o.value(QStringLiteral("crc32")).toString() == crc &&
                o.value(QStringLiteral("size")).toInteger() == m.fileSize,
            "the JSON names the file, its CRC-32 and its size");
    const auto number = [&o](const char* key) { return o.value(QLatin1String(key)).toInt(-1); };
    require(number("width") == m.width && number("height") == m.height &&
                number("colour") == m.colour && number("scanCount") == m.scanCount &&
                number("redGreenPosition") == m.redGreenPosition &&
                number("redGreenCount") == m.redGreenPosition + 1 &&
                number("oePolarity") == m.oePolarity && number("oeMarker") == m.oeMarker &&
                number("displayPolarity") == m.displayPolarity &&
                number("columnExtent") == m.columnExtent,
            "the JSON holds the decoded header");
    const QJsonArray rows = o.value(QStringLiteral("rowEntries")).toArray();
    const QJsonArray columns = o.value(QStringLiteral("columnEntries")).toArray();
    require(rows.size() == m.rowEntries.size() && columns.size() == m.columnEntries.size(),
            "the JSON holds every entry");
    for (int i = 0; i < rows.size(); ++i) {
        const QJsonObject e = rows[i].toObject();
        require(e.value(QStringLiteral("row")).toInt(-1) == m.rowEntries[i].row &&
                    e.value(QStringLiteral("column")).toInt(-1) == m.rowEntries[i].column,
                "the JSON row entries are the decoded ones");
    }
    for (int n = 0; n < columns.size(); ++n) {
        const QJsonObject e = columns[n].toObject();
        require(e.value(QStringLiteral("row")).toInt(-1) == m.columnEntries[n].row &&
                    e.value(QStringLiteral("group")).toInt(-1) == m.columnEntries[n].group,
                "the JSON column entries are the decoded ones");
    }
    QStringList problems;
    for (const QJsonValue& p : o.value(QStringLiteral("problems")).toArray()) {
        problems.append(p.toString());
    }
    require(problems == m.problems, "the JSON lists the problems");
}

// CRC-32 as zip computes it: the reflected polynomial EDB88320, a byte at a time by a table.
QString crc32Of(const QByteArray& bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc = (crc >> 8) ^ table[(crc ^ static_cast<unsigned char>(c)) & 0xFFu];
    }
    return QStringLiteral("%1").arg(crc ^ 0xFFFFFFFFu, 8, 16, QLatin1Char('0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray bytes = file.left(2049);  // as much as MapFile::read takes
    const auto fileSize = static_cast<qint64>(size);
    const DecodedMap map = DecodedMap::decode(bytes, fileSize);
    require(map.fileSize == fileSize, "the size is the file's");
    checkFields(map, bytes);
    require(map.problems.isEmpty() == sound(map), "problems exactly when something is wrong");
    const QString crc = MapReportFormat::crc32(bytes.left(2048));
    require(crc == crc32Of(bytes.left(2048)), "the CRC-32 is the zip one");
    checkText(map, MapReportFormat::text(map, kFile, crc));
    checkJson(map, MapReportFormat::json(map, kFile, crc), crc);
    return 0;
}
