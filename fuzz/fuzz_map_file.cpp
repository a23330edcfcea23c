// Reading map file bytes of any length and content: either the image, byte for byte, of a file
// of exactly the image's size, or a clear refusal (FileError) that says how long a map file is
// and, for a short file, how long this one is; never a crash or a read outside the data.
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "FuzzCheck.h"
#include "core/Errors.h"
#include "mapfile/MapFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto length = static_cast<qsizetype>(size);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), length);
    try {
        const MapImage image = MapFile::fromBytes(bytes);
        require(size == 2048, "only a file of 2048 bytes opens");
        require(image.toBytes() == bytes, "the image is the file, byte for byte");
    } catch (const FileError& e) {
        require(size != 2048, "a file of 2048 bytes opens");
        const QString message = QString::fromUtf8(e.what());
        require(message.contains(QStringLiteral("2048")), "a refusal names the map file size");
        require(size > 2048 || message.contains(QString::number(length)),
                "a short file's refusal names its size");
    }
    return 0;
}
