#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QTest>
#include <cmath>

#include "CameraScene.h"
#include "PictureMeasures.h"

using namespace PictureMeasures;

// The virtual camera's picture of the module, checked for what a finder relies on: where each
// LED lies, that a lit LED stands out, and what each effect does to the picture. Expected
// positions come from the camera's description: a 70-degree pinhole at the distance that makes
// the module fill `fill` of the picture, in pictures of 640 x 360.

namespace {

const QSize kModule(64, 32);

CameraView smallView() {
    CameraView view;
    view.frame = QSize(640, 360);
    return view;
}

CameraView turned(double yaw, double tilt, double roll, double barrel = 0, int rotation = 0,
                  bool mirrored = false) {
    CameraView view = smallView();
    view.yaw = yaw;
    view.tilt = tilt;
    view.roll = roll;
    view.barrel = barrel;
    view.rotation = rotation;
    view.mirrored = mirrored;
    return view;
}

// The worst view the ranges allow, turned towards the top left.
CameraView worstView() {
    CameraView view = turned(-35, 35, 15, 0.02, 270, true);
    view.blur = 1.5;
    return view;
}

double distance(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

QPointF centre(const CameraGeometry& geometry, QPoint led) {
    return geometry.toPicture(QPointF(led));
}

double length(const CameraGeometry& geometry, QPoint from, QPoint to) {
    return distance(centre(geometry, from), centre(geometry, to));
}

const QList<QPoint> kProbes = {{0, 0}, {63, 0}, {0, 31}, {63, 31}, {31, 16}, {10, 5}};

}  // namespace

Q_DECLARE_METATYPE(CameraView)

class CameraSceneTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void straightOnLedsLieOnAnEvenGridTurnedAndMirroredAsTheViewSays_data() {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<QPointF>("topLeft");      // LED (0, 0)
        QTest::addColumn<QPointF>("bottomRight");  // LED (63, 31)
        QTest::addColumn<double>("pitch");
        // 7 pixels a pitch (0.7 x 640 / 64) about the centre (319.5, 179.5).
        QTest::newRow("upright") << 0 << false << QPointF(99, 71) << QPointF(540, 288) << 7.0;
        QTest::newRow("mirrored") << 0 << true << QPointF(540, 71) << QPointF(99, 288) << 7.0;
        QTest::newRow("180") << 180 << false << QPointF(540, 288) << QPointF(99, 71) << 7.0;
        // On its side the upright picture is 360 x 640: 3.9375 pixels a pitch (0.7 x 360 / 64),
        // LED (0, 0) at (55.47, 258.47) there; turned counter-clockwise, the upright top edge
        // becomes the left edge.
        QTest::newRow("90") << 90 << false << QPointF(258.46875, 303.53125)
                            << QPointF(380.53125, 55.46875) << 3.9375;
        QTest::newRow("270") << 270 << false << QPointF(380.53125, 55.46875)
                             << QPointF(258.46875, 303.53125) << 3.9375;
        QTest::newRow("90 mirrored") << 90 << true << QPointF(258.46875, 55.46875)
                                     << QPointF(380.53125, 303.53125) << 3.9375;
    }

    void straightOnLedsLieOnAnEvenGridTurnedAndMirroredAsTheViewSays() {
        QFETCH(int, rotation);
        QFETCH(bool, mirrored);
        QFETCH(QPointF, topLeft);
        QFETCH(QPointF, bottomRight);
        QFETCH(double, pitch);
        const CameraScene scene(kModule, turned(0, 0, 0, 0, rotation, mirrored));
        QVERIFY(distance(scene.ledCentre(0, 0), topLeft) < 1e-6);
        QVERIFY(distance(scene.ledCentre(63, 31), bottomRight) < 1e-6);
        QCOMPARE(scene.smallestPitch(), pitch);
        QCOMPARE(scene.draw(levels(kModule)).size(), QSize(640, 360));
    }

