#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QTest>
#include <algorithm>
#include <functional>
#include <random>

#include "CameraPictures.h"
#include "vision/PolarityJudge.h"

// Never a wrong LED: pictures drawn by the virtual camera and passed through its JPEG, straight on
// and at each limit of the ranges the finder promises. For every view the dark and the lit picture
// are told apart on their own (polarity), calibration succeeds, every LED lies within a fraction of
// a pixel of where the camera drew it, single LEDs at the corners, the edges and a random sample
// read as certain and right, and every picture that is not one LED clearly lit reads as a doubt.
// One view has a dead LED on the module's edge: it is named, nothing reads lit at its step, and it
// and its neighbours read right. The sanitizer build keeps two 32 x 16 views
// (LUMOTRIX_CAMERA_SANITIZED); with LUMOTRIX_CAMERA_LARGE=1 in the environment only the 128 x 64
// views at 1280 x 720 run (the label "camera").

namespace {

// How far a calibrated LED may lie from the centre the camera drew it at, px.
constexpr double kPositionTolerance = 0.5;
constexpr int kRandomLeds = 6;

struct View {
    const char* name;
    QSize leds;
    QSize frame;
    std::function<void(CameraView&)> change;
    QPoint dead{-1, -1};  // an LED dark in the lit picture, if inside the module
};

const QSize kSmall(32, 16);
const QSize kMiddle(64, 32);
const QSize kLarge(128, 64);
const QSize kLow(640, 360);
const QSize kHigh(1280, 720);

// The views of each size. The angle limits of a 64 x 32 module need 1280 x 720 for a pitch of at
// least 6 px, as does the smallest fill; a 128 x 64 module has that pitch only straight on.
std::vector<View> smallViews() {
    return {
        {"straight", kSmall, kLow, [](CameraView&) {}},
        {"yaw 35 tilt 35", kSmall, kLow,
         [](CameraView& c) { c.fill = 0.6, c.yaw = 35, c.tilt = 35; }},
        {"yaw -35 tilt -35 roll -15", kSmall, kLow,
         [](CameraView& c) { c.fill = 0.55, c.yaw = -35, c.tilt = -35, c.roll = -15; }},
        {"roll 15 barrel 2 %", kSmall, kLow, [](CameraView& c) { c.roll = 15, c.barrel = 0.02; }},
        {"blur 1.5 noise 6 JPEG 50", kSmall, kLow,
         [](CameraView& c) { c.blur = 1.5, c.noise = 6, c.jpegQuality = 50; }},
        {"spread 30 % vignetting 60 %", kSmall, kLow,
         [](CameraView& c) { c.ledSpread = 0.3, c.vignetting = 0.6; }},
        {"fill 30 %", kSmall, kLow, [](CameraView& c) { c.fill = 0.3; }},
        {"fill 95 %", kSmall, kLow, [](CameraView& c) { c.fill = 0.95; }},
        {"turned 90 mirrored", kSmall, kLow,
         [](CameraView& c) { c.rotation = 90, c.mirrored = true; }},
        {"turned 180", kSmall, kLow, [](CameraView& c) { c.rotation = 180; }},
        {"turned 270", kSmall, kLow, [](CameraView& c) { c.rotation = 270; }},
        {"yaw 35 tilt 35 turned 180 mirrored, LED 31,5 dead",
         kSmall,
         kLow,
         [](CameraView& c) {
             c.fill = 0.6, c.yaw = 35, c.tilt = 35, c.rotation = 180, c.mirrored = true;
         },
         {31, 5}},
    };
}

std::vector<View> middleViews() {
    return {
        {"straight", kMiddle, kLow, [](CameraView&) {}},
        {"blur 1.5 noise 6 JPEG 50", kMiddle, kLow,
         [](CameraView& c) { c.blur = 1.5, c.noise = 6, c.jpegQuality = 50; }},
        {"spread 30 % vignetting 60 %", kMiddle, kLow,
         [](CameraView& c) { c.ledSpread = 0.3, c.vignetting = 0.6; }},
        {"fill 95 %", kMiddle, kLow, [](CameraView& c) { c.fill = 0.95; }},
        {"turned 270 mirrored", kMiddle, kHigh,
         [](CameraView& c) { c.rotation = 270, c.mirrored = true; }},
        {"yaw 35 tilt -35 roll 15 barrel 2 %", kMiddle, kHigh,
         [](CameraView& c) {
             c.fill = 0.55, c.yaw = 35, c.tilt = -35, c.roll = 15, c.barrel = 0.02;
         }},
        {"fill 30 %", kMiddle, kHigh, [](CameraView& c) { c.fill = 0.3; }},
    };
}

std::vector<View> largeViews() {
    return {
        {"straight", kLarge, kHigh, [](CameraView&) {}},
        {"fill 95 % blur 1.5 noise 6 JPEG 50", kLarge, kHigh,
         [](CameraView& c) { c.fill = 0.95, c.blur = 1.5, c.noise = 6, c.jpegQuality = 50; }},
        {"spread 30 % vignetting 60 % turned 180 mirrored", kLarge, kHigh,
         [](CameraView& c) {
             c.ledSpread = 0.3, c.vignetting = 0.6, c.rotation = 180, c.mirrored = true;
         }},
    };
}

std::vector<View> views() {
    if (qEnvironmentVariableIntValue("LUMOTRIX_CAMERA_LARGE") == 1) {
        return largeViews();
    }
    std::vector<View> v = smallViews();
#ifdef LUMOTRIX_CAMERA_SANITIZED
    // The sanitizer build is unoptimised, about ten times slower.
    return {v[0], v[8]};  // straight, turned 90 mirrored
#endif
    const std::vector<View> middle = middleViews();
    v.insert(v.end(), middle.begin(), middle.end());
    return v;
}

// The LEDs read one at a time: the four corners, the middle of each edge, a seeded sample.
std::vector<QPoint> singleLeds(QSize leds, quint32 seed) {
    const int w = leds.width();
    const int h = leds.height();
    std::vector<QPoint> cells = {{0, 0},     {w - 1, 0},     {0, h - 1}, {w - 1, h - 1},
                                 {w / 2, 0}, {w / 2, h - 1}, {0, h / 2}, {w - 1, h / 2}};
    std::mt19937 random(seed);
    for (int k = 0; k < kRandomLeds; ++k) {
        cells.push_back({static_cast<int>(random() % w), static_cast<int>(random() % h)});
    }
    return cells;
}

}  // namespace

