#pragma once

#include <QStringList>

#include "Notifier.h"

// Keeps every message instead of showing it, so tests never block on a dialog.
class RecordingNotifier : public Notifier {
public:
    void showMessage(const QString& text) override { messages.append(text); }
    bool askToDiscard(const QString& text) override {
        questions.append(text);
        return discard;
    }

    QStringList messages;
    QStringList questions;
    bool discard = false;  // the answer to every question
};