    void turningShowsTheFarSideSmallerAndRollTurnsThePicture_data() {
        QTest::addColumn<CameraView>("view");
        QTest::addColumn<double>("rightOverLeft");  // the right column's length over the left's
        QTest::addColumn<double>("topOverBottom");  // the top row's length over the bottom's
        QTest::addColumn<double>("rowAngle");       // of the top row, counter-clockwise
        // The camera stands 65.29 pitches away (focal length 457.0 pixels over 7 pixels a
        // pitch); turned 35 degrees, the outer columns lie 31.5 sin 35 = 18.07 pitches nearer
        // and further: 47.22 / 83.36, and the top row runs from (-249.7, -150.0) to
        // (141.5, -85.0) about the centre. Tilted, the outer rows lie 15.5 sin 35 = 8.89 pitches
        // off: 56.40 / 74.18.
        QTest::newRow("straight") << turned(0, 0, 0) << 1.0 << 1.0 << 0.0;
        QTest::newRow("yaw 35") << turned(35, 0, 0) << 0.5665 << 1.0 << -9.44;
        QTest::newRow("yaw -35") << turned(-35, 0, 0) << 1 / 0.5665 << 1.0 << 9.44;
        QTest::newRow("tilt 35") << turned(0, 35, 0) << 1.0 << 0.7603 << 0.0;
        QTest::newRow("roll 15") << turned(0, 0, 15) << 1.0 << 1.0 << 15.0;
        QTest::newRow("roll -15 mirrored") << turned(0, 0, -15, 0, 0, true) << 1.0 << 1.0 << -165.0;
    }

    void turningShowsTheFarSideSmallerAndRollTurnsThePicture() {
        QFETCH(CameraView, view);
        const CameraGeometry geometry(kModule, view);
        const double right = length(geometry, {63, 0}, {63, 31});
        const double left = length(geometry, {0, 0}, {0, 31});
        const double top = length(geometry, {0, 0}, {63, 0});
        const double bottom = length(geometry, {0, 31}, {63, 31});
        QFETCH(double, rightOverLeft);
        QFETCH(double, topOverBottom);
        QVERIFY2(std::abs(right / left - rightOverLeft) < 0.002,
                 qPrintable(QString::number(right / left)));
        QVERIFY2(std::abs(top / bottom - topOverBottom) < 0.002,
                 qPrintable(QString::number(top / bottom)));
        const QPointF along = centre(geometry, {63, 0}) - centre(geometry, {0, 0});
        const double angle = std::atan2(-along.y(), along.x()) * 180 / M_PI;
        QFETCH(double, rowAngle);
        // Turned about its vertical axis, the top row's near end stands higher in the picture.
        QVERIFY2(std::abs(angle - rowAngle) < 0.01, qPrintable(QString::number(angle)));
    }

    // A straight row along the top border bows inwards by `barrel` of the width; a row 0.92 of
    // the way out, 0.94 of the picture long, bows by about 0.7 of that.
    void barrelDistortionBowsTheOuterRowsInwards() {
        CameraView view = smallView();
        view.fill = 0.95;
        for (const double barrel : {0.0, 0.01, 0.02}) {
            view.barrel = barrel;
            const CameraGeometry geometry({64, 36}, view);
            const double middle =
                (centre(geometry, {31, 0}).y() + centre(geometry, {32, 0}).y()) / 2;
            const double bow = centre(geometry, {0, 0}).y() - middle;
            QVERIFY2(bow >= 0.55 * barrel * 640 - 1e-9 && bow <= 0.85 * barrel * 640 + 1e-9,
                     qPrintable(QString::number(bow)));
            QCOMPARE(centre(geometry, {63, 0}).y(), centre(geometry, {0, 0}).y());
        }
    }

