#include "MapFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "Errors.h"

namespace {

[[noreturn]] void fail(const char* format, const QString& path, const QString& reason) {
    throw FileError(
        QString::fromUtf8(format).arg(QDir::toNativeSeparators(path), reason).toStdString());
}

}  // namespace

void MapFile::save(const QString& path, const MapImage& image) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail("无法保存文件 %1：%2", path, file.errorString());
    }
    const QByteArray bytes = image.toBytes();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail("无法保存文件 %1：%2", path, reason);
    }
    if (!file.commit()) {
        fail("无法保存文件 %1：%2", path, file.errorString());
    }
}

MapImage MapFile::load(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        fail("无法打开文件 %1：%2", path, QString::fromUtf8("文件不存在"));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fail("无法打开文件 %1：%2", path, file.errorString());
    }
    const QByteArray bytes = file.read(kSize);
    if (bytes.size() < kSize) {
        const QString reason =
            file.error() != QFileDevice::NoError
                ? file.errorString()
                : QString::fromUtf8("只有 %1 字节，地图文件应为 2048 字节").arg(bytes.size());
        fail("无法打开文件 %1：%2", path, reason);
    }
    MapImage image;
    image.assign(bytes);
    return image;
}
