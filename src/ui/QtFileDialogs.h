#pragma once

#include "ui/FileDialogs.h"

class QWidget;

// The platform's file dialogs over the given window (or the active one when none is given).
// Each opens in the folder of the file chosen last in any of them, kept in the settings
// (QSettings, key kFolderKey) so that the next run starts there too.
class QtFileDialogs : public FileDialogs {
public:
    static constexpr const char* kFolderKey = "mapFileFolder";

    explicit QtFileDialogs(QWidget* parent) : m_parent(parent) {}
    QString askSaveFileName(const QString& description, const QString& pattern) override;
    QString askOpenFileName(const QString& description, const QString& pattern) override;

private:
    QWidget* m_parent;
};
