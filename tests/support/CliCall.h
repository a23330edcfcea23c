#pragma once

#include <QStringList>
#include <QTextStream>

#include "cli/Cli.h"

// What lumotrix-cli returned and wrote.
struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

// lumotrix-cli run as a function call, its output caught. For the suites that link the
// command line's library.
inline CliRun runCli(const QStringList& args, const PortNames& portNames, bool errIsTerminal) {
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    CliIo io{out, err, errIsTerminal, portNames};
    run.code = Cli(io).run(args);
    out.flush();
    err.flush();
    return run;
}
