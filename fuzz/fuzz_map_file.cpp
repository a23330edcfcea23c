// Reading map file bytes of any length and content: either the image, byte for byte, of a file
// of exactly the image's size, or a clear refusal (FileError); never a crash or a read outside
// the data.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "Errors.h"
#include "MapFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const MapImage image = MapFile::fromBytes(bytes);
        if (size != MapLayout::kImageSize || image.toBytes() != bytes) {
            std::abort();  // a file of another size opened, or the image is not the file
        }
    } catch (const FileError&) {
        if (size == MapLayout::kImageSize) {
            std::abort();  // a file of the right size refused
        }
    }
    return 0;
}
