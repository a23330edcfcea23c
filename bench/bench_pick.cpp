// Prints the time from a click on a pick grid cell to the test packet written to the port, for
// a 255 x 128 module: the median over many row picks and many column picks.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "BenchProgram.h"
#include "BenchUtil.h"
#include "ui/MainWindow.h"
#include "ui/ParameterPage.h"
#include "ui/PickGridView.h"
#include "ui/PickPage.h"

namespace {

// Notes when the first packet after a click was written.
class TimingPort : public BenchUtil::NullPort {
public:
    void write(const QByteArray&) override {
        if (m_clock.isValid() && m_latency < 0) {
            m_latency = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
        }
    }
    void startClock() {
        m_latency = -1;
        m_clock.start();
    }
    double latency() const { return m_latency; }

private:
    QElapsedTimer m_clock;
    double m_latency = -1;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double clickToPacket(TimingPort& port, PickGridView& grid, int row, int col) {
    grid.setCurrentIndex(grid.model()->index(row - 1, col - 1));
    port.startClock();
    Q_EMIT grid.clicked(grid.currentIndex());
    return port.latency();
}

constexpr int kPicks = 400;

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TimingPort port;
    BenchProgram bench(port);
    MainWindow& window = bench.window;
    window.show();
    window.parameterPage()->widthEdit()->setText(QStringLiteral("255"));
    window.parameterPage()->heightEdit()->setText(QStringLiteral("128"));
    for (int i = 0; i < 3; ++i) {
        window.nextButton()->click();
    }
    QApplication::processEvents();

    std::vector<double> rows;
    PickGridView& rowGrid = *window.pickPage(PickGrid::Rows)->grid();
    for (int i = 0; i < kPicks; ++i) {
        rows.push_back(clickToPacket(port, rowGrid, 1 + i % 128, 1 + (i * 7) % 255));
        window.undoButton()->click();  // stay below the scan count
    }
    window.nextButton()->click();
    std::vector<double> cols;
    PickGridView& columnGrid = *window.pickPage(PickGrid::Columns)->grid();
    for (int i = 0; i < kPicks; ++i) {
        cols.push_back(clickToPacket(port, columnGrid, 1 + i % 128, 1 + (i * 7) % 255));
        window.undoButton()->click();
    }
    std::fprintf(stderr,
                 "Click on a pick grid cell to its test packet, 255 x 128 module, median of %d\n",
                 kPicks);
    bool ok = BenchUtil::report("row pick", median(rows), "ms", 2);
    ok = BenchUtil::report("column pick", median(cols), "ms", 2) && ok;
    return ok ? 0 : 1;
}
