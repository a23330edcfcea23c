#pragma once

#include "BenchUtil.h"
#include "ui/MainWindow.h"

// The whole program on the given port, with messages on standard error and every file dialog
// cancelled: the common ground of the window benchmarks. COMn stands for the device "COMn".
struct BenchProgram {
    explicit BenchProgram(SerialPort& port)
        : window({port, notifier, dialogs,
                  PortNames([] { return QStringList(); },
                            [](const QString& name) { return name.mid(9); })}) {}

    BenchUtil::SilentNotifier notifier;
    BenchUtil::NoDialogs dialogs;
    MainWindow window;
};
