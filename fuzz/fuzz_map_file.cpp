// Opening a map file of any bytes and any length: either a clear refusal (FileError) or the
// file's first 2048 bytes as the image; never a crash or a read outside the data.
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "Errors.h"
#include "MapFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.bin"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::abort();
        }
    }
    try {
        const MapImage image = MapFile::load(path);
        if (size < 2048 || image.toBytes() != bytes.left(2048)) {
            std::abort();  // a short file opened, or the image is not the file's first bytes
        }
    } catch (const FileError&) {
        if (size >= 2048) {
            std::abort();  // a file of full length refused
        }
    }
    return 0;
}
