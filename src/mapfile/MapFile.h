#pragma once

#include <QByteArray>
#include <QString>

#include "core/MapImage.h"

// A map file holds the bytes of the map image and nothing else: no header, no magic number,
// no checksum. A file is a map file when it holds exactly MapLayout::kImageSize bytes; the
// window's Open and the command line read map files with load() and so by this one rule.
// Failures throw FileError whose text names the file and the reason, in the words shown to
// the user.
namespace MapFile {

// The file type the dialogs offer: description (translated in the context "MapFile"), then
// pattern.
constexpr const char* kFilterDescription = QT_TRANSLATE_NOOP("MapFile", "bin Files(*.bin)");
constexpr const char* kFilterPattern = "*.bin";

// What a file holds, for looking inside it: its first bytes (at most one more than an image,
// which is enough to tell a longer file) and its whole size.
struct FileBytes {
    QByteArray bytes;
    qint64 size = 0;
};
// FileError when the file is missing or cannot be read.
FileBytes read(const QString& path);

// The map image the bytes of a file make: exactly MapLayout::kImageSize of them, else
// FileError saying how the size is wrong (without a file name).
MapImage fromBytes(const QByteArray& bytes);

// read() and fromBytes() of path, with the file named in every failure.
MapImage load(const QString& path);

// Replaces path with the image, atomically: the bytes go to a temporary file in the same folder
// that is renamed over path only once complete, so a failed or interrupted save leaves the old
// file whole. The new file holds exactly the image.
void save(const QString& path, const MapImage& image);

}  // namespace MapFile
