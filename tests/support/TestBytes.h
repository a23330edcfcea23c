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
