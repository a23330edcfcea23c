#pragma once

#include <QTextStream>

#include "cli/ExitCode.h"
#include "link/PortNames.h"

// Where a subcommand writes and how it names ports. Results go to out; progress and errors
// go to err. errIsTerminal chooses a redrawn progress bar over one line per step.
struct CliIo {
    QTextStream& out;
    QTextStream& err;
    bool errIsTerminal = false;
    PortNames portNames;

    // Prints "lumotrix-cli: <message>" on err and returns code, for `return io.fail(...)`.
    int fail(ExitCode code, const QString& message) {
        err << "lumotrix-cli: " << message << '\n';
        err.flush();
        return toInt(code);
    }
};
