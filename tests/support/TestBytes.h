#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Short ways to write expected bytes and texts in tests, and files holding bytes.
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
// Writes bytes to the file at path, replacing it, and returns the path; a file that cannot be
// written ends the test program.
inline QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}
// The bytes of the file at path; none when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
