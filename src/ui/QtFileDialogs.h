#pragma once

#include "FileDialogs.h"

class QWidget;

// The platform's file dialogs over the given window (or the active one when none is given).
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : m_parent(parent) {}
    QString askSaveFileName(const QString& description, const QString& pattern) override;
    QString askOpenFileName(const QString& description, const QString& pattern) override;

private:
    QWidget* m_parent;
};
