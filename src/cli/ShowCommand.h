#pragma once

#include <QStringList>

#include "cli/CliIo.h"

// lumotrix-cli show FILE.bin [--json]: prints the map decoded, and what looks wrong in it.
// Exit code: Success when nothing looks wrong, BadInput when the file cannot be read or when
// problems were found (the decoded map is printed all the same).
class ShowCommand {
public:
    static int run(const QStringList& args, CliIo& io);
    static QString help();
};
