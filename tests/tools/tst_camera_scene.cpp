#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

#include "CameraScene.h"

// The virtual camera's picture of the module, checked where a fault would change what a finder
// sees: where each LED lies and is drawn, that a lit LED stands out, and how much of its light
// reaches the picture. Expected positions come from the camera's description: a 70-degree
// pinhole at the distance that makes the module fill `fill` of the picture, in pictures of
// 640 x 360. Pictures are measured here with code of the test's own, the way a finder would.

namespace {

const QSize kModule(64, 32);
const QList<QPoint> kProbes = {{0, 0}, {63, 0}, {0, 31}, {63, 31}, {31, 16}, {10, 5}};

CameraView turned(double yaw = 0, double tilt = 0, double roll = 0, double barrel = 0,
                  int rotation = 0, bool mirrored = false) {
    CameraView view;
    view.frame = QSize(640, 360);
    view.yaw = yaw;
    view.tilt = tilt;
    view.roll = roll;
    view.barrel = barrel;
    view.rotation = rotation;
    view.mirrored = mirrored;
    return view;
}

// One level an LED, row-major: every LED dark, or only `led` at `level`.
std::vector<float> lone(QPoint led = {-1, -1}, float level = 1) {
    std::vector<float> levels(static_cast<std::size_t>(kModule.width() * kModule.height()), 0);
    if (led.x() >= 0) {
        levels[static_cast<std::size_t>(led.y() * kModule.width() + led.x())] = level;
    }
    return levels;
}

double distance(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// Where LED `led`, lit alone, is drawn: the brightness-weighted centre of what its picture has
// more than the dark one within two pitches of `near`, pixel (i, j) counting at (i, j).
QPointF spotOf(const CameraScene& scene, QPoint led, QPointF near,
               const PictureEffects& effects = {}) {
    const QImage lit = scene.draw(lone(led), effects);
    const QImage dark = scene.draw(lone(), effects);
    const double reach = 2 * scene.smallestPitch();
    double sum = 0, sx = 0, sy = 0;
    for (int y = int(std::floor(near.y() - reach)); y <= int(std::ceil(near.y() + reach)); ++y) {
        for (int x = int(std::floor(near.x() - reach)); x <= int(std::ceil(near.x() + reach));
             ++x) {
            const int weight =
                lit.valid(x, y) ? std::max(0, qGray(lit.pixel(x, y)) - qGray(dark.pixel(x, y))) : 0;
            sum += weight;
            sx += weight * x;
            sy += weight * y;
        }
    }
    return sum > 0 ? QPointF(sx / sum, sy / sum) : QPointF(-1e9, -1e9);
}

// The mean grey level of the pixels within `radius` of `at`.
double meanAround(const QImage& picture, QPointF at, double radius) {
    double sum = 0;
    int count = 0;
    for (int y = int(at.y() - radius); y <= int(at.y() + radius); ++y) {
        for (int x = int(at.x() - radius); x <= int(at.x() + radius); ++x) {
            if (std::hypot(x - at.x(), y - at.y()) <= radius && picture.valid(x, y)) {
                sum += qGray(picture.pixel(x, y));
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : -1;
}

}  // namespace

Q_DECLARE_METATYPE(CameraView)

class CameraSceneTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ledsLieWhereThePinholeSeesThem_data() {
        QTest::addColumn<CameraView>("view");
        QTest::addColumn<QPointF>("topLeft");      // LED (0, 0)
        QTest::addColumn<QPointF>("bottomRight");  // LED (63, 31)
        QTest::addColumn<double>("pitch");         // the smallest between neighbours
        // Straight on, 7 pixels a pitch (0.7 x 640 / 64) about the centre (319.5, 179.5), the
        // camera 65.29 pitches away (focal length 457.0 pixels over 7). On its side the upright
        // picture is 360 x 640: 3.9375 pixels a pitch (0.7 x 360 / 64), LED (0, 0) at
        // (55.47, 258.47) there; turned counter-clockwise, its top edge becomes the left edge,
        // mirrored before the turn. Turned 35 degrees, the outer columns (rows) lie 31.5 sin 35
        // (15.5 sin 35) pitches nearer and further; a roll turns the picture counter-clockwise.
        const auto row = [](const char* name, const CameraView& view, QPointF topLeft,
                            QPointF bottomRight, double pitch) {
            QTest::newRow(name) << view << topLeft << bottomRight << pitch;
        };
        row("upright", turned(), {99, 71}, {540, 288}, 7);
        row("mirrored", turned(0, 0, 0, 0, 0, true), {540, 71}, {99, 288}, 7);
        row("180", turned(0, 0, 0, 0, 180), {540, 288}, {99, 71}, 7);
        row("90", turned(0, 0, 0, 0, 90), {258.4688, 303.5312}, {380.5312, 55.4688}, 3.9375);
        row("270", turned(0, 0, 0, 0, 270), {380.5312, 55.4688}, {258.4688, 303.5312}, 3.9375);
        row("90 mirrored", turned(0, 0, 0, 0, 90, true), {258.4688, 55.4688}, {380.5312, 303.5312},
            3.9375);
        row("yaw 35", turned(35), {69.7644, 29.4842}, {460.9717, 264.4819}, 3.5421);
        row("yaw -35", turned(-35), {178.0283, 94.5181}, {569.2356, 329.5158}, 3.5421);
        row("tilt 35", turned(0, 35), {125.4278, 101.2744}, {574.7601, 282.3889}, 4.4766);
        row("roll 15", turned(0, 0, 15), {78.4315, 131.7666}, {560.5685, 227.2334}, 7);
        row("roll -15 mirrored", turned(0, 0, -15, 0, 0, true), {504.4048, 17.6274},
            {134.5952, 341.3726}, 7);
        row("yaw 35 on its side mirrored", turned(35, 0, 0, 0, 90, true), {247.2165, 59.1677},
            {372.3104, 267.4149}, 2.4254);
        row("tilt -35 at 270", turned(0, -35, 0, 0, 270), {373.6410, 45.1800}, {273.0631, 294.7066},
            2.7956);
    }

    void ledsLieWhereThePinholeSeesThem() {
        QFETCH(CameraView, view);
        QFETCH(QPointF, topLeft);
        QFETCH(QPointF, bottomRight);
        QFETCH(double, pitch);
        const CameraScene scene(kModule, view);
        QVERIFY2(distance(scene.ledCentre(0, 0), topLeft) < 1e-3 &&
                     distance(scene.ledCentre(63, 31), bottomRight) < 1e-3,
                 qPrintable(QStringLiteral("%1,%2 %3,%4")
                                .arg(scene.ledCentre(0, 0).x())
                                .arg(scene.ledCentre(0, 0).y())
                                .arg(scene.ledCentre(63, 31).x())
                                .arg(scene.ledCentre(63, 31).y())));
        QVERIFY2(std::abs(scene.smallestPitch() - pitch) < 1e-3,
                 qPrintable(QString::number(scene.smallestPitch())));
        QCOMPARE(scene.draw(lone()).size(), QSize(640, 360));
    }

    // A straight row along the top border bows inwards by `barrel` of the width; a row 0.92 of
    // the way out, 0.94 of the picture long, bows by about 0.7 of that.
    void barrelDistortionBowsTheOuterRowsInwards() {
        for (const double barrel : {0.0, 0.01, 0.02}) {
            CameraView view = turned(0, 0, 0, barrel);
            view.fill = 0.95;
            const CameraGeometry geometry({64, 36}, view);
            const auto at = [&geometry](int x) { return geometry.toPicture(QPointF(x, 0)).y(); };
            const double bow = at(0) - (at(31) + at(32)) / 2;
            QVERIFY2(bow >= 0.55 * barrel * 640 - 1e-9 && bow <= 0.85 * barrel * 640 + 1e-9,
                     qPrintable(QString::number(bow)));
            QCOMPARE(at(63), at(0));
        }
    }

    // Filling 0.95: straight on the module fits; rolled 15 degrees its corner LEDs reach
    // x = 319.5 + 327 of 630 allowed; turned 35 its near edge comes to 392 pixels from the
    // centre, which filling 0.5 keeps inside.
    void moduleInsideWantsEveryLedAPitchFromTheEdges() {
        const std::tuple<double, double, double, bool> cases[] = {
            {0.95, 0, 0, true}, {0.95, 0, 15, false}, {0.95, 35, 0, false}, {0.5, 35, 0, true}};
        for (const auto& [fill, yaw, roll, inside] : cases) {
            CameraView view = turned(yaw, 0, roll);
            view.fill = fill;
            QCOMPARE(CameraScene(kModule, view).moduleInside(), inside);
        }
    }

    void ledIsDrawnWhereLedCentreSays_data() {
        QTest::addColumn<CameraView>("view");
        QTest::newRow("straight") << turned();
        QTest::newRow("turned") << turned(35, -35, 0);
        QTest::newRow("rolled") << turned(0, 0, -15);
        QTest::newRow("distorted") << turned(0, 0, 0, 0.02);
        QTest::newRow("on its side") << turned(0, 0, 0, 0, 90);
        QTest::newRow("upside down mirrored") << turned(0, 0, 0, 0, 180, true);
        CameraView sharp = turned(20, 10, 5);
        sharp.blur = 0;
        sharp.glow = 0;
        QTest::newRow("sharp, no glow") << sharp;
        // The worst view the ranges allow, turned towards the top left.
        CameraView worst = turned(-35, 35, 15, 0.02, 270, true);
        worst.blur = 1.5;
        QTest::newRow("worst") << worst;
    }

    // A lone lit LED's spot, its centre as a finder takes it, lies within 0.3 pixels of
    // ledCentre; so does it nudged by a shift of a fraction of a pixel.
    void ledIsDrawnWhereLedCentreSays() {
        QFETCH(CameraView, view);
        const CameraScene scene(kModule, view);
        PictureEffects nudged;
        nudged.shift = QPointF(2.5, -1.25);
        for (const QPoint led : kProbes) {
            const QPointF expected = scene.ledCentre(led.x(), led.y());
            const QPointF found = spotOf(scene, led, expected);
            QVERIFY2(distance(found, expected) < 0.3,
                     qPrintable(QStringLiteral("LED %1,%2 drawn at %3,%4")
                                    .arg(led.x())
                                    .arg(led.y())
                                    .arg(found.x())
                                    .arg(found.y())));
        }
        const QPointF expected = scene.ledCentre(40, 20) + nudged.shift;
        QVERIFY(distance(spotOf(scene, {40, 20}, expected, nudged), expected) < 0.3);
    }

    // At the limits of blur, noise and JPEG quality, on the worst view, a lit LED's spot is far
    // brighter than its dark neighbours' places, both in a dim room and in a bright one.
    void litLedStandsOutOfItsDarkNeighboursAtTheLimits() {
        for (const double ambient : {0.2, 1.0}) {
            CameraView view = turned(-35, 35, 15, 0.02, 270, true);
            view.blur = 1.5;
            view.noise = 6;
            view.jpegQuality = 50;
            view.ambient = ambient;
            const CameraScene scene(kModule, view);
            for (const QPoint led : kProbes) {
                const QImage picture = QImage::fromData(scene.encode(scene.draw(lone(led))), "JPG");
                QCOMPARE(picture.format(), QImage::Format_Grayscale8);
                const auto mean = [&](QPoint at) {
                    return meanAround(picture, scene.ledCentre(at.x(), at.y()), 1);
                };
                for (const QPoint step :
                     {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    // Off the module's edge, the neighbour on the other side again.
                    const QPoint next =
                        led + (QRect({}, kModule).contains(led + step) ? step : -step);
                    QVERIFY2(mean(led) - mean(next) > 60,
                             qPrintable(QStringLiteral("%1 vs %2").arg(mean(led)).arg(mean(next))));
                }
            }
        }
    }

    void ledsPeakFollowsLevelGainAndBanding_data() {
        QTest::addColumn<float>("level");  // the share of the exposure the LED is lit
        QTest::addColumn<double>("gain");
        // LED rows band .. band + 2, counted from the LED's own, are caught at 0.3 of their light.
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("lowestPeak");
        QTest::addColumn<int>("highestPeak");
        QTest::addColumn<int>("saturated");  // at least this many pixels at 255
        // A fully lit LED's peak is 200 times the gain, a little less where its centre falls
        // between pixels: 185 .. 201 at gain 1; at 1.6 and above it saturates.
        const auto row = [](const char* name, float level, double gain, int band, int lowest,
                            int highest, int saturated = 0) {
            QTest::newRow(name) << level << gain << band << lowest << highest << saturated;
        };
        const int none = 100;  // a band below the module: no LED in it
        row("normal", 1, 1, none, 185, 201);
        row("half gain", 1, 0.5, none, 90, 101);
        row("overexposed", 1, 1.6, none, 255, 255, 1);
        row("far over", 1, 4, none, 255, 255, 9);
        row("lit half the exposure", 0.5f, 1, none, 90, 101);
        row("a tenth", 0.1f, 1, none, 18, 21);
        row("first banded row", 1, 1, 0, 55, 61);
        row("last banded row, half", 0.5f, 1, -2, 27, 31);
        row("just below the band", 1, 1, -3, 185, 201);
        row("just above the band", 1, 1, 1, 185, 201);
    }

    // A lone LED, no spread, no vignetting, no room light and no noise.
    void ledsPeakFollowsLevelGainAndBanding() {
        QFETCH(float, level);
        QFETCH(int, band);
        QFETCH(int, lowestPeak);
        QFETCH(int, highestPeak);
        QFETCH(int, saturated);
        CameraView view = turned();
        view.ledSpread = 0;
        view.vignetting = 1;
        view.ambient = 0;
        view.noise = 0;
        static const CameraScene scene(kModule, view);  // the same for every row
        PictureEffects effects;
        QFETCH(double, gain);
        effects.gain = gain;
        effects.bandRows = 3;
        for (const QPoint led : kProbes) {
            effects.bandFirstRow = led.y() + band;
            const QImage picture = scene.draw(lone(led, level), effects);
            const uchar* grey = picture.constBits();
            const uchar* end = grey + picture.sizeInBytes();
            const int peak = *std::max_element(grey, end);
            QVERIFY2(peak >= lowestPeak && peak <= highestPeak, qPrintable(QString::number(peak)));
            QVERIFY(std::count(grey, end, uchar(255)) >= saturated);
        }
    }

    // A whole-pixel shift moves everything, the room behind the module too.
    void shiftMovesEverything() {
        CameraView view = turned(10, 5, 3);
        view.noise = 0;
        const CameraScene scene(kModule, view);
        const QImage still = scene.draw(lone({40, 20}));
        PictureEffects nudged;
        nudged.shift = QPointF(5, -3);
        const QImage moved = scene.draw(lone({40, 20}), nudged);
        for (int y = 10; y < 340; y += 7) {
            for (int x = 10; x < 620; x += 5) {
                QCOMPARE(qGray(moved.pixel(x + 5, y - 3)), qGray(still.pixel(x, y)));
            }
        }
    }

    void reflectionRaisesThePictureAroundIt_data() {
        QTest::addColumn<QPointF>("at");
        QTest::newRow("on the module") << QPointF(20, 10);
        QTest::newRow("on its corner") << QPointF(63, 31);
        QTest::newRow("beside it") << QPointF(-6, 12);
    }

    // Within a pitch of its centre the picture rises by most of an LED's light; across the
    // picture nothing changes.
    void reflectionRaisesThePictureAroundIt() {
        QFETCH(QPointF, at);
        static const CameraScene scene(kModule, turned());  // the same for every row
        PictureEffects effects;
        effects.reflection = true;
        effects.reflectionAt = at;
        const QImage plain = scene.draw(lone());
        const QImage reflected = scene.draw(lone(), effects);
        const QPointF centre = scene.pictureAt(at);
        const double rise = meanAround(reflected, centre, 7) - meanAround(plain, centre, 7);
        QVERIFY2(rise > 150, qPrintable(QString::number(rise)));
        const QPointF across(639 - centre.x(), 359 - centre.y());
        QCOMPARE(meanAround(reflected, across, 20), meanAround(plain, across, 20));
    }

    // The picture a seed gives is the same every time; another seed gives other noise, another
    // room and other LED brightnesses.
    void seedsMakeThePicture() {
        CameraView view = turned();
        const std::vector<float> lit(64 * 32, 1);
        const QImage first = CameraScene(kModule, view).draw(lit);
        QCOMPARE(CameraScene(kModule, view).draw(lit), first);
        view.seed = 2;
        QVERIFY(CameraScene(kModule, view).draw(lit) != first);
    }
};

QTEST_MAIN(CameraSceneTest)
#include "tst_camera_scene.moc"
