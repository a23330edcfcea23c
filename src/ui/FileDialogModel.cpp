#include "ui/FileDialogModel.h"

#include <QFileSystemModel>
#include <QLocale>

namespace {

// QFileSystemModel's columns.
enum Column { kName, kSize, kType, kModified };

}  // namespace

QVariant FileDialogModel::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || index.column() == kName) {
        return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex file = mapToSource(index);
    switch (index.column()) {
        case kSize:
            return files->isDir(file) ? QString() : QLocale().formattedDataSize(files->size(file));
        case kType:
            return files->isDir(file) ? tr("文件夹") : QIdentityProxyModel::data(index, role);
        case kModified:
            return QLocale().toString(files->lastModified(file), QLocale::ShortFormat);
        default:
            return QIdentityProxyModel::data(index, role);
    }
}
