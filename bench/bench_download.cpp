// Prints how long a complete download takes through the window against the simulated
// controller on a pseudo-terminal, against its fixed waits (500 ms + 16 x 100 ms = 2100 ms),
// and counts failed downloads with the simulator's 19200 bit/s line-time emulation on.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <cstdio>

#include "BenchUtil.h"
#include "SimulatorThread.h"
#include "link/QtSerialPort.h"
#include "ui/MainWindow.h"

namespace {

struct Run {
    double ms = 0;
    bool complete = false;
};

Run download(MainWindow& window) {
    QString last;
    const auto connection = QObject::connect(&window.commands(), &ControllerCommands::statusChanged,
                                             [&last](const QString& text) { last = text; });
    QElapsedTimer clock;
    clock.start();
    window.downloadButton()->click();
    while (window.commands().isBusy() && clock.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    QObject::disconnect(connection);
    return {static_cast<double>(clock.nsecsElapsed()) / 1e6, last == QString::fromUtf8("下载完成")};
}

constexpr double kFixedWaitsMs = 2100;

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    SimulatorThread sim;
    QtSerialPort port;
    BenchUtil::SilentNotifier notifier;
    BenchUtil::NoDialogs dialogs;
    MainWindow window({port, notifier, dialogs,
                       PortNames([] { return QStringList(); },
                                 [&sim](const QString&) { return sim.devicePath(); })});
    window.session().mapOpened(MapImage());

    std::vector<double> plain;
    int plainFailures = 0;
    for (int i = 0; i < runs; ++i) {
        const Run r = download(window);
        plain.push_back(r.ms);
        plainFailures += r.complete ? 0 : 1;
    }
    SimulatorFaults lineTime;
    lineTime.lineTime = true;
    sim.setFaults(lineTime);
    std::vector<double> timed;
    int timedFailures = 0;
    for (int i = 0; i < runs; ++i) {
        const Run r = download(window);
        timed.push_back(r.ms);
        timedFailures += r.complete ? 0 : 1;
    }
    std::sort(plain.begin(), plain.end());
    std::sort(timed.begin(), timed.end());
    const double median = plain[plain.size() / 2];

    std::fprintf(stderr,
                 "Download through the window against the simulated controller, %d runs each\n",
                 runs);
    BenchUtil::report("fixed waits of a download", kFixedWaitsMs, "ms");
    BenchUtil::report("complete download, median", median, "ms");
    bool ok = BenchUtil::report("overhead above the fixed waits", median - kFixedWaitsMs, "ms", 60);
    ok = BenchUtil::report("failed downloads without line time", plainFailures, "", 0) && ok;
    BenchUtil::report("download with 19200 bit/s line time, median", timed[timed.size() / 2], "ms");
    ok = BenchUtil::report("failed downloads with line time", timedFailures, "", 0) && ok;
    ok = BenchUtil::report("messages shown", notifier.messages, "", 0) && ok;
    return ok ? 0 : 1;
}
