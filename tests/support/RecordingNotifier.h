#pragma once

#include <QStringList>
#include <QTest>

#include "session/Notifier.h"

// Keeps every message instead of showing it, so tests never block on a dialog; with readingMs
// set, each message is "read" for that long while the event loop runs, as an open box does.
class RecordingNotifier : public Notifier {
public:
    void showMessage(const QString& text) override {
        messages.append(text);
        if (readingMs > 0) {
            QTest::qWait(readingMs);
        }
    }
    bool askToDiscard(const QString& text) override {
        questions.append(text);
        return discard;
    }

    QStringList messages;
    QStringList questions;
    bool discard = false;  // the answer to every question
    int readingMs = 0;
};
