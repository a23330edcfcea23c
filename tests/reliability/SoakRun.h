#pragma once

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>
#include <random>

#include "SimulatorFaults.h"

#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer) || __has_feature(address_sanitizer)
#define SOAK_UNDER_SANITIZER 1
#endif
#endif

// A long run of downloads in this process. Download n (counted from 1) gets a fault when n is a
// multiple of three, drawn from a fixed seed. Construct it once whatever the run reuses has been
// set up: finish() then checks that the process holds as many files as at that moment and that
// its resident memory has grown by less than 2 MiB.
class SoakRun {
public:
    // Silence, NAK or hang-up at a data packet drawn from 1..16, an answer 600 ms late, or
    // garbage; no name: no fault. A hang-up takes the line away, which the program reports as
    // a port failure; every other fault is a download that is not acknowledged.
    struct Fault {
        const char* name = nullptr;
        SimulatorFaults faults;
        bool hangsUp() const { return faults.hangUpAtDataPacket != 0; }
    };

    Fault faultFor(int n) {
        if (n % 3 != 0) {
            return {};
        }
        static const char* const names[] = {"silence", "NAK", "late answer", "garbage", "hang-up"};
        const int packet = std::uniform_int_distribution<int>(1, 16)(m_random);
        const int kind = std::uniform_int_distribution<int>(0, 4)(m_random);
        Fault f{names[kind], {}};
        f.faults.silentDataPacket = kind == 0 ? packet : 0;
        f.faults.nakDataPacket = kind == 1 ? packet : 0;
        f.faults.answerDelay = std::chrono::milliseconds(kind == 2 ? 600 : 0);
        f.faults.garbageAnswer = kind == 3;
        f.faults.hangUpAtDataPacket = kind == 4 ? packet : 0;
        ++m_drawn[QString::fromLatin1(f.name)];
        return f;
    }

    // Open file descriptors of this process.
    static qsizetype openFiles() {
        return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files).size();
    }
    qsizetype filesAtStart() const { return m_files; }

    // Reports the run (what ran, the faults drawn, files and memory) and checks what it left.
    void finish(const char* what) {
        const qint64 grown = residentBytes() - m_resident;
        qInfo().noquote() << what << "- faults" << m_drawn << "- open files" << m_files << "before,"
                          << openFiles() << "after; resident memory" << m_resident / 1024
                          << "KiB before, grown by" << grown / 1024 << "KiB";
        QCOMPARE(openFiles(), m_files);
#if SOAK_UNDER_SANITIZER
        // A sanitizer holds freed memory back and keeps its own records, so resident memory
        // says nothing about leaks there; open files still do.
        Q_UNUSED(grown);
#else
        QVERIFY(grown < 2 * 1024 * 1024);
#endif
    }

private:
    // Resident memory of this process in bytes (the second field of /proc/self/statm, in pages).
    static qint64 residentBytes() {
        QFile statm(QStringLiteral("/proc/self/statm"));
        statm.open(QIODevice::ReadOnly);
        return statm.readAll().split(' ').value(1).toLongLong() * ::sysconf(_SC_PAGESIZE);
    }

    std::mt19937 m_random{20240611};
    QMap<QString, int> m_drawn;
    qsizetype m_files = openFiles();
    qint64 m_resident = residentBytes();
};
