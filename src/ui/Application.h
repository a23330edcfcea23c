#pragma once

#include <QApplication>

// The program's application object. A failure that no handler expects is a fault of the
// program: instead of ending the program it is shown as an internal error with its text, and
// the window stays usable.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
