#include "cli/ShowCommand.h"

#include <QJsonDocument>

#include "cli/MapReportFormat.h"
#include "cli/SubcommandParser.h"
#include "core/Errors.h"
#include "core/MapLayout.h"
#include "mapfile/DecodedMap.h"
#include "mapfile/MapFile.h"

QString ShowCommand::help() {
    return QStringLiteral(
               "Usage: lumotrix-cli show FILE.bin [--json]\n"
               "\n"
               "Prints what a map file holds: module width and height, colour, scan count, "
               "red-green\n"
               "count, OE polarity and its marker byte, display polarity, column extent, every "
               "row\n"
               "entry (pixel row, pixel column) and every column entry (pixel row, group of 8\n"
               "columns; the last column pick first), and the file's CRC-32 as a batch report "
               "lists\n"
               "it. Nothing is sent to any controller.\n"
               "\n"
               "It then lists what looks wrong: a file that is not %1 bytes, a scan count outside\n"
               "1..16, a column extent that is not a multiple of 8 or is above 1024, a colour,\n"
               "red-green position or polarity the layout does not know, entries outside the\n"
               "module (pixel row >= height, column >= width, group >= width / 8 rounded up), and\n"
               "a row entry that repeats an earlier one.\n"
               "\n"
               "Options:\n"
               "  --json      print one JSON object instead of text (keys: file, size, crc32, "
               "width,\n"
               "              height, colour, scanCount, redGreenPosition, redGreenCount,\n"
               "              oePolarity, oeMarker, displayPolarity, columnExtent, rowEntries\n"
               "              [{row, column}], columnEntries [{row, group}], problems [text])\n"
               "  -h, --help  print this help\n"
               "\n"
               "Exit codes: 0 the map looks sound; 4 the file cannot be read, or problems were "
               "found.\n"
               "\n"
               "Example:\n"
               "  lumotrix-cli show p10-outdoor.bin\n"
               "  lumotrix-cli show p10-outdoor.bin --json > p10-outdoor.json\n")
        .arg(MapLayout::kImageSize);
}

int ShowCommand::run(const QStringList& args, CliIo& io) {
    const QCommandLineOption json(QStringLiteral("json"));
    SubcommandParser parser(help(), {json});
    if (const auto code = parser.parse(args, io, 1)) {
        return *code;
    }
    const QString file = parser.positional().constFirst();
    MapFile::FileBytes contents;
    try {
        contents = MapFile::read(file);
    } catch (const FileError& e) {
        return io.fail(ExitCode::BadInput, QString::fromUtf8(e.what()));
    }
    const DecodedMap map = DecodedMap::decode(contents.bytes, contents.size);
    const QString crc = MapReportFormat::crc32(contents.bytes.left(MapLayout::kImageSize));
    if (parser.isSet(QStringLiteral("json"))) {
        io.out << QJsonDocument(MapReportFormat::json(map, file, crc)).toJson();
    } else {
        io.out << MapReportFormat::text(map, file, crc);
    }
    io.out.flush();
    return toInt(map.problems.isEmpty() ? ExitCode::Success : ExitCode::BadInput);
}
