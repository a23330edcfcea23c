// Prints how long a batch of 8 downloads on 8 ports (8 simulated controllers) takes against one
// download on one port, both through lumotrix-cli and measured in the same run. Each port has
// its own thread, so the batch should take about as long as a single download.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <memory>
#include <vector>

#include "BenchUtil.h"
#include "SimulatorThread.h"
#include "cli/Cli.h"

namespace {

constexpr int kPorts = 8;
constexpr double kRatioBar = 1.15;

// Runs lumotrix-cli with args; returns its exit code, discarding what it writes.
int runCli(const QStringList& args) {
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    CliIo io{outStream, errStream, false, PortNames()};
    Cli cli(io);
    return cli.run(args);
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(2);
    }
    return file.fileName();
}

using Sims = std::vector<std::unique_ptr<SimulatorThread>>;

QString writePlan(const QTemporaryDir& dir, const Sims& sims) {
    QString plan = QStringLiteral("port,file\n");
    for (const auto& sim : sims) {
        plan += sim->devicePath() + QStringLiteral(",map.bin\n");
    }
    return writeFile(dir, QStringLiteral("plan.csv"), plan.toUtf8());
}

Sims startSimulators() {
    Sims sims;
    for (int i = 0; i < kPorts; ++i) {
        sims.push_back(std::make_unique<SimulatorThread>());
        if (!sims.back()->isRunning()) {
            std::fprintf(stderr, "simulator: %s\n", qPrintable(sims.back()->errorString()));
            std::exit(2);
        }
    }
    return sims;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    const Sims sims = startSimulators();
    QTemporaryDir dir;
    const QString map = writeFile(dir, QStringLiteral("map.bin"), QByteArray(2048, '\x21'));
    const QString plan = writePlan(dir, sims);
    int failures = 0;
    const auto measure = [&](double& single, double& batch) {
        single = BenchUtil::medianMs(
            runs, [] {},
            [&] {
                failures += runCli({QStringLiteral("download"), map, QStringLiteral("--port"),
                                    sims.front()->devicePath()}) != 0;
            });
        batch = BenchUtil::medianMs(
            runs, [] {},
            [&] {
                failures += runCli({QStringLiteral("batch"), plan}) != 0;
            });
    };
    double single = 0;
    double batch = 0;
    measure(single, batch);
    // Again with the controllers emulating 19200 bit/s line time.
    SimulatorFaults lineTime;
    lineTime.lineTime = true;
    for (const auto& sim : sims) {
        sim->setFaults(lineTime);
    }
    double timedSingle = 0;
    double timedBatch = 0;
    measure(timedSingle, timedBatch);

    std::fprintf(stderr, "lumotrix-cli against simulated controllers, median of %d runs each\n",
                 runs);
    BenchUtil::report("one download on one port", single, "ms");
    BenchUtil::report("batch of 8 downloads on 8 ports", batch, "ms");
    bool ok = BenchUtil::report("batch / single", batch / single, "", kRatioBar);
    BenchUtil::report("with line time: one download", timedSingle, "ms");
    BenchUtil::report("with line time: batch of 8", timedBatch, "ms");
    ok = BenchUtil::report("with line time: batch / single", timedBatch / timedSingle, "",
                           kRatioBar) &&
         ok;
    ok = BenchUtil::report("failed runs", failures, "", 0) && ok;
    return ok ? 0 : 1;
}