Q_DECLARE_METATYPE(CameraView)

class VisionCameraTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyLedFoundAndOnlyClearPicturesCertain_data() {
        QTest::addColumn<QSize>("leds");
        QTest::addColumn<CameraView>("view");
        QTest::addColumn<QPoint>("dead");
        for (const View& v : views()) {
            CameraView view;
            view.frame = v.frame;
            v.change(view);
            const QByteArray name = QByteArray::number(v.leds.width()) + "x" +
                                    QByteArray::number(v.leds.height()) + " " + v.name;
            QTest::newRow(name.constData()) << v.leds << view << v.dead;
        }
    }

    void everyLedFoundAndOnlyClearPicturesCertain() {
        QFETCH(QSize, leds);
        QFETCH(CameraView, view);
        QFETCH(QPoint, dead);
        Figures f;
        ViewCheck check(leds, view, f, QTest::currentDataTag());
        const CameraScene& scene = check.pictures().scene();
        QVERIFY(scene.smallestPitch() >= 6 && scene.moduleInside());
        const bool deadLed = dead.x() >= 0;
        const LedGrid* grid = check.calibrate(deadLed ? std::optional(dead) : std::nullopt);
        QVERIFY(grid);
        // Lit or dark, judged on one picture alone and against the calibration.
        for (const auto& [picture, light] : {std::pair{&check.dark(), ModuleLight::Dark},
                                             std::pair{&check.lit(), ModuleLight::Lit}}) {
            const GreyPicture g = CameraPictures::grey(*picture);
            QCOMPARE(PolarityJudge::judge(g, leds.width(), leds.height()).light, light);
            QCOMPARE(PolarityJudge::judge(*grid, g).light, light);
        }
        QVERIFY2(f.worstPosition <= kPositionTolerance,
                 qPrintable(QString::number(f.worstPosition)));
        if (deadLed) {
            check.readAroundDeadLed(dead);
            check.readOne(dead);
        }
        for (const QPoint cell : singleLeds(leds, view.seed)) {
            check.readOne(cell);
        }
        check.readDoubtful(leds.width() / 2, leds.height() / 2, true);
        // Each fault is printed above.
        QCOMPARE(f.right, f.readings);
        QCOMPARE(f.doubtfulCertain + f.uncheckedNudgesCertain, 0L);
        QCOMPARE(f.deadLedsMisnamed + f.deadLedStepsLit, 0L);
    }
};

QTEST_MAIN(VisionCameraTest)
#include "tst_vision_camera.moc"
