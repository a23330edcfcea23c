#include <QByteArray>
#include <QElapsedTimer>
#include <QPoint>
#include <QSize>
#include <QTest>
#include <cstdio>
#include <optional>
#include <random>

#include "CameraPictures.h"

// A sweep over random views within the ranges the finder promises (seeded, so every run sees the
// same ones): each view is calibrated and read LED by LED, and the figures are printed. Bars: right
// >= 99.5 % and doubt <= 0.5 % of the single-LED pictures, no wrong LED, no calibration refused,
// and no picture of two LEDs, of an LED going dark as the next lights, or of a camera nudged by a
// pitch read as certain. In every third view one LED anywhere on the module is dead (dark in the
// lit picture): the calibration must name it, a picture of its step (nothing lit) must read as none
// lit, and its neighbours are read too. Run by scripts/camera.sh (label "camera").
// LUMOTRIX_SWEEP_VIEWS and LUMOTRIX_SWEEP_SEED in the environment change the number of views and
// the seed.

namespace {

constexpr int kDefaultViews = 300;
constexpr int kDefaultSeed = 20260;
constexpr int kSampledLeds = 16;
// Every LED of a 64 x 32 module is read in one view of this many.
constexpr int kWholeModuleEvery = 50;
constexpr int kDeadLedEvery = 3;

class ViewDrawer {
public:
    explicit ViewDrawer(quint32 seed) : m_random(seed) {}

    // A random view within the ranges whose LEDs are at least 6 px apart and all inside; of a 64 x
    // 32 module when `middle`, else of either size.
    std::pair<QSize, CameraView> next(bool middle) {
        for (;;) {
            const bool big = middle || uniform(0, 1) < 0.5;
            const QSize leds = big ? QSize(64, 32) : QSize(32, 16);
            CameraView v;
            v.frame = (big && uniform(0, 1) < 0.5) ? QSize(1280, 720) : QSize(640, 360);
            v.fill = uniform(0.3, 0.95);
            v.yaw = uniform(-35, 35);
            v.tilt = uniform(-35, 35);
            v.roll = uniform(-15, 15);
            v.barrel = uniform(0, 0.02);
            v.blur = uniform(0, 1.5);
            v.noise = uniform(0, 6);
            v.jpegQuality = static_cast<int>(uniform(50, 100));
            v.ledSpread = uniform(0, 0.3);
            v.vignetting = uniform(0.6, 1);
            v.rotation = 90 * static_cast<int>(uniform(0, 4));
            v.mirrored = uniform(0, 1) < 0.5;
            v.seed = static_cast<quint32>(m_random());
            const CameraScene probe(leds, v);
            if (probe.smallestPitch() >= 6 && probe.moduleInside()) {
                return {leds, v};
            }
        }
    }

private:
    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(m_random);
    }
    std::mt19937 m_random;
};

// The view's size and settings, for a fault's message.
QByteArray describe(const CameraView& v, QSize leds) {
    QString text = QString::asprintf("%dx%d at %dx%d turn %d%s seed %u", leds.width(),
                                     leds.height(), v.frame.width(), v.frame.height(), v.rotation,
                                     v.mirrored ? " mirrored" : "", v.seed);
    const std::pair<const char*, double> settings[] = {
        {"fill", v.fill},        {"yaw", v.yaw},
        {"tilt", v.tilt},        {"roll", v.roll},
        {"barrel", v.barrel},    {"blur", v.blur},
        {"noise", v.noise},      {"JPEG", v.jpegQuality},
        {"spread", v.ledSpread}, {"vignetting", v.vignetting}};
    for (const auto& [name, value] : settings) {
        text += QString::asprintf(" %s %.3g", name, value);
    }
    return text.toLatin1();
}

}  // namespace

class VisionSweep : public QObject {
    Q_OBJECT

private:
    Figures m_figures;

    // Which LEDs a view reads comes from its own seed, so that every view is the same whatever
    // happened in the views before it.
    void sweepView(QSize leds, const CameraView& v, bool wholeModule, bool deadLed) {
        std::mt19937 random(v.seed);
        const auto draw = [&](int below) {
            return static_cast<int>(random() % static_cast<quint32>(below));
        };
        ViewCheck check(leds, v, m_figures, describe(v, leds));
        std::optional<QPoint> dead;
        if (deadLed) {
            dead = QPoint{draw(leds.width()), draw(leds.height())};
        }
        if (!check.calibrate(dead)) {
            return;
        }
        if (dead) {
            check.readAroundDeadLed(*dead);
        }
        for (int k = 0; k < (wholeModule ? leds.width() * leds.height() : kSampledLeds); ++k) {
            check.readOne(wholeModule ? QPoint(k % leds.width(), k / leds.width())
                                      : QPoint{draw(leds.width()), draw(leds.height())});
        }
        const int x = draw(leds.width() - 1);
        check.readDoubtful(x, draw(leds.height()), false);
    }

    void print(double seconds) const {
        const Figures& f = m_figures;
        const double n = static_cast<double>(std::max(1L, f.readings));
        std::printf("views %d (calibrations refused %d), single-LED pictures %ld\n", f.views,
                    f.refused, f.readings);
        std::printf("right %.3f %%  doubt %.3f %%  wrong %ld\n", 100.0 * f.right / n,
                    100.0 * f.doubt / n, f.wrong);
        std::printf("doubtful pictures %ld, read as certain %ld\n", f.doubtfulPictures,
                    f.doubtfulCertain);
        std::printf(
            "views whose surroundings cannot show a nudge %d (nudged pictures there read as "
            "certain %ld)\n",
            f.unchecked, f.uncheckedNudgesCertain);
        std::printf("worst LED position %.3f px from where the camera drew it\n", f.worstPosition);
        std::printf("views with a dead LED %d: misnamed %d, its step not read as none lit %ld\n",
                    f.deadLedViews, f.deadLedsMisnamed, f.deadLedStepsLit);
        std::printf("%.0f s\n", seconds);
    }

private Q_SLOTS:
    void randomViewsWithinTheRanges() {
        const auto setting = [](const char* name, int otherwise) {
            return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : otherwise;
        };
        const int views = setting("LUMOTRIX_SWEEP_VIEWS", kDefaultViews);
        const auto seed = static_cast<quint32>(setting("LUMOTRIX_SWEEP_SEED", kDefaultSeed));
        QElapsedTimer clock;
        clock.start();
        ViewDrawer drawer(seed);
        for (int k = 0; k < views; ++k) {
            const bool whole = k % kWholeModuleEvery == 0;
            const auto [leds, view] = drawer.next(whole);
            sweepView(leds, view, whole, k % kDeadLedEvery == 1);
        }
        print(clock.elapsed() / 1000.0);
        const Figures& f = m_figures;
        QCOMPARE(f.wrong, 0L);
        QCOMPARE(f.doubtfulCertain, 0L);
        QCOMPARE(f.deadLedsMisnamed, 0);
        QCOMPARE(f.deadLedStepsLit, 0L);
        QCOMPARE(f.refused, 0);
        QVERIFY(f.right >= 0.995 * f.readings);
        QVERIFY(f.doubt <= 0.005 * f.readings);
    }
};

QTEST_MAIN(VisionSweep)
#include "tst_vision_sweep.moc"
