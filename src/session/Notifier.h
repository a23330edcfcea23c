#pragma once

#include <QString>

// How the program tells the user something that needs an answer before work goes on: a modal
// message with an OK button, or a question. The window shows real message boxes; tests record
// the texts and script the answers.
class Notifier {
public:
    virtual ~Notifier() = default;
    // Shows text and returns when the user has acknowledged it.
    virtual void showMessage(const QString& text) = 0;
    // Asks whether work that is not saved may be thrown away; true when the user says so.
    virtual bool askToDiscard(const QString& text) = 0;
};
