#pragma once

#include <QStringList>

#include "Notifier.h"

// Keeps every message instead of showing it, so tests never block on a dialog.
class RecordingNotifier : public Notifier {
public:
    void showMessage(const QString& text) override { messages.append(text); }

    QStringList messages;
};
