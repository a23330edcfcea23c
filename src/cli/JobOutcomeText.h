#pragma once

#include <QString>

#include "cli/ExitCode.h"
#include "cli/PortJob.h"

// How the command line puts a PortJobResult into words and exit codes.
namespace JobOutcomeText {

// Success for Done, NotAcknowledged for NotAccepted, PortFailed for PortFailed.
ExitCode exitCode(const PortJobResult& result);
// "ok", "not-acknowledged" or "port-failed".
QString resultWord(const PortJobResult& result);
// "download", "set-address", "read-address", or empty.
QString stepWord(PortJobResult::Step step);
// A plain sentence about a failure, naming the port and the packet:
// "the controller on COM1 (/dev/ttyUSB0) did not acknowledge data packet 5 of 16 ...".
QString failure(const PortJobResult& result, const QString& port);

}  // namespace JobOutcomeText
