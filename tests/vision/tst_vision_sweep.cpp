#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QTest>
#include <cstdio>
#include <map>
#include <optional>
#include <random>

#include "CameraPictures.h"
#include "vision/Calibrator.h"
#include "vision/LedReader.h"

// A sweep over random views within the ranges the finder promises (seeded, so every run sees
// the same ones): each view is calibrated and read LED by LED, and the figures are printed.
// Bars: right >= 99.5 % and doubt <= 0.5 % of the single-LED pictures, no wrong LED, no
// calibration refused, and no picture of two LEDs, of an LED going dark as the next lights, or
// of a camera nudged by a pitch read as certain. In every third view one LED anywhere on the
// module is dead (dark in the lit picture): the calibration must name it, a picture of its step
// (nothing lit) must not read as certain, and its neighbours are read too.
// Run by scripts/camera.sh (label "camera").
// LUMOTRIX_SWEEP_VIEWS and LUMOTRIX_SWEEP_SEED in the environment change the number of views
// and the seed.

namespace {

constexpr int kDefaultViews = 300;
constexpr quint32 kDefaultSeed = 20260;
constexpr int kSampledLeds = 16;
// Every LED of a 64 x 32 module is read in one view of this many.
constexpr int kWholeModuleEvery = 50;
constexpr int kDeadLedEvery = 3;

struct Figures {
    int views = 0;
    int refused = 0;
    int unchecked = 0;  // views whose surroundings cannot show a nudge
    long uncheckedNudgesCertain = 0;
    long readings = 0;
    long right = 0;
    long doubt = 0;
    long wrong = 0;
    long doubtfulPictures = 0;
    long doubtfulCertain = 0;
    double worstPosition = 0;
    int deadLedViews = 0;
    int deadLedsMisnamed = 0;      // calibrations naming other LEDs than the dead one
    long deadLedStepsCertain = 0;  // pictures of a dead LED's step read as one LED lit
    std::map<int, long> doubtReasons;
    std::map<int, int> refusals;
};

class ViewDrawer {
public:
    explicit ViewDrawer(quint32 seed) : m_random(seed) {}

    // A random view within the ranges whose LEDs are at least 6 px apart and all inside; of a
    // 64 x 32 module when `middle`, else of either size.
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

QByteArray describe(const CameraView& v, QSize leds) {
    return QStringLiteral(
               "%1x%2 at %3x%4 fill %5 yaw %6 tilt %7 roll %8 barrel %9 blur %10 "
               "noise %11 JPEG %12 spread %13 vignetting %14 turn %15%16 seed %17")
        .arg(leds.width())
        .arg(leds.height())
        .arg(v.frame.width())
        .arg(v.frame.height())
        .arg(v.fill, 0, 'f', 2)
        .arg(v.yaw, 0, 'f', 1)
        .arg(v.tilt, 0, 'f', 1)
        .arg(v.roll, 0, 'f', 1)
        .arg(v.barrel, 0, 'f', 3)
        .arg(v.blur, 0, 'f', 2)
        .arg(v.noise, 0, 'f', 1)
        .arg(v.jpegQuality)
        .arg(v.ledSpread, 0, 'f', 2)
        .arg(v.vignetting, 0, 'f', 2)
        .arg(v.rotation)
        .arg(v.mirrored ? QStringLiteral(" mirrored") : QString())
        .arg(v.seed)
        .toLatin1();
}

}  // namespace

class VisionSweep : public QObject {
    Q_OBJECT

private:
    Figures m_figures;

    void readOne(CameraPictures& p, const LedGrid& grid, int column, int row,
                 const QByteArray& view) {
        const LedReading r = LedReader::read(grid, CameraPictures::grey(p.one(column, row)));
        ++m_figures.readings;
        if (!r.isCertain()) {
            ++m_figures.doubt;
            ++m_figures.doubtReasons[static_cast<int>(r.doubt)];
        } else if (r.led.column == column && r.led.row == row) {
            ++m_figures.right;
        } else {
            ++m_figures.wrong;
            std::fprintf(stderr, "WRONG: LED %d,%d read as %d,%d in %s\n", column, row,
                         r.led.column, r.led.row, view.constData());
        }
    }

