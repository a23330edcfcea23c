#pragma once

#include "BenchUtil.h"
#include "Lumotrix.h"

// The whole program on the given port, started up, with messages on standard error and every
// file dialog cancelled: the common ground of the window benchmarks.
struct BenchProgram {
    explicit BenchProgram(SerialPort& port)
        : program({port, notifier, dialogs, [](int n) { return QStringLiteral("COM%1").arg(n); }}) {
        program.startUp();
    }

    BenchUtil::SilentNotifier notifier;
    BenchUtil::NoDialogs dialogs;
    Lumotrix program;
};