    void moduleInsideWantsEveryLedAPitchFromTheEdges_data() {
        QTest::addColumn<CameraView>("view");
        QTest::addColumn<bool>("inside");
        CameraView full = smallView();
        full.fill = 0.95;
        CameraView rolled = full;
        rolled.roll = 15;  // the corner LEDs reach x = 319.5 + 327 of 630 allowed
        CameraView yawed = full;
        yawed.yaw = 35;  // the near edge comes to 392 pixels from the centre
        CameraView yawedSmall = yawed;
        yawedSmall.fill = 0.5;
        QTest::newRow("fill 0.95 straight") << full << true;
        QTest::newRow("fill 0.95 rolled 15") << rolled << false;
        QTest::newRow("fill 0.95 turned 35") << yawed << false;
        QTest::newRow("fill 0.5 turned 35") << yawedSmall << true;
    }

    void moduleInsideWantsEveryLedAPitchFromTheEdges() {
        QFETCH(CameraView, view);
        QTEST(CameraScene(kModule, view).moduleInside(), "inside");
    }

    void ledIsDrawnWhereLedCentreSays_data() {
        QTest::addColumn<CameraView>("view");
        QTest::newRow("straight") << smallView();
        QTest::newRow("turned") << turned(35, -35, 0);
        QTest::newRow("rolled") << turned(0, 0, -15);
        QTest::newRow("distorted") << turned(0, 0, 0, 0.02);
        QTest::newRow("on its side") << turned(0, 0, 0, 0, 90);
        QTest::newRow("upside down mirrored") << turned(0, 0, 0, 0, 180, true);
        CameraView sharp = turned(20, 10, 5);
        sharp.blur = 0;
        sharp.glow = 0;
        QTest::newRow("sharp, no glow") << sharp;
        QTest::newRow("worst") << worstView();
    }

    // The brightness-weighted centre of a lone lit LED's spot, its centre as a finder would
    // take it, lies within 0.3 pixels of ledCentre.
    void ledIsDrawnWhereLedCentreSays() {
        QFETCH(CameraView, view);
        const CameraScene scene(kModule, view);
        const QImage dark = scene.draw(levels(kModule));
        for (const QPoint led : kProbes) {
            const QImage lit = scene.draw(lone(kModule, led.x(), led.y()));
            const QPointF expected = scene.ledCentre(led.x(), led.y());
            const QPointF found = spotCentre(lit, dark, expected, 2 * scene.smallestPitch());
            QVERIFY2(distance(found, expected) < 0.3,
                     qPrintable(QStringLiteral("LED %1,%2 at %3,%4, drawn at %5,%6")
                                    .arg(led.x())
                                    .arg(led.y())
                                    .arg(expected.x())
                                    .arg(expected.y())
                                    .arg(found.x())
                                    .arg(found.y())));
        }
    }

    void undoingTheTurnAndMirrorShowsTheModuleUpright_data() {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<bool>("mirrored");
        for (const int rotation : {0, 90, 180, 270}) {
            for (const bool mirrored : {false, true}) {
                QTest::addRow("%d%s", rotation, mirrored ? " mirrored" : "")
                    << rotation << mirrored;
            }
        }
    }

    // What a finder does with rotation R and mirror M: turn the picture R degrees clockwise,
    // then mirror it when M. That shows the module as the upright view of the same camera
    // (lying on its side for 90 and 270) shows it.
    void undoingTheTurnAndMirrorShowsTheModuleUpright() {
        QFETCH(int, rotation);
        QFETCH(bool, mirrored);
        CameraView view = turned(20, -10, 5, 0.01, rotation, mirrored);
        const CameraScene scene(kModule, view);
        view.rotation = 0;
        view.mirrored = false;
        view.frame = rotation % 180 == 0 ? view.frame : view.frame.transposed();
        const CameraGeometry upright(kModule, view);
        const auto undo = [rotation, mirrored](const QImage& picture) {
            const QImage turnedBack = picture.transformed(QTransform().rotate(rotation));
            return mirrored ? turnedBack.mirrored(true, false) : turnedBack;
        };
        const QImage dark = undo(scene.draw(levels(kModule)));
        for (const QPoint led : {QPoint(0, 0), QPoint(63, 5)}) {
            const QImage lit = undo(scene.draw(lone(kModule, led.x(), led.y())));
            const QPointF expected = centre(upright, led);
            QVERIFY(distance(spotCentre(lit, dark, expected, 8), expected) < 0.3);
        }
    }

