#pragma once

#include <QString>

// The seam to the file dialogs. Each call shows a modal dialog offering one file type
// (description such as "bin Files(*.bin)", pattern such as "*.bin") and returns the chosen path,
// or an empty string when the user cancelled. The save dialog adds the pattern's extension to a
// bare name and asks before replacing an existing file.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString askSaveFileName(const QString& description, const QString& pattern) = 0;
    virtual QString askOpenFileName(const QString& description, const QString& pattern) = 0;
};
