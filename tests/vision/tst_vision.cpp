#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTest>
#include <cmath>

#include "TestPicture.h"
#include "vision/Calibrator.h"
#include "vision/ConnectedComponents.h"
#include "vision/FloatPlane.h"
#include "vision/Homography.h"
#include "vision/LatticeFit.h"
#include "vision/LatticeIndexer.h"
#include "vision/LedReader.h"
#include "vision/ModuleOrientation.h"
#include "vision/MotionCheck.h"
#include "vision/PolarityJudge.h"
#include "vision/SampleKernel.h"
#include "vision/SpotFinder.h"

// The LED finder's pieces on small pictures drawn here: Gaussian spots on a lattice bent
// between four corners, a room of soft blobs, sensor noise. Expected places and numbers come
// from how the pictures were drawn, never from the finder.

namespace {

double distance(PicturePoint a, PicturePoint b) {
    return (a - b).length();
}

// A plane holding `value` inside the given rectangles and 0 elsewhere.
FloatPlane planeWith(int width, int height, const std::vector<QRect>& rects,
                     const std::vector<float>& values) {
    FloatPlane plane(width, height);
    for (size_t k = 0; k < rects.size(); ++k) {
        for (int y = rects[k].top(); y <= rects[k].bottom(); ++y) {
            for (int x = rects[k].left(); x <= rects[k].right(); ++x) {
                plane.at(x, y) = values[k];
            }
        }
    }
    return plane;
}

// The points of a lattice, row by row, so that point j x columns + i is cell (i, j).
std::vector<PicturePoint> pointsOf(const TestLattice& l) {
    std::vector<PicturePoint> points;
    for (int j = 0; j < l.rows; ++j) {
        for (int i = 0; i < l.columns; ++i) {
            points.push_back(l.at(i, j));
        }
    }
    return points;
}

PicturePoint turned(PicturePoint p, PicturePoint about, double degrees) {
    const double a = degrees * 3.14159265358979 / 180;
    const PicturePoint d = p - about;
    return about + PicturePoint{d.x * std::cos(a) - d.y * std::sin(a),
                                d.x * std::sin(a) + d.y * std::cos(a)};
}

// A module of lattice.columns x lattice.rows LEDs in a room: the dark picture (room and a
// faint board), and the same with LEDs drawn at `levels` (one per lattice cell, row-major).
struct DrawnModule {
    TestLattice lattice;
    int width = 160;
    int height = 120;
    double amplitude = 100;
    double sigma = 1.5;
    double noise = 0;

    TestPicture dark() const {
        TestPicture p(width, height, 30);
        p.addTexture(11, 60);
        return p;
    }
    TestPicture with(const std::vector<double>& levels, unsigned noiseSeed = 0) const {
        TestPicture p = dark();
        for (int j = 0; j < lattice.rows; ++j) {
            for (int i = 0; i < lattice.columns; ++i) {
                p.addSpot(lattice.at(i, j), amplitude * levels[j * lattice.columns + i], sigma);
            }
        }
        if (noise > 0) {
            p.addNoise(noise, noiseSeed);
        }
        return p;
    }
    std::vector<double> none() const {
        return std::vector<double>(size_t(lattice.columns) * lattice.rows, 0.0);
    }
    std::vector<double> all() const {
        return std::vector<double>(size_t(lattice.columns) * lattice.rows, 1.0);
    }
};

// An 8 x 6 module upright in a 160 x 120 picture, pitch 14.
DrawnModule uprightModule() {
    return {TestLattice::upright(8, 6, {30, 25}, 14)};
}

// A 20 x 10 module upright in a 200 x 120 picture, pitch 8: 200 LEDs, two of which may be dead.
DrawnModule moduleOf200() {
    DrawnModule m{TestLattice::upright(20, 10, {22, 22}, 8)};
    m.width = 200;
    m.sigma = 1.2;
    return m;
}

// Lattice cells (column, row) as points, for comparing lists.
QList<QPoint> pointsOf(const std::vector<LatticeCell>& cells) {
    QList<QPoint> points;
    for (const LatticeCell c : cells) {
        points.append(QPoint(c.column, c.row));
    }
    return points;
}

// The module with the LEDs at these lattice cells dark in the lit picture.
std::vector<double> allBut(const DrawnModule& m, const QList<QPoint>& dead) {
    std::vector<double> levels = m.all();
    for (const QPoint d : dead) {
        levels[size_t(d.y()) * m.lattice.columns + d.x()] = 0;
    }
    return levels;
}

}  // namespace

Q_DECLARE_METATYPE(DrawnModule)
Q_DECLARE_METATYPE(CalibrationRefusal)
Q_DECLARE_METATYPE(Doubt)
Q_DECLARE_METATYPE(Motion)
Q_DECLARE_METATYPE(ModuleLight)

class VisionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void componentsGrowOverTheirLevelAndStopAtAnother() {
        // Two 3 x 3 squares of 50 joined by a bridge of 20 along row 4.
        const FloatPlane plane = planeWith(
            20, 10, {QRect(5, 4, 7, 1), QRect(2, 3, 3, 3), QRect(12, 3, 3, 3)}, {20, 50, 50});
        ConnectedComponents apart(plane);
        const Component left = apart.grow(3, 4, 30, 1);
        const Component right = apart.grow(13, 4, 30, 2);
        QCOMPARE(left.area, 9);
        QCOMPARE(right.area, 9);
        QCOMPARE(right.mergedInto, 0);
        QVERIFY(distance(left.centroid, {3, 4}) < 1e-9);
        QVERIFY(distance(right.centroid, {13, 4}) < 1e-9);
        QCOMPARE(apart.grow(0, 0, 30, 3).area, 0);  // a seed below the level

        ConnectedComponents bridged(plane);
        bridged.grow(3, 4, 30, 1);
        const Component joined = bridged.grow(13, 4, 10, 2);
        QCOMPARE(joined.mergedInto, 1);
        QCOMPARE(joined.area, 9 + 7);  // the right square and the bridge
        QCOMPARE(bridged.labelAt(13, 4), 1);
        QCOMPARE(bridged.labelAt(8, 4), 1);
    }

    void centroidsLeanTowardsBrighterPixels() {
        // Values 40, 40, 100 at level 30 weigh 11, 11 and 71: x = (5*11 + 6*11 + 7*71) / 93.
        const FloatPlane plane =
            planeWith(10, 10, {QRect(5, 5, 2, 1), QRect(7, 5, 1, 1)}, {40, 100});
        ConnectedComponents components(plane);
        const Component c = components.grow(5, 5, 30, 1);
        QCOMPARE(c.area, 3);
        QVERIFY(std::abs(c.centroid.x - 618.0 / 93.0) < 1e-9);
        QVERIFY(std::abs(c.centroid.y - 5) < 1e-9);
    }

    void spotsFoundOncePerLedAtTheirCentres_data() {
        QTest::addColumn<double>("pitch");
        QTest::addColumn<double>("sigma");
        QTest::addColumn<double>("dimShare");  // every other LED this bright
        QTest::addColumn<double>("noise");
        QTest::newRow("8 px apart, sharp") << 8.0 << 1.0 << 1.0 << 2.0;
        QTest::newRow("6 px apart, blurred until they touch") << 6.0 << 1.7 << 1.0 << 3.0;
        QTest::newRow("6 px apart, dim beside bright") << 6.0 << 1.6 << 0.54 << 2.0;
        QTest::newRow("flat tops 20 px apart") << 20.0 << 4.0 << 1.0 << 3.0;
    }

    void spotsFoundOncePerLedAtTheirCentres() {
        QFETCH(double, pitch);
        QFETCH(double, sigma);
        QFETCH(double, dimShare);
        QFETCH(double, noise);
        const TestLattice lattice = TestLattice::upright(10, 6, {12.3, 10.6}, pitch);
        TestPicture dark(int(12 * pitch + 30), int(8 * pitch + 25), 20);
        TestPicture lit = dark;
        for (int j = 0; j < lattice.rows; ++j) {
            for (int i = 0; i < lattice.columns; ++i) {
                const double height = (i + j) % 2 ? 120 * dimShare : 120;
                if (sigma < 3) {
                    lit.addSpot(lattice.at(i, j), height, sigma);
                    continue;
                }
                // A flat top: many small spots filling a disc, noise on top.
                for (double dy = -3; dy <= 3; dy += 1) {
                    for (double dx = -3; dx <= 3; dx += 1) {
                        if (dx * dx + dy * dy <= 9) {
                            lit.addSpot(lattice.at(i, j) + PicturePoint{dx, dy}, height / 8, 1);
                        }
                    }
                }
            }
        }
        dark.addNoise(noise, 1);
        lit.addNoise(noise, 2);
        const std::vector<Spot> spots =
            SpotFinder().find(FloatPlane::difference(lit.grey(), dark.grey()));
        QCOMPARE(int(spots.size()), 60);
        for (const PicturePoint& p : pointsOf(lattice)) {
            double nearest = 1e9;
            for (const Spot& s : spots) {
                nearest = std::min(nearest, distance(s.centre, p));
            }
            // A dim LED between bright ones twice as bright at the smallest pitch leans towards
            // them by up to about two thirds of a pixel.
            QVERIFY2(nearest < 0.75, qPrintable(QString::number(nearest)));
        }
    }

    void faintLightBesideTheLedsIsNoSpotButFarAwayItIs() {
        const TestLattice lattice = TestLattice::upright(6, 4, {20, 20}, 10);
        TestPicture dark(160, 80, 20);
        TestPicture lit = dark;
        for (const PicturePoint& p : pointsOf(lattice)) {
            lit.addSpot(p, 100, 1.2);
        }
        lit.addSpot({80, 30}, 25, 1.2);   // one pitch beyond the last column
        lit.addSpot({140, 40}, 25, 1.2);  // seven pitches away
        const std::vector<Spot> spots =
            SpotFinder().find(FloatPlane::difference(lit.grey(), dark.grey()));
        QCOMPARE(int(spots.size()), 24 + 1);
        const auto found = [&](PicturePoint p) {
            return std::any_of(spots.begin(), spots.end(),
                               [&](const Spot& s) { return distance(s.centre, p) < 1; });
        };
        QVERIFY(!found({80, 30}));
        QVERIFY(found({140, 40}));
    }

    void noDifferenceGivesNoSpots() {
        TestPicture dark(100, 80, 40);
        dark.addTexture(3, 60);
        TestPicture again = dark;
        dark.addNoise(3, 1);
        again.addNoise(3, 2);
        QCOMPARE(int(SpotFinder().find(FloatPlane::difference(again.grey(), dark.grey())).size()),
                 0);
    }

    void homographyTakesTheSquaresCentreToWhereTheDiagonalsCross() {
        // A perspective map keeps straight lines: the unit square's centre, where its diagonals
        // cross, goes to where the trapezoid's diagonals cross, (2, 4/3).
        const std::array<PicturePoint, 4> square{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
        const std::array<PicturePoint, 4> trapezoid{{{0, 0}, {4, 0}, {3, 2}, {1, 2}}};
        const std::optional<Homography> h = Homography::fromFourPoints(square, trapezoid);
        QVERIFY(h);
        for (int k = 0; k < 4; ++k) {
            QVERIFY(distance(h->map(square[k]), trapezoid[k]) < 1e-9);
        }
        QVERIFY(distance(h->map({0.5, 0.5}), {2, 4.0 / 3}) < 1e-9);
        const std::optional<Homography> back = h->inverted();
        QVERIFY(back);
        QVERIFY(distance(back->map({2, 4.0 / 3}), {0.5, 0.5}) < 1e-9);
        QVERIFY(distance(back->map(h->map({0.2, 0.9})), {0.2, 0.9}) < 1e-9);
    }

    void homographyRefusesThreePointsOnALine() {
        const std::array<PicturePoint, 4> square{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
        const std::array<PicturePoint, 4> flat{{{0, 0}, {1, 1}, {2, 2}, {0, 5}}};
        QVERIFY(!Homography::fromFourPoints(square, flat));
        QVERIFY(!Homography::fromFourPoints(flat, square));
        QVERIFY(!Homography::fit({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}},
                                 {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
    }

    void homographyFitRecoversAPerspectiveFromManyPoints() {
        // x' = (2x + 0.1y + 5) / w, y' = (0.2x + 1.5y + 7) / w, w = 0.001x + 0.002y + 1.
        const auto perspective = [](PicturePoint p) {
            const double w = 0.001 * p.x + 0.002 * p.y + 1;
            return PicturePoint{(2 * p.x + 0.1 * p.y + 5) / w, (0.2 * p.x + 1.5 * p.y + 7) / w};
        };
        std::vector<PicturePoint> from;
        std::vector<PicturePoint> to;
        for (int j = 0; j < 5; ++j) {
            for (int i = 0; i < 7; ++i) {
                from.push_back({30.0 * i, 40.0 * j});
                to.push_back(perspective(from.back()));
            }
        }
        const std::optional<Homography> h = Homography::fit(from, to);
        QVERIFY(h);
        for (const PicturePoint p : {PicturePoint{15, 25}, PicturePoint{170, 150}}) {
            QVERIFY(distance(h->map(p), perspective(p)) < 1e-6);
        }
    }

    void latticeIndexedRowByRowFromTheLeft_data() {
        QTest::addColumn<int>("turn");  // degrees, about the lattice's middle
        QTest::addColumn<bool>("trapezoid");
        QTest::addColumn<int>("missing");  // a point left out, -1 for none
        QTest::newRow("upright") << 0 << false << -1;
        QTest::newRow("rolled 15 degrees") << 15 << false << -1;
        QTest::newRow("rolled -25 degrees") << -25 << false << -1;
        QTest::newRow("seen at an angle") << 0 << true << -1;
        QTest::newRow("one missing") << 5 << true << 19;
    }

    void latticeIndexedRowByRowFromTheLeft() {
        QFETCH(int, turn);
        QFETCH(bool, trapezoid);
        QFETCH(int, missing);
        TestLattice lattice = TestLattice::upright(8, 5, {40, 40}, 12);
        if (trapezoid) {  // the right side farther away: its pitch 7 px, the left side's 12
            lattice.corners = {{{40, 40}, {110, 52}, {110, 80}, {40, 88}}};
        }
        std::vector<PicturePoint> points;
        for (const PicturePoint& p : pointsOf(lattice)) {
            points.push_back(turned(p, {82, 64}, turn));
        }
        points.push_back({400, 400});  // a stray light far away
        if (missing >= 0) {
            points[missing] = {400, 10};
        }
        const IndexedLattice l = LatticeIndexer::index(points, 12);
        QCOMPARE(l.columns, 8);
        QCOMPARE(l.rows, 5);
        QCOMPARE(l.conflicts, 0);
        QCOMPARE(l.indexed, missing >= 0 ? 39 : 40);
        for (int j = 0; j < 5; ++j) {
            for (int i = 0; i < 8; ++i) {
                const int expected = j * 8 + i == missing ? -1 : j * 8 + i;
                QCOMPARE(l.at(i, j), expected);
            }
        }
    }

    void latticeFitFindsTheOneLedOffTheGrid() {
        const TestLattice lattice{10, 6, {{{20, 20}, {200, 40}, {190, 130}, {30, 120}}}};
        std::vector<PicturePoint> points = pointsOf(lattice);
        // Through a lens that pulls the corners in: r' = r (1 - 2e-6 r^2) about (110, 75).
        for (PicturePoint& p : points) {
            const PicturePoint d = p - PicturePoint{110, 75};
            p = PicturePoint{110, 75} + (1 - 2e-6 * (d.x * d.x + d.y * d.y)) * d;
        }
        const std::optional<LatticeFitResult> smooth = LatticeFit::check(points, 10, 6);
        QVERIFY(smooth);
        QVERIFY2(smooth->worstInPitches < 0.02,
                 qPrintable(QString::number(smooth->worstInPitches)));
        QCOMPARE(int(smooth->fitted.size()), 60);
        points[23].x += 10;  // half a pitch along its row
        const std::optional<LatticeFitResult> off = LatticeFit::check(points, 10, 6);
        QVERIFY(off);
        QCOMPARE(off->worstAt, 23);
        QVERIFY(off->worstInPitches > 0.3);
        QVERIFY(!LatticeFit::check(std::vector<PicturePoint>(9), 3, 3));
    }

    // Places not seen are left out of the fit and placed on the smooth grid: a perspective view
    // of a 10 x 6 lattice through a lens, the unseen places given far off.
    void latticeFitPlacesUnseenPositionsOnTheSmoothGrid_data() {
        QTest::addColumn<QList<int>>("unseen");  // j x 10 + i
        QTest::newRow("inside") << QList<int>{23};
        QTest::newRow("on an edge") << QList<int>{5};
        QTest::newRow("two corners") << QList<int>{0, 59};
    }

    void latticeFitPlacesUnseenPositionsOnTheSmoothGrid() {
        QFETCH(QList<int>, unseen);
        // x' = (2x + 0.1y + 5) / w, y' = (0.2x + 1.5y + 7) / w, w = 0.001x + 0.002y + 1 of cells
        // 10 apart, then r' = r (1 - 2e-6 r^2) about (110, 75).
        std::vector<PicturePoint> truth;
        for (int j = 0; j < 6; ++j) {
            for (int i = 0; i < 10; ++i) {
                const double x = 10.0 * i;
                const double y = 10.0 * j;
                const double w = 0.001 * x + 0.002 * y + 1;
                const PicturePoint d =
                    PicturePoint{(2 * x + 0.1 * y + 5) / w, (0.2 * x + 1.5 * y + 7) / w} -
                    PicturePoint{110, 75};
                truth.push_back(PicturePoint{110, 75} + (1 - 2e-6 * (d.x * d.x + d.y * d.y)) * d);
            }
        }
        std::vector<PicturePoint> given = truth;
        std::vector<bool> seen(60, true);
        for (int k : unseen) {
            given[k] = {0, 0};
            seen[k] = false;
        }
        const std::optional<LatticeFitResult> fit = LatticeFit::check(given, 10, 6, seen);
        QVERIFY(fit);
        QVERIFY2(fit->worstInPitches < 0.01, qPrintable(QString::number(fit->worstInPitches)));
        for (int k : unseen) {
            const double off = distance(fit->fitted[k], truth[k]);
            QVERIFY2(off < 0.05, qPrintable(QString::number(off)));
        }
    }

    // Where the module's top-left LED (row 0, column 0), its top-right one and the first LED of
    // its second row appear in the picture lattice of a 4 x 3 module, for each way the picture
    // can show it: the upright view mirrored (if so) and then turned counter-clockwise.
    void orientationUndoesTheTurnAndTheMirror_data() {
        QTest::addColumn<int>("turn");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<QPoint>("topRight");
        QTest::addColumn<QPoint>("secondRow");
        QTest::newRow("0") << 0 << false << QPoint(0, 0) << QPoint(3, 0) << QPoint(0, 1);
        QTest::newRow("0 mirrored") << 0 << true << QPoint(3, 0) << QPoint(0, 0) << QPoint(3, 1);
        QTest::newRow("90") << 90 << false << QPoint(0, 3) << QPoint(0, 0) << QPoint(1, 3);
        QTest::newRow("90 mirrored") << 90 << true << QPoint(0, 0) << QPoint(0, 3) << QPoint(1, 0);
        QTest::newRow("180") << 180 << false << QPoint(3, 2) << QPoint(0, 2) << QPoint(3, 1);
        QTest::newRow("180 mirrored")
            << 180 << true << QPoint(0, 2) << QPoint(3, 2) << QPoint(0, 1);
        QTest::newRow("270") << 270 << false << QPoint(2, 0) << QPoint(2, 3) << QPoint(1, 0);
        QTest::newRow("270 mirrored")
            << 270 << true << QPoint(2, 3) << QPoint(2, 0) << QPoint(1, 3);
    }

    void orientationUndoesTheTurnAndTheMirror() {
        QFETCH(int, turn);
        QFETCH(bool, mirrored);
        QFETCH(QPoint, topLeft);
        QFETCH(QPoint, topRight);
        QFETCH(QPoint, secondRow);
        const ModuleOrientation o(turn, mirrored);
        const auto picture = [&](int column, int row) {
            const LatticeCell c = o.pictureCell({column, row}, 4, 3);
            return QPoint(c.column, c.row);
        };
        QCOMPARE(picture(0, 0), topLeft);
        QCOMPARE(picture(3, 0), topRight);
        QCOMPARE(picture(0, 1), secondRow);
        const LatticeCell size = o.pictureSize(4, 3);
        QCOMPARE(QPoint(size.column, size.row), turn % 180 ? QPoint(3, 4) : QPoint(4, 3));
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 4; ++column) {
                const LatticeCell back = o.moduleCell(o.pictureCell({column, row}, 4, 3), 4, 3);
                QCOMPARE(QPoint(back.column, back.row), QPoint(column, row));
            }
        }
        QVERIFY(!ModuleOrientation::fromDegrees(45, false));
    }

    void sampleKernelWeighsAboutItsCentre() {
        // Sigma 1 over the 13 pixels within 2: weights 1, 4 x e^-0.5, 4 x e^-1, 4 x e^-2, which
        // sum to 5.43898; one pixel 100 brighter at the centre adds 100 / 5.43898.
        TestPicture flat(21, 21, 100);
        TestPicture spot = flat;
        spot.at(10, 10) = 200;
        QVERIFY(std::abs(SampleKernel({10, 10}, 1, 21, 21).mean(spot.grey()) - 118.386) < 0.01);
        // Half-way between two pixels, each counts the same.
        TestPicture right = flat;
        right.at(11, 10) = 200;
        const SampleKernel between({10.5, 10}, 1, 21, 21);
        QVERIFY(std::abs(between.mean(spot.grey()) - between.mean(right.grey())) < 1e-9);
        // At the corner the pixels outside are left out and the rest still sum to 1.
        QVERIFY(std::abs(SampleKernel({0, 0}, 1.5, 21, 21).mean(flat.grey()) - 100) < 1e-4);
        TestPicture bright = flat;
        bright.at(11, 11) = 250;  // within 2 sigma
        bright.at(13, 10) = 255;  // beyond
        QCOMPARE(SampleKernel({10, 10}, 1, 21, 21).brightest(bright.grey()), 250);
        QVERIFY(SampleKernel({-5, -5}, 1, 21, 21).isEmpty());
    }

    void motionSeenInTheRoomNotInTheExposure_data() {
        QTest::addColumn<int>("shiftX");
        QTest::addColumn<int>("shiftY");
        QTest::addColumn<double>("gain");
        QTest::addColumn<bool>("room");
        QTest::addColumn<Motion>("expected");
        QTest::newRow("still") << 0 << 0 << 1.0 << true << Motion::Still;
        QTest::newRow("still, exposure 20 % up") << 0 << 0 << 1.2 << true << Motion::Still;
        QTest::newRow("still, exposure 30 % down") << 0 << 0 << 0.7 << true << Motion::Still;
        QTest::newRow("a third of a pitch right") << 5 << 0 << 1.0 << true << Motion::Moved;
        QTest::newRow("one pitch down") << 0 << 14 << 1.0 << true << Motion::Moved;
        QTest::newRow("two pitches left and up") << -28 << -28 << 1.0 << true << Motion::Moved;
        QTest::newRow("a plain wall") << 14 << 0 << 1.0 << false << Motion::Unchecked;
    }

    void motionSeenInTheRoomNotInTheExposure() {
        QFETCH(int, shiftX);
        QFETCH(int, shiftY);
        QFETCH(double, gain);
        QFETCH(bool, room);
        QFETCH(Motion, expected);
        const DrawnModule m = uprightModule();
        TestPicture dark = room ? m.dark() : TestPicture(160, 120, 30);
        TestPicture lit = dark;
        TestPicture now = dark.shifted(shiftX, shiftY).scaled(gain);
        dark.addNoise(1.5, 1);
        lit.addNoise(1.5, 2);
        now.addNoise(1.5, 3);
        const std::vector<PicturePoint> leds = pointsOf(m.lattice);
        const MotionCheck check(dark.grey(), lit.grey(), leds, 14, 14);
        const MotionResult r = check.check(now.grey(), std::vector<float>(leds.size(), 0));
        QCOMPARE(r.motion, expected);
        if (expected == Motion::Still) {
            QVERIFY(std::abs(r.gain - gain) < 0.05);
        }
    }

    void calibrationRefusesWithItsReason_data() {
        QTest::addColumn<DrawnModule>("module");
        QTest::addColumn<QSize>("leds");
        QTest::addColumn<QList<QPoint>>("dead");  // lattice cells dark in the lit picture
        QTest::addColumn<int>("change");
        QTest::addColumn<CalibrationRefusal>("refusal");
        QTest::addColumn<int>("found");
        const DrawnModule upright = uprightModule();
        const QSize size(8, 6);
        DrawnModule lyingDown = upright;
        lyingDown.lattice = TestLattice::upright(6, 8, {40, 10}, 14);
        DrawnModule offTheEdge = upright;
        offTheEdge.lattice = TestLattice::upright(8, 6, {-12, 25}, 14);
        // Rolled 40 degrees with its top-left LED 5 px beyond the picture's left border and
        // both its neighbours inside.
        DrawnModule cornerOut = upright;
        cornerOut.lattice = {8, 6, {{{-5, 70}, {70, 7}, {115, 60.6}, {40, 123.6}}}};
        cornerOut.height = 140;
        DrawnModule tiny = upright;
        tiny.lattice = TestLattice::upright(8, 6, {50, 40}, 4);
        tiny.sigma = 1;
        const DrawnModule large = moduleOf200();
        const QList<QPoint> none;
        QTest::newRow("all there")
            << upright << size << none << 0 << CalibrationRefusal::None << 48;
        QTest::newRow("lying on its side")
            << lyingDown << size << none << 0 << CalibrationRefusal::QuarterTurned << 48;
        QTest::newRow("lying on its side, an LED dead")
            << lyingDown << size << QList<QPoint>{{2, 3}} << 0 << CalibrationRefusal::QuarterTurned
            << 47;
        QTest::newRow("two of 48 LEDs dead, apart")
            << upright << size << QList<QPoint>{{2, 1}, {5, 4}} << 0 << CalibrationRefusal::TooFew
            << 46;
        QTest::newRow("three of 200 LEDs dead, apart")
            << large << QSize(20, 10) << QList<QPoint>{{2, 1}, {10, 5}, {17, 8}} << 0
            << CalibrationRefusal::TooFew << 197;
        QTest::newRow("two of 200 LEDs dead, side by side")
            << large << QSize(20, 10) << QList<QPoint>{{9, 4}, {9, 5}} << 0
            << CalibrationRefusal::TooFew << 198;
        QTest::newRow("the corner LED outside the picture")
            << cornerOut << size << QList<QPoint>{{0, 0}} << 0 << CalibrationRefusal::PartlyOutside
            << 47;
        QTest::newRow("a light beside it")
            << upright << size << none << 2 << CalibrationRefusal::TooMany << 49;
        QTest::newRow("off the left edge")
            << offTheEdge << size << none << 0 << CalibrationRefusal::PartlyOutside << 42;
        QTest::newRow("4 px apart")
            << tiny << size << none << 0 << CalibrationRefusal::TooSmall << -1;
        QTest::newRow("overexposed")
            << upright << size << none << 3 << CalibrationRefusal::Overexposed << -1;
        QTest::newRow("nothing lit")
            << upright << size << none << 4 << CalibrationRefusal::NoDifference << -1;
    }

    void calibrationRefusesWithItsReason() {
        QFETCH(DrawnModule, module);
        QFETCH(QSize, leds);
        QFETCH(QList<QPoint>, dead);
        QFETCH(int, change);
        QFETCH(CalibrationRefusal, refusal);
        QFETCH(int, found);
        std::vector<double> levels = change == 4 ? module.none() : allBut(module, dead);
        TestPicture lit = module.with(levels);
        if (change == 2) {
            lit.addSpot(module.lattice.at(7, 2) + PicturePoint{14, 0}, module.amplitude,
                        module.sigma);
        } else if (change == 3) {
            DrawnModule bright = module;
            bright.amplitude = 400;
            lit = bright.with(levels);
        }
        const Calibration c = Calibrator::calibrate(module.dark().grey(), lit.grey(), leds.width(),
                                                    leds.height(), ModuleOrientation());
        QCOMPARE(c.refusal, refusal);
        QCOMPARE(c.grid.has_value(), refusal == CalibrationRefusal::None);
        QCOMPARE(c.expected, leds.width() * leds.height());
        if (found >= 0) {
            QCOMPARE(c.found, found);
        }
        if (refusal == CalibrationRefusal::QuarterTurned) {
            QCOMPARE(QPoint(c.foundColumns, c.foundRows), QPoint(6, 8));
        }
        if (refusal == CalibrationRefusal::TooSmall) {
            QVERIFY(c.pitch > 3 && c.pitch < 5);
        }
    }

    // Dead LEDs, dark in the lit picture, are placed among their neighbours; the walk then finds
    // nothing lit at a dead LED's step, and an LED lit beside one reads as itself.
    void deadLedsPlacedAmongTheirNeighbours_data() {
        QTest::addColumn<DrawnModule>("module");
        QTest::addColumn<int>("turn");
        QTest::addColumn<QList<QPoint>>("dead");     // picture lattice cells
        QTest::addColumn<QList<QPoint>>("missing");  // the same as module cells
        const DrawnModule upright = uprightModule();
        DrawnModule lyingDown = upright;
        lyingDown.lattice = TestLattice::upright(6, 8, {40, 10}, 14);
        QTest::newRow("inside") << upright << 0 << QList<QPoint>{{4, 2}} << QList<QPoint>{{4, 2}};
        QTest::newRow("on the top edge")
            << upright << 0 << QList<QPoint>{{3, 0}} << QList<QPoint>{{3, 0}};
        QTest::newRow("at the bottom-right corner")
            << upright << 0 << QList<QPoint>{{7, 5}} << QList<QPoint>{{7, 5}};
        QTest::newRow("two of 200, apart") << moduleOf200() << 0 << QList<QPoint>{{3, 2}, {15, 7}}
                                           << QList<QPoint>{{3, 2}, {15, 7}};
        // Row 1 of the module runs up the picture's left side: picture cell (1, 2) is the
        // module's row 2 (index 1), column 6 (index 5).
        QTest::newRow("turned a quarter")
            << lyingDown << 90 << QList<QPoint>{{1, 2}} << QList<QPoint>{{5, 1}};
    }

    void deadLedsPlacedAmongTheirNeighbours() {
        QFETCH(DrawnModule, module);
        QFETCH(int, turn);
        QFETCH(QList<QPoint>, dead);
        QFETCH(QList<QPoint>, missing);
        module.noise = 2;
        const TestLattice& l = module.lattice;
        const QSize leds = turn ? QSize(l.rows, l.columns) : QSize(l.columns, l.rows);
        const Calibration c = Calibrator::calibrate(
            module.with(module.none(), 1).grey(), module.with(allBut(module, dead), 2).grey(),
            leds.width(), leds.height(), ModuleOrientation(turn, false));
        QCOMPARE(c.refusal, CalibrationRefusal::None);
        QCOMPARE(c.found, l.columns * l.rows - int(dead.size()));
        QCOMPARE(pointsOf(c.missing), missing);
        QCOMPARE(pointsOf(c.grid->missingLeds()), missing);
        const LedGrid& grid = *c.grid;
        // The LED read, by where it was drawn.
        const auto readAt = [&](const LedReading& r) {
            return grid.led(r.led.row, r.led.column).centre;
        };
        for (int k = 0; k < dead.size(); ++k) {
            const QPoint d = dead[k];
            const LedPlace& place = grid.led(missing[k].y(), missing[k].x());
            const double off = distance(place.centre, l.at(d.x(), d.y()));
            QVERIFY2(off < 0.1, qPrintable(QString::number(off)));
            // Its step: nothing lights.
            std::vector<double> levels = module.none();
            const LedReading atItsStep = LedReader::read(grid, module.with(levels, 3).grey());
            QCOMPARE(atItsStep.doubt, Doubt::NoneLit);
            QVERIFY(std::abs(atItsStep.scores[grid.ledIndex(missing[k].y(), missing[k].x())]) <
                    0.1);
            // Its neighbour along the row lights.
            const QPoint beside = d + QPoint(d.x() + 1 < l.columns ? 1 : -1, 0);
            levels[size_t(beside.y()) * l.columns + beside.x()] = 1;
            const LedReading besideIt = LedReader::read(grid, module.with(levels, 4).grey());
            QVERIFY(besideIt.isCertain());
            QVERIFY(distance(readAt(besideIt), l.at(beside.x(), beside.y())) < 0.5);
            // It lights after all, as bright as its neighbours.
            levels = module.none();
            levels[size_t(d.y()) * l.columns + d.x()] = 1;
            const LedReading itself = LedReader::read(grid, module.with(levels, 5).grey());
            QVERIFY(itself.isCertain());
            QCOMPARE(QPoint(itself.led.column, itself.led.row), missing[k]);
            QVERIFY(std::abs(itself.led.score - 1) < 0.15);
        }
    }

    void calibrationRefusesPicturesOfDifferentSizes() {
        const TestPicture small(100, 80);
        const TestPicture large(120, 80);
        QCOMPARE(Calibrator::calibrate(small.grey(), large.grey(), 8, 6).refusal,
                 CalibrationRefusal::PicturesDiffer);
    }

    void calibratedLedsAreNumberedThroughTheOrientation() {
        // The module lies turned: the picture shows it 6 LEDs wide and 8 high, its row 1 running
        // up the left side (turned counter-clockwise), so its top-left LED is the picture's
        // bottom-left.
        DrawnModule m = uprightModule();
        m.lattice = TestLattice::upright(6, 8, {40, 10}, 14);
        const Calibration c = Calibrator::calibrate(m.dark().grey(), m.with(m.all()).grey(), 8, 6,
                                                    ModuleOrientation(90, false));
        QVERIFY(c.grid);
        QVERIFY(distance(c.grid->led(0, 0).centre, m.lattice.at(0, 7)) < 0.1);
        QVERIFY(distance(c.grid->led(0, 7).centre, m.lattice.at(0, 0)) < 0.1);
        QVERIFY(distance(c.grid->led(5, 0).centre, m.lattice.at(5, 7)) < 0.1);
        QVERIFY(std::abs(c.grid->typicalPitch() - 14) < 0.1);
    }

    // The lit threshold is 0.5 and the unlit one 0.25: a reading is certain only with one LED at
    // 0.5 or more and every other at 0.25 or less.
    void readingCertainOnlyForOneClearLed_data() {
        QTest::addColumn<double>("first");   // LED (2, 1)'s level
        QTest::addColumn<double>("second");  // LED (6, 4)'s level
        QTest::addColumn<Doubt>("doubt");
        QTest::newRow("one lit") << 1.0 << 0.0 << Doubt::None;
        QTest::newRow("one just over half lit") << 0.53 << 0.0 << Doubt::None;
        QTest::newRow("one just under half lit") << 0.47 << 0.0 << Doubt::Unclear;
        QTest::newRow("another just under a quarter") << 1.0 << 0.22 << Doubt::None;
        QTest::newRow("another just over a quarter") << 1.0 << 0.28 << Doubt::Unclear;
        QTest::newRow("two just over half") << 0.55 << 0.55 << Doubt::SeveralLit;
        QTest::newRow("two lit") << 1.0 << 1.0 << Doubt::SeveralLit;
        QTest::newRow("one at a fifth") << 0.2 << 0.0 << Doubt::NoneLit;
        QTest::newRow("none") << 0.0 << 0.0 << Doubt::NoneLit;
    }

    void readingCertainOnlyForOneClearLed() {
        QFETCH(double, first);
        QFETCH(double, second);
        QFETCH(Doubt, doubt);
        const DrawnModule m = uprightModule();
        const Calibration c = Calibrator::calibrate(m.dark().grey(), m.with(m.all()).grey(), 8, 6);
        QVERIFY(c.grid);
        std::vector<double> levels = m.none();
        levels[1 * 8 + 2] = first;
        levels[4 * 8 + 6] = second;
        const LedReading r = LedReader::read(*c.grid, m.with(levels).grey());
        QCOMPARE(r.doubt, doubt);
        QCOMPARE(r.motion.motion, Motion::Still);
        if (first > second) {
            QCOMPARE(QPoint(r.candidates[0].column, r.candidates[0].row), QPoint(2, 1));
        }
        QVERIFY(std::abs(r.scores[1 * 8 + 2] - first) < 0.02);
        if (doubt == Doubt::None) {
            QCOMPARE(QPoint(r.led.column, r.led.row), QPoint(2, 1));
        }
    }

    void readingDoubtsWhatIsNotOneLed_data() {
        QTest::addColumn<int>("what");
        QTest::addColumn<Doubt>("doubt");
        QTest::newRow("a reflection between LEDs") << 0 << Doubt::LightOffLeds;
        QTest::newRow("a reflection beside the module") << 1 << Doubt::LightOffLeds;
        QTest::newRow("exposure 40 % up") << 2 << Doubt::Overexposed;
        QTest::newRow("the LED clipped at 255") << 3 << Doubt::Overexposed;
        QTest::newRow("camera moved one pitch") << 4 << Doubt::Moved;
        QTest::newRow("a picture of another size") << 5 << Doubt::WrongPicture;
    }

    void readingDoubtsWhatIsNotOneLed() {
        QFETCH(int, what);
        QFETCH(Doubt, doubt);
        const DrawnModule m = uprightModule();
        const Calibration c = Calibrator::calibrate(m.dark().grey(), m.with(m.all()).grey(), 8, 6);
        QVERIFY(c.grid);
        std::vector<double> levels = m.none();
        levels[2 * 8 + 3] = 1;
        TestPicture now = m.with(levels);
        if (what == 0) {
            now.addSpot(m.lattice.at(5, 4) + PicturePoint{7, 7}, 130, 10);
        } else if (what == 1) {
            now.addSpot(m.lattice.at(7, 3) + PicturePoint{14, 0}, 130, 5);
        } else if (what == 2) {
            now = now.scaled(1.4);
        } else if (what == 3) {
            now.addSpot(m.lattice.at(3, 2), 300, m.sigma);
        } else if (what == 4) {
            now = now.shifted(14, 0);
        }
        const TestPicture otherSize(100, 100);
        const GreyPicture picture = what == 5 ? otherSize.grey() : now.grey();
        QCOMPARE(LedReader::read(*c.grid, picture).doubt, doubt);
    }

    void polarityJudgedOnOnePicture_data() {
        QTest::addColumn<int>("lit");  // 0 none, 1 all, 2 the top half
        QTest::addColumn<bool>("lyingDown");
        QTest::addColumn<ModuleLight>("light");
        QTest::newRow("dark") << 0 << false << ModuleLight::Dark;
        QTest::newRow("lit") << 1 << false << ModuleLight::Lit;
        QTest::newRow("lit, on its side") << 1 << true << ModuleLight::Lit;
        QTest::newRow("half lit") << 2 << false << ModuleLight::Unsure;
    }

    void polarityJudgedOnOnePicture() {
        QFETCH(int, lit);
        QFETCH(bool, lyingDown);
        QFETCH(ModuleLight, light);
        DrawnModule m = uprightModule();
        m.noise = 2;
        if (lyingDown) {
            m.lattice = TestLattice::upright(6, 8, {40, 10}, 14);
        }
        std::vector<double> levels = m.none();
        for (size_t k = 0; k < levels.size(); ++k) {
            levels[k] = lit == 1 || (lit == 2 && k < levels.size() / 2) ? 1 : 0;
        }
        const TestPicture drawn = m.with(levels, 5);
        const GreyPicture picture = drawn.grey();
        const PolarityReading alone = PolarityJudge::judge(picture, 8, 6);
        QCOMPARE(alone.light, light);
        // Half lit, the room's bright spots beside the lit LEDs may count among them.
        QVERIFY(lit == 2 ? alone.litShare > 0.3 && alone.litShare < 0.9
                         : std::abs(alone.litShare - lit) < 0.05);
        if (lyingDown) {
            return;
        }
        const Calibration c =
            Calibrator::calibrate(m.with(m.none(), 1).grey(), m.with(m.all(), 2).grey(), 8, 6);
        QVERIFY(c.grid);
        QCOMPARE(PolarityJudge::judge(*c.grid, picture).light, light);
    }
};

QTEST_MAIN(VisionTest)
#include "tst_vision.moc"
