#pragma once

#include <QString>

#include "MapImage.h"

// A map file holds the 2048 bytes of the map image and nothing else: no header, no magic
// number, no checksum. Failures throw FileError whose text names the file and the reason, in
// the words shown to the user.
namespace MapFile {

constexpr int kSize = 2048;
// The file type the dialogs offer: description, then pattern.
constexpr const char* kFilterDescription = "bin Files(*.bin)";
constexpr const char* kFilterPattern = "*.bin";

// Replaces path with the image, atomically: the bytes go to a temporary file in the same folder
// that is renamed over path only once complete, so a failed or interrupted save leaves the old
// file whole. The new file is exactly 2048 bytes.
void save(const QString& path, const MapImage& image);
// The first 2048 bytes of path. A missing or unreadable file, or one shorter than 2048 bytes,
// throws FileError; a longer file gives its first 2048 bytes.
MapImage load(const QString& path);

}  // namespace MapFile
