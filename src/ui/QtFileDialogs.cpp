#include "ui/QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include "ui/FileDialogModel.h"

namespace {

QString ask(QWidget* parent, QFileDialog::AcceptMode mode, const QString& description,
            const QString& pattern) {
    QFileDialog dialog(parent != nullptr ? parent : QApplication::activeWindow());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    // "bin Files(*.bin)" already names its pattern; Qt reads the part in parentheses.
    dialog.setNameFilter(description.contains(pattern)
                             ? description
                             : description + QStringLiteral(" (") + pattern + QStringLiteral(")"));
    if (mode == QFileDialog::AcceptSave) {
        dialog.setDefaultSuffix(pattern.section(QLatin1Char('.'), -1));  // "name" -> "name.bin"
    }
    // Qt's own dialog (a native one ignores this) lists sizes, dates and folders in the
    // program's language.
    dialog.setProxyModel(new FileDialogModel(&dialog));
    QSettings settings;
    const QString folder = settings.value(QLatin1String(QtFileDialogs::kFolderKey)).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        dialog.setDirectory(folder);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString chosen = dialog.selectedFiles().first();
    settings.setValue(QLatin1String(QtFileDialogs::kFolderKey), QFileInfo(chosen).absolutePath());
    return chosen;
}

}  // namespace

QString QtFileDialogs::askSaveFileName(const QString& description, const QString& pattern) {
    return ask(m_parent, QFileDialog::AcceptSave, description, pattern);
}

QString QtFileDialogs::askOpenFileName(const QString& description, const QString& pattern) {
    return ask(m_parent, QFileDialog::AcceptOpen, description, pattern);
}
