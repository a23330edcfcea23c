// Prints the time from launching the program to its first painted window (the dynamic loader's
// work included), the time from main to that paint, and the resident memory once the window
// stands, as medians over separate runs of this program.
//
// With --against OTHER, the runs alternate between this program and OTHER (another build of
// this file, for example one that links more libraries), so that both meet the same load on the
// machine, and the ratios new / old are printed as well:
//   bench_startup_camera --against bench_startup
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

// One start-up in this process: prints "<ms since main> <MiB>".
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
    std::fflush(stdout);
    return watcher.painted ? 0 : 1;
}

constexpr int kRuns = 9;

// The medians of one program's runs.
struct Startup {
    std::vector<double> fromLaunch;
    std::vector<double> fromMain;
    std::vector<double> memory;

    double median(std::vector<double>& values) const {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }
};

// Runs `program --once` and adds its figures; the launch time ends when the child has printed
// them, which it does right after its first paint.
bool runOnce(const QString& program, Startup& figures) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(program, {QStringLiteral("--once")});
    if (!child.waitForReadyRead(30000)) {
        return false;
    }
    const double launch = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        return false;
    }
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    figures.fromLaunch.push_back(launch);
    figures.fromMain.push_back(fields.value(0).toDouble());
    figures.memory.push_back(fields.value(1).toDouble());
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && qstrcmp(argv[1], "--once") == 0) {
        return once(argc, argv);
    }
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype against = arguments.indexOf(QStringLiteral("--against"));
    const QString other = against > 0 ? arguments.value(against + 1) : QString();
    Startup self;
    Startup old;
    for (int i = 0; i < kRuns; ++i) {
        if (!runOnce(QCoreApplication::applicationFilePath(), self) ||
            (!other.isEmpty() && !runOnce(other, old))) {
            std::fprintf(stderr, "start-up run %d failed\n", i);
            return 1;
        }
    }
    std::fprintf(stderr, "Start-up of %s, median of %d runs\n",
                 qPrintable(QCoreApplication::applicationName()), kRuns);
    const double launch = self.median(self.fromLaunch);
    const double memory = self.median(self.memory);
    bool ok =
        BenchUtil::report("start-up from launch to the first painted window", launch, "ms", 1000);
    BenchUtil::report("start-up from main to the first painted window", self.median(self.fromMain),
                      "ms");
    ok = BenchUtil::report("resident memory after start-up", memory, "MiB", 150) && ok;
    if (other.isEmpty()) {
        return ok ? 0 : 1;
    }
    std::fprintf(stderr, "against %s, runs alternating\n", qPrintable(other));
    BenchUtil::report("start-up from launch of the other build", old.median(old.fromLaunch), "ms");
    BenchUtil::report("resident memory of the other build", old.median(old.memory), "MiB");
    ok = BenchUtil::report("start-up from launch, this build / the other",
                           launch / old.median(old.fromLaunch), "x", 1.1) &&
         ok;
    ok = BenchUtil::report("resident memory, this build / the other",
                           memory / old.median(old.memory), "x", 1.1) &&
         ok;
    return ok ? 0 : 1;
}
