#pragma once

#include <QString>

// How a handler tells the user something that needs an answer before work goes on: a modal
// message with an OK button. The window shows a real message box; tests record the texts.
class Notifier {
public:
    virtual ~Notifier() = default;
    // Shows text and returns when the user has acknowledged it.
    virtual void showMessage(const QString& text) = 0;
};
