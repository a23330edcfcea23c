#pragma once

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>
#include <random>

#include "SimulatorFaults.h"

using namespace std::chrono_literals;

// What a long run measures of its own process, and the faults it draws for the controller.
namespace Soak {

// Open file descriptors of this process.
inline int openFiles() {
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files).size());
}

// Resident memory of this process in bytes (the second field of /proc/self/statm, in pages).
inline qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    return statm.readAll().split(' ').value(1).toLongLong() * ::sysconf(_SC_PAGESIZE);
}

// One way the controller misbehaves during a download. hangsUp: the line goes away, which the
// program reports as a port failure; every other fault is a download that is not acknowledged.
struct Fault {
    const char* name = "";
    SimulatorFaults faults;
    bool hangsUp = false;
};

// Silence, NAK or hang-up at a data packet drawn from 1..16, an answer 600 ms late, or garbage.
inline Fault drawFault(std::mt19937& random) {
    const int packet = std::uniform_int_distribution<int>(1, 16)(random);
    Fault f;
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
        case 0:
            f.name = "silence";
            f.faults.silentDataPacket = packet;
            break;
        case 1:
            f.name = "NAK";
            f.faults.nakDataPacket = packet;
            break;
        case 2:
            f.name = "late answer";
            f.faults.answerDelay = 600ms;
            break;
        case 3:
            f.name = "garbage";
            f.faults.garbageAnswer = true;
            break;
        default:
            f.name = "hang-up";
            f.faults.hangUpAtDataPacket = packet;
            f.hangsUp = true;
    }
    return f;
}

// How many of each fault were drawn: "7 (NAK 2, garbage 1, hang-up 2, silence 2)".
inline QByteArray tally(const QMap<QString, int>& drawn) {
    QStringList parts;
    int total = 0;
    for (auto it = drawn.begin(); it != drawn.end(); ++it) {
        parts.append(QStringLiteral("%1 %2").arg(it.key()).arg(it.value()));
        total += it.value();
    }
    return QStringLiteral("%1 (%2)").arg(total).arg(parts.join(QStringLiteral(", "))).toUtf8();
}

}  // namespace Soak
