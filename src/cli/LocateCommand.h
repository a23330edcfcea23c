#pragma once

#include <QStringList>

#include "cli/CliIo.h"

// lumotrix-cli locate --module WxH --dark D.jpg --lit L.jpg STEP.jpg...: calibrates the LED
// finder on a picture of the module dark and one of it fully lit, then prints for each step
// picture the LED lit in it (row and column from 1), or why it is in doubt.
// Exit code: Success when every step picture shows one LED clearly; Doubt when any does not;
// BadInput for bad arguments, a picture that cannot be read, or a refused calibration (the
// message says why in plain words).
class LocateCommand {
public:
    static int run(const QStringList& args, CliIo& io);
    static QString help();
};
