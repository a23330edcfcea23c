// Prints how fast the camera walks the wizard hands-free: a 64 x 32 scan 16 module on the
// simulated controller, filmed by the virtual camera at 1280 x 720, 30 pictures a second, with
// 100 ms of latency, watched over its Motion-JPEG stream through the window's CameraControl.
// Per pick: the time from the count packet that lights an LED to the pick of that LED, as the
// session sees them (medians over every pick of every walk), against latency + 4 frame
// intervals; per walk: from F5 on 第1步 to the map ready to save (median over the walks). The
// camera's setting counts as confirmed before, so the walk has no orientation stop.
//   bench_walk [WALKS]   (3 by default)
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "BenchUtil.h"
#include "SimulatorThread.h"
#include "link/QtSerialPort.h"
#include "session/CameraWalk.h"
#include "ui/CameraControl.h"
#include "ui/MainWindow.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr int kFps = 30;
constexpr std::chrono::milliseconds kLatency{100};
constexpr std::chrono::milliseconds kLongestWalk{120000};

// The real port, noting when the last packet was written.
class TimedPort : public QtSerialPort {
public:
    void write(const QByteArray& bytes) override {
        QtSerialPort::write(bytes);
        lastWrite = Clock::now();
    }
    Clock::time_point lastWrite{};
};

struct Walk {
    std::vector<double> picks;  // ms, count packet to pick
    double wholeMs = 0;
    QString stop;  // why the walk stopped short; empty when the map was made
};

// One walk on a fresh controller, camera and window.
Walk walkOnce() {
    SimulatorThread sim;
    CameraOptions camera;
    camera.view.frame = QSize(1280, 720);
    camera.fps = kFps;
    camera.latency = kLatency;
    if (!sim.startCamera(camera)) {
        return {{}, 0, sim.errorString()};
    }
    TimedPort port;
    BenchUtil::SilentNotifier notifier;
    BenchUtil::NoDialogs dialogs;
    MainWindow window({port, notifier, dialogs,
                       PortNames([] { return QStringList(); },
                                 [&sim](const QString&) { return sim.devicePath(); })});
    window.session().next({QStringLiteral("64"), QStringLiteral("32"), 0, QStringLiteral("16"), 0});
    CameraControl& control = *window.camera();
    control.useSource(QStringLiteral("http://127.0.0.1:%1/").arg(sim.camera()->port()));
    CameraWalk& walk = *control.walk();
    walk.setOrientationKnown(true);

    Walk result;
    QObject::connect(&window.session(), &MappingSession::picksChanged, [&](PickGrid grid) {
        if (window.session().picks(grid).count() > 0) {  // not a pass begun empty
            result.picks.push_back(Ms(Clock::now() - port.lastWrite).count());
        }
    });
    QEventLoop loop;
    QObject::connect(&walk, &CameraWalk::changed, &loop, [&] {
        if (walk.state() == CameraWalk::State::Ready ||
            walk.state() == CameraWalk::State::Stopped) {
            loop.quit();
        }
    });
    QTimer::singleShot(kLongestWalk, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    control.toggleWalk();
    loop.exec();
    result.wholeMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (walk.state() != CameraWalk::State::Ready) {
        result.stop = walk.status().isEmpty() ? QStringLiteral("no end within the time allowed")
                                              : walk.status();
    }
    return result;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int walks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir settings;  // the camera's source and setting, kept away from the user's
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    std::vector<double> picks;
    std::vector<double> wholes;
    for (int i = 0; i < walks; ++i) {
        const Walk walk = walkOnce();
        if (!walk.stop.isEmpty()) {
            std::fprintf(stderr, "walk %d stopped: %s\n", i + 1, qPrintable(walk.stop));
            return 1;
        }
        picks.insert(picks.end(), walk.picks.begin(), walk.picks.end());
        wholes.push_back(walk.wholeMs);
    }
    // Latency + 4 frame intervals, in whole milliseconds: 233.
    const double bar = std::floor(static_cast<double>(kLatency.count()) + 4 * 1000.0 / kFps);
    std::fprintf(stderr,
                 "Camera walk, 64 x 32 scan 16, virtual camera 1280 x 720 at %d fps, latency "
                 "%d ms: %d walks, %d picks\n",
                 kFps, static_cast<int>(kLatency.count()), walks, static_cast<int>(picks.size()));
    const bool ok = BenchUtil::report("camera pick, count packet to the pick (median)",
                                      median(picks), "ms", bar);
    BenchUtil::report("camera pick, slowest", *std::max_element(picks.begin(), picks.end()), "ms");
    BenchUtil::report("camera walk, F5 on step 1 to map ready (median)", median(wholes), "ms");
    return ok ? 0 : 1;
}
