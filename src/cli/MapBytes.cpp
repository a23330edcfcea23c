#include "MapBytes.h"

#include <QFile>

#include "Errors.h"
#include "MapInspection.h"

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw InputError(
        QStringLiteral("cannot read the map file %1: %2").arg(path, reason).toStdString());
}

}  // namespace

MapBytes::Head MapBytes::readHead(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        fail(path, QStringLiteral("no such file"));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fail(path, file.errorString());
    }
    Head head;
    head.bytes = file.read(MapInspection::kMapSize);
    if (file.error() != QFileDevice::NoError) {
        fail(path, file.errorString());
    }
    // A device or pipe has no size of its own: one more byte tells whether there is more.
    head.size = file.isSequential() ? head.bytes.size() + file.read(1).size() : file.size();
    return head;
}

QByteArray MapBytes::readMap(const QString& path) {
    const Head head = readHead(path);
    if (head.size != MapInspection::kMapSize) {
        fail(path,
             QStringLiteral("it is %1 bytes; a map file is exactly 2048 bytes").arg(head.size));
    }
    return head.bytes;
}
