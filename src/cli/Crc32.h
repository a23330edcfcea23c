#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// CRC-32 as zip, PNG and most checksum tools compute it (reflected polynomial EDB88320,
// initial value and final XOR FFFFFFFF). Example: the nine bytes "123456789" give CBF43926.
namespace Crc32 {

std::uint32_t of(const QByteArray& bytes);
// The checksum as 8 lower-case hex digits: "cbf43926".
QString hex(const QByteArray& bytes);

}  // namespace Crc32