    // Pictures that must never read as certain: two LEDs, a hand-over at half level each, the
    // camera nudged by one pitch along a row.
    void readDoubtful(CameraPictures& p, const LedGrid& grid, std::mt19937& random,
                      const QByteArray& view) {
        const int w = p.width();
        const int x = static_cast<int>(random() % static_cast<quint32>(w - 1));
        const int y = static_cast<int>(random() % static_cast<quint32>(p.height()));
        std::vector<float> two = p.levels();
        two[y * w + x] = two[y * w + x + 1] = 1;
        std::vector<float> half = p.levels();
        half[y * w + x] = half[y * w + x + 1] = 0.5f;
        PictureEffects nudge;
        nudge.shift = p.scene().ledCentre(x + 1, y) - p.scene().ledCentre(x, y);
        const std::pair<const char*, QImage> pictures[] = {{"two lit", p.take(two)},
                                                           {"half each", p.take(half)},
                                                           {"nudged", p.one(x, y, 1, nudge)}};
        for (const auto& [what, picture] : pictures) {
            const LedReading r = LedReader::read(grid, CameraPictures::grey(picture));
            const bool nudged = &picture == &pictures[2].second;
            if (nudged && !grid.motionCheck().canCheck()) {
                // The calibration said so: these surroundings cannot show a nudge.
                m_figures.uncheckedNudgesCertain += r.isCertain() ? 1 : 0;
                continue;
            }
            ++m_figures.doubtfulPictures;
            if (r.isCertain()) {
                ++m_figures.doubtfulCertain;
                std::fprintf(stderr,
                             "CERTAIN where it must doubt (%s, %d,%d: %.2f %.2f, motion %d "
                             "mismatch %.2f/%.2f shift %.1f,%.1f): %s\n",
                             what, x, y, r.candidates[0].score, r.candidates[1].score,
                             int(r.motion.motion), r.motion.mismatch, r.motion.allowedMismatch,
                             r.motion.shift.x, r.motion.shift.y, view.constData());
            }
        }
    }

    // The dead LED is named, nothing reads lit at its step, and its neighbours read as any LED.
    void readAroundDeadLed(CameraPictures& p, const LedGrid& grid, QPoint dead,
                           const QByteArray& view) {
        ++m_figures.deadLedViews;
        const std::vector<LatticeCell>& missing = grid.missingLeds();
        if (missing.size() != 1 || missing[0].column != dead.x() || missing[0].row != dead.y()) {
            ++m_figures.deadLedsMisnamed;
            std::fprintf(stderr, "MISNAMED dead LED %d,%d: %s\n", dead.x(), dead.y(),
                         view.constData());
        }
        const LedReading step = LedReader::read(grid, CameraPictures::grey(p.dark()));
        if (step.isCertain()) {
            ++m_figures.deadLedStepsCertain;
            std::fprintf(stderr, "CERTAIN at dead LED %d,%d's step: %s\n", dead.x(), dead.y(),
                         view.constData());
        }
        for (const QPoint cell : {dead + QPoint(-1, 0), dead + QPoint(1, 0), dead + QPoint(0, -1),
                                  dead + QPoint(0, 1)}) {
            if (cell.x() >= 0 && cell.y() >= 0 && cell.x() < p.width() && cell.y() < p.height()) {
                readOne(p, grid, cell.x(), cell.y(), view);
            }
        }
    }

