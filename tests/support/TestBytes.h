#pragma once

#include <QByteArray>
#include <QString>

// Short ways to write expected bytes and texts in tests.
inline QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}
inline QByteArray zeros(int count) {
    return QByteArray(count, '\0');
}
inline QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}
// A test packet with sub-code sub and count k (below 256): bytes 8 to 12 are sub, k, 0, 0, 0,
// and byte 6 is their XOR.
inline QByteArray testPacket(int k, int sub) {
    return hex("5AA50DFFFF60") + static_cast<char>(sub ^ k) + '\0' + static_cast<char>(sub) +
           static_cast<char>(k) + zeros(3);
}
