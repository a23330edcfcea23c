// Prints how long the pick grids take for the largest module (255 x 255 LEDs): showing page 2,
// which lays out both grids with every label and guide mark, and clearing one grid, with the
// memory both grids need above an empty window.
#include <QApplication>
#include <cstdio>

#include "BenchProgram.h"
#include "BenchUtil.h"
#include "FlexGrid.h"
#include "GridLayout.h"
#include "Lumotrix.h"

namespace {

constexpr int kRuns = 31;

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BenchUtil::NullPort port;
    BenchProgram bench(port);
    Lumotrix& program = bench.program;
    OE& window = program.window();
    window.show();
    QApplication::processEvents();
    const double emptyMiB = BenchUtil::residentMiB();

    WindowState& s = window.state();
    s.dataBuffer.set(0, 255);
    s.dataBuffer.set(1, 255);
    auto showPage = [&](int page) {
        s.StepNum = page;
        program.wizard().display().showStep();
    };
    QElapsedTimer first;
    first.start();
    showPage(2);
    const double firstPage2 = static_cast<double>(first.nsecsElapsed()) / 1e6;
    const double page2 = BenchUtil::medianMs(
        kRuns, [&] { showPage(1); }, [&] { showPage(2); });
    const double page2Painted = BenchUtil::medianMs(
        kRuns, [&] { showPage(1); },
        [&] {
            showPage(2);
            QApplication::processEvents();
        });
    FlexGrid& hang = *window.controls().HangGrid;
    const double clear = BenchUtil::medianMs(
        kRuns, [] {}, [&] { GridLayout::clearRowGrid(hang); });
    QApplication::processEvents();
    const double gridsMiB = BenchUtil::residentMiB() - emptyMiB;

    std::fprintf(stderr, "Pick grids, 255 x 255 module, median of %d runs\n", kRuns);
    bool ok = BenchUtil::report("show page 2 (both grids laid out)", page2, "ms", 20);
    BenchUtil::report("first show of page 2 (grids grow from 2 x 2)", firstPage2, "ms");
    BenchUtil::report("show page 2, then its events and painting", page2Painted, "ms");
    ok = BenchUtil::report("clear one grid", clear, "ms", 5) && ok;
    ok = BenchUtil::report("memory of both grids above an empty window", gridsMiB, "MiB", 20) && ok;
    return ok ? 0 : 1;
}
