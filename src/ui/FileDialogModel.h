#pragma once

#include <QIdentityProxyModel>

// The files of Qt's own file dialog as the program's language writes them. The dialog's model
// writes sizes and dates as the system's locale does and names folders as Qt's own translation
// does (which lacks the word in Chinese); through this model sizes and dates follow the default
// QLocale (Languages::use sets it) and a folder's type is "文件夹". Other columns and roles pass
// through unchanged. Used over a QFileSystemModel; over any other model it changes nothing.
class FileDialogModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;
};