    // At the limits of blur, noise and JPEG quality, on the worst view, a lit LED's spot is far
    // brighter than its dark neighbours' places, both in a dim room and in a bright one.
    void litLedStandsOutOfItsDarkNeighboursAtTheLimits() {
        for (const double ambient : {0.2, 1.0}) {
            CameraView view = worstView();
            view.noise = 6;
            view.jpegQuality = 50;
            view.ambient = ambient;
            const CameraScene scene(kModule, view);
            for (const QPoint led : kProbes) {
                const QImage picture = QImage::fromData(
                    scene.encode(scene.draw(lone(kModule, led.x(), led.y()))), "JPG");
                QCOMPARE(picture.format(), QImage::Format_Grayscale8);
                const double radius = 1;
                const double lit = meanAround(picture, scene.ledCentre(led.x(), led.y()), radius);
                for (const QPoint step :
                     {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint next = led + step;
                    if (next.x() < 0 || next.y() < 0 || next.x() > 63 || next.y() > 31) {
                        continue;
                    }
                    const double dark =
                        meanAround(picture, scene.ledCentre(next.x(), next.y()), radius);
                    QVERIFY2(lit - dark > 60, qPrintable(QStringLiteral("%1 vs %2 at ambient %3")
                                                             .arg(lit)
                                                             .arg(dark)
                                                             .arg(ambient)));
                }
            }
        }
    }

    void gainScalesTheLightAndSaturates_data() {
        QTest::addColumn<double>("gain");
        QTest::addColumn<int>("lowestPeak");
        QTest::addColumn<int>("highestPeak");
        QTest::addColumn<int>("saturated");  // at least this many pixels at 255
        QTest::newRow("half") << 0.5 << 90 << 101 << 0;
        QTest::newRow("normal") << 1.0 << 185 << 201 << 0;
        QTest::newRow("overexposed") << 1.6 << 255 << 255 << 1;
        QTest::newRow("far over") << 4.0 << 255 << 255 << 9;
    }

    // A lone LED, no spread, no vignetting, no room light and no noise: its peak is 200 times the
    // gain, a little less where its centre falls between pixels.
    void gainScalesTheLightAndSaturates() {
        QFETCH(double, gain);
        QFETCH(int, lowestPeak);
        QFETCH(int, highestPeak);
        QFETCH(int, saturated);
        CameraView view = smallView();
        view.ledSpread = 0;
        view.vignetting = 1;
        view.ambient = 0;
        view.noise = 0;
        static const CameraScene scene(kModule, view);  // the same for every row
        PictureEffects effects;
        effects.gain = gain;
        for (const QPoint led : kProbes) {
            const QImage picture = scene.draw(lone(kModule, led.x(), led.y()), effects);
            int peak = 0, atTop = 0;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    peak = std::max(peak, qGray(picture.pixel(x, y)));
                    atTop += qGray(picture.pixel(x, y)) == 255 ? 1 : 0;
                }
            }
            QVERIFY2(peak >= lowestPeak && peak <= highestPeak, qPrintable(QString::number(peak)));
            QVERIFY(atTop >= saturated);
        }
    }

    // Each LED's light, with spread and vignetting, relative to the middle LED's.
    void ledsDifferWithinTheirSpreadAndDimTowardsTheCorners_data() {
        QTest::addColumn<double>("spread");
        QTest::addColumn<double>("vignetting");
        QTest::addColumn<double>("lowest");  // of every LED's light over the mean
        QTest::addColumn<double>("highest");
        QTest::addColumn<double>("cornerOverMiddle");  // for LED (0, 0) over LED (31, 15)
        // LED (0,0) lies at (99, 71), 0.45 of the squared way from the centre to the corner:
        // 1 - 0.4 x 0.45 = 0.82; over all LEDs the mean is about 1 - 0.4 x 0.15.
        QTest::newRow("even") << 0.0 << 1.0 << 0.99 << 1.01 << 1.0;
        QTest::newRow("spread 0.3") << 0.3 << 1.0 << 0.70 << 1.30 << -1.0;
        QTest::newRow("vignetting 0.6") << 0.0 << 0.6 << 0.85 << 1.08 << 0.82;
    }

    void ledsDifferWithinTheirSpreadAndDimTowardsTheCorners() {
        QFETCH(double, spread);
        QFETCH(double, vignetting);
        CameraView view = smallView();
        view.ledSpread = spread;
        view.vignetting = vignetting;
        view.glow = 0;
        view.noise = 0;
        const CameraScene scene(kModule, view);
        const QImage dark = scene.draw(levels(kModule));
        const QImage lit = scene.draw(levels(kModule, 1));
        std::vector<double> light;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 64; ++x) {
                light.push_back(lightAround(lit, dark, scene.ledCentre(x, y), 3));
            }
        }
        const double middle = light[15 * 64 + 31];
        double mean = 0;
        for (const double value : light) {
            mean += value / double(light.size());
        }
        const auto [low, high] = std::minmax_element(light.begin(), light.end());
        QFETCH(double, lowest);
        QFETCH(double, highest);
        QVERIFY2(*low / mean >= lowest && *high / mean <= highest,
                 qPrintable(QStringLiteral("%1 .. %2").arg(*low / mean).arg(*high / mean)));
        // A spread that is used reaches at least half its share on both sides.
        QVERIFY(*high - *low >= spread * mean);
        QFETCH(double, cornerOverMiddle);
        if (cornerOverMiddle > 0) {
            QVERIFY(std::abs(light[0] / middle - cornerOverMiddle) < 0.03);
        }
    }

    void levelsAndBandingScaleAnLedsLight_data() {
        QTest::addColumn<float>("level");
        QTest::addColumn<int>("bandFirstRow");
        QTest::addColumn<double>("share");  // of a fully lit LED's light
        QTest::newRow("lit half the exposure") << 0.5f << 0 << 0.5;
        QTest::newRow("a tenth") << 0.1f << 0 << 0.1;
        QTest::newRow("in the band") << 1.0f << 10 << 0.3;
        QTest::newRow("below the band") << 1.0f << 8 << 1.0;
        QTest::newRow("half, in the band") << 0.5f << 11 << 0.15;
    }

    // LED (20, 12) at `level`, with rows bandFirstRow .. +2 caught at 0.3 of their light.
    void levelsAndBandingScaleAnLedsLight() {
        QFETCH(float, level);
        QFETCH(int, bandFirstRow);
        CameraView view = smallView();
        view.noise = 0;
        static const CameraScene scene(kModule, view);  // the same for every row
        std::vector<float> some = levels(kModule);
        some[12 * 64 + 20] = level;
        PictureEffects banded;
        banded.bandFirstRow = bandFirstRow;
        banded.bandRows = 3;
        const QImage dark = scene.draw(levels(kModule));
        const QPointF at = scene.ledCentre(20, 12);
        const double full = lightAround(scene.draw(lone(kModule, 20, 12)), dark, at, 7);
        const double shown = lightAround(scene.draw(some, banded), dark, at, 7);
        QFETCH(double, share);
        QVERIFY2(std::abs(shown / full - share) < 0.02, qPrintable(QString::number(shown / full)));
    }

    void shiftMovesEverything() {
        CameraView view = turned(10, 5, 3);
        view.noise = 0;
        const CameraScene scene(kModule, view);
        const std::vector<float> lit = lone(kModule, 40, 20);
        const QImage still = scene.draw(lit);
        PictureEffects nudged;
        nudged.shift = QPointF(5, -3);
        const QImage moved = scene.draw(lit, nudged);
        for (int y = 10; y < 340; y += 7) {
            for (int x = 10; x < 620; x += 5) {
                QCOMPARE(qGray(moved.pixel(x + 5, y - 3)), qGray(still.pixel(x, y)));
            }
        }
        nudged.shift = QPointF(2.5, -1.25);
        const QPointF expected = scene.ledCentre(40, 20) + nudged.shift;
        const QImage dark = scene.draw(levels(kModule), nudged);
        QVERIFY(distance(spotCentre(scene.draw(lit, nudged), dark, expected, 10), expected) < 0.3);
    }

    // Nudged further than the background reaches, the picture's edge repeats the background's
    // last row: the bottom 60 rows of a picture moved up by 100 pixels are all alike.
    void farNudgeStretchesTheBackgroundsEdge() {
        CameraView view = smallView();
        view.noise = 0;
        const CameraScene scene(kModule, view);
        PictureEffects nudged;
        nudged.shift = QPointF(0, -100);
        const QImage picture = scene.draw(levels(kModule, 1), nudged);
        for (int y = 300; y < 360; ++y) {
            for (int x = 0; x < 640; x += 3) {
                QCOMPARE(qGray(picture.pixel(x, y)), qGray(picture.pixel(x, 359)));
            }
        }
    }

    // The room around the module has edges and texture that move with the camera; a plain wall
    // shows only the noise.
    void surroundingsShowTextureThatMovesWithTheCamera() {
        CameraView view = smallView();
        view.ambient = 1;
        view.noise = 0;
        const QRect besideModule(0, 0, 80, 360);
        const auto spread = [&besideModule](const QImage& picture) {
            double sum = 0, squares = 0;
            for (int y = besideModule.top(); y <= besideModule.bottom(); ++y) {
                for (int x = besideModule.left(); x <= besideModule.right(); ++x) {
                    const double grey = qGray(picture.pixel(x, y));
                    sum += grey;
                    squares += grey * grey;
                }
            }
            const double count = besideModule.width() * besideModule.height();
            return std::sqrt(squares / count - (sum / count) * (sum / count));
        };
        const CameraScene room(kModule, view);
        const QImage still = room.draw(levels(kModule));
        QVERIFY2(spread(still) > 10, qPrintable(QString::number(spread(still))));
        PictureEffects nudged;
        nudged.shift = QPointF(7, 7);
        QVERIFY(room.draw(levels(kModule), nudged).copy(besideModule) != still.copy(besideModule));
        view.surroundings = false;
        QVERIFY(spread(CameraScene(kModule, view).draw(levels(kModule))) < 1);
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
        static const CameraScene scene(kModule, smallView());  // the same for every row
        PictureEffects effects;
        const QImage plain = scene.draw(levels(kModule), effects);
        effects.reflection = true;
        effects.reflectionAt = at;
        const QImage reflected = scene.draw(levels(kModule), effects);
        const QPointF centre = scene.pictureAt(at);
        const double rise = meanAround(reflected, centre, 7) - meanAround(plain, centre, 7);
        QVERIFY2(rise > 150, qPrintable(QString::number(rise)));
        const QPointF across(639 - centre.x(), 359 - centre.y());
        QCOMPARE(meanAround(reflected, across, 20), meanAround(plain, across, 20));
    }

    // The picture a seed gives is the same every time; another seed gives other noise, another
    // room and other LED brightnesses.
    void seedsMakeThePicture() {
        CameraView view = smallView();
        const QImage first = CameraScene(kModule, view).draw(levels(kModule, 1));
        QCOMPARE(CameraScene(kModule, view).draw(levels(kModule, 1)), first);
        view.seed = 2;
        const QImage other = CameraScene(kModule, view).draw(levels(kModule, 1));
        QVERIFY(other != first);
    }
};

QTEST_MAIN(CameraSceneTest)
#include "tst_camera_scene.moc"