    // Which LEDs a view reads comes from its own seed, so that every view is the same whatever
    // happened in the views before it.
    void sweepView(QSize leds, const CameraView& v, bool wholeModule, bool deadLed) {
        std::mt19937 random(v.seed);
        const QByteArray view = describe(v, leds);
        CameraPictures p(leds, v);
        const QImage dark = p.dark();
        std::vector<float> levels = p.levels(1);
        std::optional<QPoint> dead;
        if (deadLed) {
            dead = QPoint(static_cast<int>(random() % static_cast<quint32>(leds.width())),
                          static_cast<int>(random() % static_cast<quint32>(leds.height())));
            levels[static_cast<size_t>(dead->y()) * leds.width() + dead->x()] = 0;
        }
        const QImage lit = p.take(levels);
        const Calibration c =
            Calibrator::calibrate(CameraPictures::grey(dark), CameraPictures::grey(lit),
                                  leds.width(), leds.height(), p.orientation());
        ++m_figures.views;
        if (c.grid && !c.grid->motionCheck().canCheck()) {
            ++m_figures.unchecked;
            std::fprintf(stderr, "UNCHECKED: %s\n", view.constData());
        }
        if (!c.grid) {
            ++m_figures.refused;
            ++m_figures.refusals[static_cast<int>(c.refusal)];
            std::fprintf(stderr, "REFUSED (%d, found %d): %s\n", static_cast<int>(c.refusal),
                         c.found, view.constData());
            return;
        }
        for (int row = 0; row < leds.height(); ++row) {
            for (int column = 0; column < leds.width(); ++column) {
                const PicturePoint at = c.grid->led(row, column).centre;
                const QPointF drawn = p.scene().ledCentre(column, row);
                m_figures.worstPosition = std::max(m_figures.worstPosition,
                                                   std::hypot(at.x - drawn.x(), at.y - drawn.y()));
            }
        }
        if (dead) {
            readAroundDeadLed(p, *c.grid, *dead, view);
        }
        if (wholeModule) {
            for (int row = 0; row < leds.height(); ++row) {
                for (int column = 0; column < leds.width(); ++column) {
                    readOne(p, *c.grid, column, row, view);
                }
            }
        } else {
            for (int k = 0; k < kSampledLeds; ++k) {
                const int column = static_cast<int>(random() % static_cast<quint32>(leds.width()));
                const int row = static_cast<int>(random() % static_cast<quint32>(leds.height()));
                readOne(p, *c.grid, column, row, view);
            }
        }
        readDoubtful(p, *c.grid, random, view);
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
            "views whose surroundings cannot show a nudge %d (nudged pictures there read "
            "as certain %ld)\n",
            f.unchecked, f.uncheckedNudgesCertain);
        std::printf("worst LED position %.3f px from where the camera drew it\n", f.worstPosition);
        std::printf("views with a dead LED %d: misnamed %d, its step read as certain %ld\n",
                    f.deadLedViews, f.deadLedsMisnamed, f.deadLedStepsCertain);
        for (const auto& [reason, count] : f.doubtReasons) {
            std::printf("doubt reason %d: %ld\n", reason, count);
        }
        for (const auto& [reason, count] : f.refusals) {
            std::printf("refusal reason %d: %d\n", reason, count);
        }
        std::printf("%.0f s\n", seconds);
    }

private Q_SLOTS:
    void randomViewsWithinTheRanges() {
        const int views = qEnvironmentVariableIsSet("LUMOTRIX_SWEEP_VIEWS")
                              ? qEnvironmentVariableIntValue("LUMOTRIX_SWEEP_VIEWS")
                              : kDefaultViews;
        const quint32 seed =
            qEnvironmentVariableIsSet("LUMOTRIX_SWEEP_SEED")
                ? static_cast<quint32>(qEnvironmentVariableIntValue("LUMOTRIX_SWEEP_SEED"))
                : kDefaultSeed;
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
        QCOMPARE(f.deadLedStepsCertain, 0L);
        QCOMPARE(f.refused, 0);
        QVERIFY(f.right >= 0.995 * f.readings);
        QVERIFY(f.doubt <= 0.005 * f.readings);
    }
};

QTEST_MAIN(VisionSweep)
#include "tst_vision_sweep.moc"
