#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "Cli.h"
#include "Language.h"

// Runs lumotrix-cli as a function call and keeps what it wrote.
struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

// No serial device is present and no LUMOTRIX_COMn is set, unless the test says otherwise.
inline PortNames noDevices() {
    return PortNames([] { return QStringList(); }, [](const QString&) { return QString(); });
}

inline CliRun runCli(const QStringList& args, const PortNames& names = noDevices(),
                     bool terminal = false) {
    static const bool english = (Languages::use(Language::English), true);  // as main() does
    Q_UNUSED(english);
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    CliIo io{out, err, terminal, names};
    Cli cli(io);
    run.code = cli.run(args);
    out.flush();
    err.flush();
    return run;
}
