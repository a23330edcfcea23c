#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "link/SerialPort.h"
#include "session/Notifier.h"
#include "ui/FileDialogs.h"

// Small helpers shared by the benchmark programs: medians of repeated runs, resident memory,
// a port that accepts everything, and one line per figure with its bar.
namespace BenchUtil {

// Median of `runs` timings of `work` in milliseconds; `prepare` runs untimed before each.
inline double medianMs(int runs, const std::function<void()>& prepare,
                       const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Resident memory of this process in MiB.
inline double residentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * 4096.0 / (1024.0 * 1024.0);
}

// Prints one row of the benchmark table, "| figure | value unit | bar | met |", and returns
// whether the bar is met. A figure without a bar (bar < 0) is printed for information.
// Titles and notes go to standard error, so the rows of all benchmarks form one table.
inline bool report(const char* figure, double value, const char* unit, double bar = -1) {
    if (bar < 0) {
        std::printf("| %-52s | %10.3f %-3s | %-12s | %-5s |\n", figure, value, unit, "", "");
        return true;
    }
    const bool ok = value <= bar;
    char barText[32];
    std::snprintf(barText, sizeof barText, "<= %g %s", bar, unit);
    std::printf("| %-52s | %10.3f %-3s | %-12s | %-5s |\n", figure, value, unit, barText,
                ok ? "met" : "MISSED");
    return ok;
}

// Takes every packet and answers nothing.
class NullPort : public SerialPort {
public:
    void open(const QString&) override { m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void write(const QByteArray&) override {}
    void drain(std::chrono::milliseconds) override {}
    void discardInput() override {}
    QByteArray readAll() override { return {}; }

private:
    bool m_open = false;
};

// Messages go to standard error instead of a box, so a benchmark never waits for a click.
class SilentNotifier : public Notifier {
public:
    void showMessage(const QString& text) override {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool askToDiscard(const QString&) override { return true; }
    int messages = 0;
};

// The benchmarks never save or open files: every dialog is cancelled.
class NoDialogs : public FileDialogs {
public:
    QString askSaveFileName(const QString&, const QString&) override { return {}; }
    QString askOpenFileName(const QString&, const QString&) override { return {}; }
};

}  // namespace BenchUtil
