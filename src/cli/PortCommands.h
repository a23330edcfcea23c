#pragma once

#include <QStringList>

#include "cli/CliIo.h"

// The subcommands that talk to one controller: download, set-address and read-address. Each
// checks every argument and file before the port is touched, runs one PortJob on the port's
// own worker thread, and says how it ended. Exit codes as ExitCode lists them.
namespace PortCommands {

int download(const QStringList& args, CliIo& io);
int setAddress(const QStringList& args, CliIo& io);
int readAddress(const QStringList& args, CliIo& io);

QString downloadHelp();
QString setAddressHelp();
QString readAddressHelp();

}  // namespace PortCommands
