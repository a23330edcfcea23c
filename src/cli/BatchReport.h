#pragma once

#include <QList>
#include <QString>

#include "cli/PortJob.h"

// The report of a batch: a CSV file (UTF-8, quoted as Csv describes) with a header and one row
// per plan line, in the plan's order:
//
//   line,port,file,crc32,result,step,packet,seconds,message
//   3,COM1,maps/p10.bin,5f1d7a3c,ok,,,2.41,
//   4,COM2,maps/p10.bin,5f1d7a3c,not-acknowledged,download,5,0.98,the controller on ...
//
// line: the plan line; port and file: as the plan wrote them; crc32: CRC-32 of the map
// bytes (8 hex digits); result: ok, not-acknowledged or port-failed; step (failures only):
// download or set-address; packet (failures only): the packet reached, 1..16 a data packet,
// 17 the closing packet, 1 the SetAddress packet, 0 nothing sent; seconds: the time the line
// took on its port, two decimals; message: what went wrong, in plain words.
namespace BatchReport {

struct Row {
    int line = 0;
    QString port;
    QString portDescription;  // for the message: "COM1 (/dev/ttyUSB0)"
    QString file;
    QString crc32;
    PortJobResult result;
};

QString header();
QString row(const Row& row);
// The header and every row, each ending in a line break.
QString csv(const QList<Row>& rows);

}  // namespace BatchReport
