#pragma once

#include "session/Notifier.h"

class QWidget;

// Shows each message in a modal message box with an OK button only, over the given window (or
// the active one when none is given), with no title of its own.
class MessageBoxNotifier : public Notifier {
public:
    explicit MessageBoxNotifier(QWidget* parent) : m_parent(parent) {}
    void showMessage(const QString& text) override;
    // A question with the platform's Discard and Cancel buttons; Cancel is the default.
    bool askToDiscard(const QString& text) override;

private:
    QWidget* m_parent;
};
