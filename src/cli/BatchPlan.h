#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "link/ScreenAddress.h"

// A batch plan: a CSV file (UTF-8) naming, line by line, a port, a map file to download there,
// and optionally a screen number and IP address to set after the download.
//
//   # lines starting with # are comments; blank lines are skipped
//   port,file,screen,ip
//   COM1,maps/p10.bin,1,192.168.0.101
//   COM2,maps/p10.bin,,
//   /dev/ttyUSB3,"maps/hall, left.bin",3,192.168.0.103
//
// The first other line is the header: "port,file" or "port,file,screen,ip" (any letter case).
// Every line then has as many fields as the header; screen and ip are both given or both
// empty. Fields are quoted as Csv describes. A relative file is found from the plan's folder.
// Every fault throws InputError naming the plan and the line: "plan.csv:4: ...".
namespace BatchPlan {

struct Line {
    int lineNumber = 0;  // 1-based line of the plan file
    QString port;        // as written; checked by PortTarget::parse
    QString file;        // as written
    QString path;        // the file to read
    std::optional<ScreenAddress> address;
};

// What reading a plan gives: every line, or the first fault and the line (from 1) it is on.
struct Reading {
    QList<Line> lines;
    int faultLine = 0;  // 0: no fault
    QString fault;
};

// text: the plan's content; planPath: where it came from (relative files are found beside
// it). A plan without any line after the header is a fault too. Throws nothing.
Reading read(const QString& text, const QString& planPath);
// read(), throwing InputError "plan.csv:4: <fault>" for a fault.
QList<Line> parse(const QString& text, const QString& planPath);
// Reads and parses the plan file; InputError when it cannot be read.
QList<Line> load(const QString& planPath);

}  // namespace BatchPlan
