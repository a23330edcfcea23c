#pragma once

#include <QStringList>

#include "cli/CliIo.h"

// lumotrix-cli: the subcommands show, download, set-address, read-address, batch and locate,
// chosen by the first argument. Everything the program writes goes through io, so tests run it as a
// function call; no call ever ends the process.
class Cli {
public:
    explicit Cli(CliIo& io) : m_io(io) {}

    // arguments: what follows the program's name. Returns the exit code (ExitCode).
    int run(const QStringList& arguments);
    static QString help();

private:
    int dispatch(const QString& command, const QStringList& rest);

    CliIo& m_io;
};
