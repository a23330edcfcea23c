// Prints how long the pick grids take for the largest module (255 x 255 LEDs): showing page 2,
// which lays out both grids, and starting a new row pass, which clears the row grid; with the
// memory both grids need above an empty window.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "BenchProgram.h"
#include "BenchUtil.h"
#include "ui/ParameterPage.h"

namespace {

constexpr int kRuns = 31;

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BenchUtil::NullPort port;
    BenchProgram bench(port);
    MainWindow& window = bench.window;
    window.show();
    QApplication::processEvents();
    const double emptyMiB = BenchUtil::residentMiB();

    window.parameterPage()->widthEdit()->setText(QStringLiteral("255"));
    window.parameterPage()->heightEdit()->setText(QStringLiteral("255"));
    QPushButton* next = window.nextButton();
    QPushButton* previous = window.previousButton();
    QElapsedTimer first;
    first.start();
    next->click();
    const double firstPage2 = static_cast<double>(first.nsecsElapsed()) / 1e6;
    const double page2 = BenchUtil::medianMs(
        kRuns, [&] { previous->click(); }, [&] { next->click(); });
    const double page2Painted = BenchUtil::medianMs(
        kRuns, [&] { previous->click(); },
        [&] {
            next->click();
            QApplication::processEvents();
        });
    next->click();
    next->click();
    const double clear = BenchUtil::medianMs(
        kRuns, [&] { previous->click(); }, [&] { next->click(); });
    QApplication::processEvents();
    const double gridsMiB = BenchUtil::residentMiB() - emptyMiB;

    std::fprintf(stderr, "Pick grids, 255 x 255 module, median of %d runs\n", kRuns);
    bool ok = BenchUtil::report("show page 2 (both grids laid out)", page2, "ms", 20);
    BenchUtil::report("first show of page 2 (grids grow from 1 x 1)", firstPage2, "ms");
    BenchUtil::report("show page 2, then its events and painting", page2Painted, "ms");
    ok = BenchUtil::report("show page 4 (row grid cleared)", clear, "ms", 5) && ok;
    ok = BenchUtil::report("memory of both grids above an empty window", gridsMiB, "MiB", 20) && ok;
    return ok ? 0 : 1;
}
