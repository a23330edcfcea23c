#include "mapfile/MapFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "core/Errors.h"

namespace {

const char* const kCannotOpen = QT_TRANSLATE_NOOP("MapFile", "无法打开文件 %1：%2");
const char* const kCannotSave = QT_TRANSLATE_NOOP("MapFile", "无法保存文件 %1：%2");
const char* const kMissing = QT_TRANSLATE_NOOP("MapFile", "文件不存在");
const char* const kTooShort = QT_TRANSLATE_NOOP("MapFile", "只有 %1 字节，地图文件应为 %2 字节");
const char* const kTooLong = QT_TRANSLATE_NOOP("MapFile", "比地图文件长：地图文件应为 %1 字节");

QString translated(const char* text) {
    return QCoreApplication::translate("MapFile", text);
}

[[noreturn]] void fail(const QString& format, const QString& path, const QString& reason) {
    throw FileError(format.arg(QDir::toNativeSeparators(path), reason).toStdString());
}

}  // namespace

MapFile::FileBytes MapFile::read(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        fail(translated(kCannotOpen), path, translated(kMissing));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fail(translated(kCannotOpen), path, file.errorString());
    }
    FileBytes contents;
    contents.bytes = file.read(MapLayout::kImageSize + 1);
    if (file.error() != QFileDevice::NoError) {
        fail(translated(kCannotOpen), path, file.errorString());
    }
    // A device or pipe has no size of its own: what was read is all that is known.
    contents.size = file.isSequential() ? contents.bytes.size() : file.size();
    return contents;
}

MapImage MapFile::fromBytes(const QByteArray& bytes) {
    if (bytes.size() < MapLayout::kImageSize) {
        throw FileError(
            translated(kTooShort).arg(bytes.size()).arg(MapLayout::kImageSize).toStdString());
    }
    if (bytes.size() > MapLayout::kImageSize) {
        throw FileError(translated(kTooLong).arg(MapLayout::kImageSize).toStdString());
    }
    MapImage image;
    image.assign(bytes);
    return image;
}

MapImage MapFile::load(const QString& path) {
    const FileBytes contents = read(path);
    try {
        return fromBytes(contents.bytes);
    } catch (const FileError& e) {
        fail(translated(kCannotOpen), path, QString::fromUtf8(e.what()));
    }
}

void MapFile::save(const QString& path, const MapImage& image) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(translated(kCannotSave), path, file.errorString());
    }
    const QByteArray bytes = image.toBytes();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(translated(kCannotSave), path, reason);
    }
    if (!file.commit()) {
        fail(translated(kCannotSave), path, file.errorString());
    }
}
