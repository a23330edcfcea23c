// lumotrix-cli: map files, downloads and screen addresses from the command line.
#include <unistd.h>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/Cli.h"
#include "core/Language.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumotrix-cli"));
    Languages::use(Language::English);
    QTextStream out(stdout);
    QTextStream err(stderr);
    CliIo io{out, err, ::isatty(STDERR_FILENO) == 1, PortNames()};
    Cli cli(io);
    return cli.run(QCoreApplication::arguments().mid(1));
}
