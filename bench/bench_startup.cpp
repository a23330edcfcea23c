// Prints the time from the start of the program's main to the first painted window, and the
// resident memory once the window stands, as medians over separate runs of this program.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>

#include "BenchProgram.h"
#include "BenchUtil.h"

namespace {

// Stops the event loop at the first paint of the window.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }
    bool painted = false;
};

// One start-up in this process: prints "<ms> <MiB>".
int once(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    BenchUtil::NullPort port;
    BenchProgram bench(port);
    FirstPaint watcher;
    bench.window.installEventFilter(&watcher);
    bench.window.show();
    QApplication::exec();
    std::printf("%.3f %.3f\n", static_cast<double>(clock.nsecsElapsed()) / 1e6,
                BenchUtil::residentMiB());
    return watcher.painted ? 0 : 1;
}

constexpr int kRuns = 9;

}  // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && qstrcmp(argv[1], "--once") == 0) {
        return once(argc, argv);
    }
    QCoreApplication app(argc, argv);
    std::vector<double> times;
    std::vector<double> memory;
    for (int i = 0; i < kRuns; ++i) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--once")});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            std::fprintf(stderr, "start-up run %d failed\n", i);
            return 1;
        }
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        times.push_back(fields.value(0).toDouble());
        memory.push_back(fields.value(1).toDouble());
    }
    std::sort(times.begin(), times.end());
    std::sort(memory.begin(), memory.end());
    std::fprintf(stderr, "Start-up, median of %d runs\n", kRuns);
    bool ok =
        BenchUtil::report("start-up to the first painted window", times[kRuns / 2], "ms", 1000);
    ok = BenchUtil::report("resident memory after start-up", memory[kRuns / 2], "MiB", 150) && ok;
    return ok ? 0 : 1;
}
