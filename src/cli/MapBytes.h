#pragma once

#include <QByteArray>
#include <QString>

// Reading map files for the command line. Every failure throws InputError naming the file and
// the reason in plain words.
namespace MapBytes {

struct Head {
    QByteArray bytes;  // the first 2048 bytes of the file, or all of a shorter one
    qint64 size = 0;   // the whole file's size in bytes
};

// For looking inside: any size is read (only the first 2048 bytes are kept).
Head readHead(const QString& path);
// For sending: the file must be exactly 2048 bytes, since anything else is not a map file.
QByteArray readMap(const QString& path);

}  // namespace MapBytes
