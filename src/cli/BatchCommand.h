#pragma once

#include <QStringList>

#include "cli/CliIo.h"

// lumotrix-cli batch PLAN.csv [--report REPORT.csv]: every line of the plan (BatchPlan) is a
// download, and optionally a SetAddress after it. Lines on different ports run at the same
// time, each port on its own thread; lines on one port run in the plan's order. The whole plan,
// its ports and its map files are checked before anything is sent. The report (BatchReport)
// goes to REPORT.csv, or to standard output without --report; one line per finished plan
// line goes to standard error. Exit code: BadInput for a faulty plan (nothing sent), else the
// highest code of the lines.
class BatchCommand {
public:
    static int run(const QStringList& args, CliIo& io);
    static QString help();
};
