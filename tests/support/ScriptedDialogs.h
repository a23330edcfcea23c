#pragma once

#include <QStringList>

#include "ui/FileDialogs.h"

// File dialogs that answer from a script: each call takes the next path of `answers`, and an
// empty path or an empty script means the user cancelled. Every question asked is recorded.
class ScriptedDialogs : public FileDialogs {
public:
    QString askSaveFileName(const QString& description, const QString& pattern) override {
        asked.append(QStringLiteral("save ") + description + QLatin1Char('|') + pattern);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString askOpenFileName(const QString& description, const QString& pattern) override {
        asked.append(QStringLiteral("open ") + description + QLatin1Char('|') + pattern);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QStringList asked;
};
