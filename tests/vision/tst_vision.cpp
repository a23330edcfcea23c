#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "vision/Calibrator.h"
#include "vision/ConnectedComponents.h"
#include "vision/FloatPlane.h"
#include "vision/Homography.h"
#include "vision/LatticeFit.h"
#include "vision/LatticeIndexer.h"
#include "vision/LedReader.h"
#include "vision/MotionCheck.h"
#include "vision/PolarityJudge.h"
#include "vision/SampleKernel.h"
#include "vision/SpotFinder.h"

// The LED finder's pieces on small pictures drawn here: Gaussian spots on a lattice bent
// between four corners, a room of soft blobs, sensor noise. Expected places and numbers come
// from how the pictures were drawn, never from the finder.

namespace {

// A picture kept as floats and rounded to bytes (clipped at 0 and 255) when a GreyPicture is
// asked for.
class TestPicture {
public:
    TestPicture(int width, int height, double background = 20)
        : m_width(width), m_height(height), m_values(size_t(width) * height, background) {}

    double& at(int x, int y) { return m_values[size_t(y) * m_width + x]; }

    void addSpot(PicturePoint c, double height, double sigma) {
        const int r = static_cast<int>(std::ceil(4 * sigma));
        for (int y = std::max(0, int(c.y) - r); y <= std::min(m_height - 1, int(c.y) + r + 1);
             ++y) {
            for (int x = std::max(0, int(c.x) - r); x <= std::min(m_width - 1, int(c.x) + r + 1);
                 ++x) {
                const double d2 = (x - c.x) * (x - c.x) + (y - c.y) * (y - c.y);
                at(x, y) += height * std::exp(-0.5 * d2 / (sigma * sigma));
            }
        }
    }
    // Soft blobs of random brightness a few pixels across: something a shift shows in.
    void addTexture(unsigned seed, double contrast) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> u(0, 1);
        for (int k = 0; k < m_width * m_height / 30; ++k) {
            addSpot({u(random) * m_width, u(random) * m_height}, (u(random) - 0.5) * contrast,
                    1 + 2 * u(random));
        }
    }
    void addNoise(double sigma, unsigned seed) {
        std::mt19937 random(seed);
        std::normal_distribution<double> n(0, sigma);
        for (double& v : m_values) {
            v += n(random);
        }
    }
    // As a camera moved by (dx, dy) px sees it, its exposure times `gain`.
    TestPicture moved(int dx, int dy, double gain = 1) const {
        TestPicture out(*this);
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                out.at(x, y) =
                    gain * m_values[size_t(std::clamp(y - dy, 0, m_height - 1)) * m_width +
                                    std::clamp(x - dx, 0, m_width - 1)];
            }
        }
        return out;
    }
    GreyPicture grey() const {
        m_bytes.resize(m_values.size());
        for (size_t k = 0; k < m_values.size(); ++k) {
            m_bytes[k] = static_cast<std::uint8_t>(std::clamp(std::lround(m_values[k]), 0L, 255L));
        }
        return {m_width, m_height, m_width, m_bytes.data()};
    }

private:
    int m_width;
    int m_height;
    std::vector<double> m_values;
    mutable std::vector<std::uint8_t> m_bytes;
};

// A lattice of columns x rows LED places bent between four corner places (top-left, top-right,
// bottom-right, bottom-left) by bilinear blending: straight rows and columns whose pitch changes
// across the picture, as a module seen at an angle roughly is.
struct TestLattice {
    int columns;
    int rows;
    std::array<PicturePoint, 4> corners;

    PicturePoint at(int i, int j) const {
        const double u = double(i) / (columns - 1);
        const double v = double(j) / (rows - 1);
        return (1 - u) * (1 - v) * corners[0] + u * (1 - v) * corners[1] + u * v * corners[2] +
               (1 - u) * v * corners[3];
    }
    // The points row by row, so that point j x columns + i is cell (i, j).
    std::vector<PicturePoint> points() const {
        std::vector<PicturePoint> points;
        for (int k = 0; k < columns * rows; ++k) {
            points.push_back(at(k % columns, k / columns));
        }
        return points;
    }
    // An upright lattice with its top-left LED at `origin` and the given pitch.
    static TestLattice upright(int columns, int rows, PicturePoint origin, double pitch) {
        const PicturePoint w{pitch * (columns - 1), 0};
        const PicturePoint h{0, pitch * (rows - 1)};
        return {columns, rows, {origin, origin + w, origin + w + h, origin + h}};
    }
};

double distance(PicturePoint a, PicturePoint b) {
    return (a - b).length();
}

// x' = (2x + 0.1y + 5) / w, y' = (0.2x + 1.5y + 7) / w, w = 0.001x + 0.002y + 1.
PicturePoint perspective(PicturePoint p) {
    const double w = 0.001 * p.x + 0.002 * p.y + 1;
    return {(2 * p.x + 0.1 * p.y + 5) / w, (0.2 * p.x + 1.5 * p.y + 7) / w};
}

// A plane holding `value` inside the given rectangles (the later over the earlier), 0 elsewhere.
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

// A module of lattice.columns x lattice.rows LEDs in a room: the dark picture (a room of soft
// blobs), and the same with LEDs drawn at `levels` (one per lattice cell, row-major).
struct DrawnModule {
    TestLattice lattice = TestLattice::upright(8, 6, {30, 25}, 14);
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
        for (int k = 0; k < lattice.columns * lattice.rows; ++k) {
            p.addSpot(lattice.at(k % lattice.columns, k / lattice.columns), amplitude * levels[k],
                      sigma);
        }
        if (noise > 0) {
            p.addNoise(noise, noiseSeed);
        }
        return p;
    }
    // Every LED at `level` but those at `others` (lattice cells) at `otherLevel`.
    std::vector<double> levels(double level, const QList<QPoint>& others = {},
                               double otherLevel = 0) const {
        std::vector<double> l(size_t(lattice.columns) * lattice.rows, level);
        for (const QPoint c : others) {
            l[size_t(c.y()) * lattice.columns + c.x()] = otherLevel;
        }
        return l;
    }
    Calibration calibrate(const QList<QPoint>& dead = {}, QSize leds = QSize(8, 6),
                          ModuleOrientation orientation = {}) const {
        return Calibrator::calibrate(with(levels(0), 1).grey(), with(levels(1, dead), 2).grey(),
                                     leds.width(), leds.height(), orientation);
    }
};

// The 8 x 6 module upright (pitch 14), lying on its side, and a 20 x 10 one of pitch 8 in a
// 200 x 120 picture, two of whose LEDs may be dead.
const DrawnModule kUpright{};
const DrawnModule kLyingDown{TestLattice::upright(6, 8, {40, 10}, 14)};
const DrawnModule kOf200{TestLattice::upright(20, 10, {22, 22}, 8), 200, 120, 100, 1.2};

QList<QPoint> pointsOf(const std::vector<LatticeCell>& cells) {
    QList<QPoint> points;
    for (const LatticeCell c : cells) {
        points.append(QPoint(c.column, c.row));
    }
    return points;
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
        // Two 3 x 3 squares of 50 joined by a bridge of 20 along row 4, the left square's right
        // column 100: at level 30 its columns weigh 21, 21 and 71 a pixel (value - level + 1),
        // x = (2 * 21 + 3 * 21 + 4 * 71) / 113.
        const FloatPlane plane = planeWith(
            20, 10, {QRect(5, 4, 7, 1), QRect(2, 3, 3, 3), QRect(12, 3, 3, 3), QRect(4, 3, 1, 3)},
            {20, 50, 50, 100});
        ConnectedComponents apart(plane);
        const Component left = apart.grow(3, 4, 30, 1);
        const Component right = apart.grow(13, 4, 30, 2);
        QCOMPARE(left.area, 9);
        QCOMPARE(right.area, 9);
        QCOMPARE(right.mergedInto, 0);
        QVERIFY(distance(left.centroid, {389.0 / 113, 4}) < 1e-9);
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

    void spotsFoundOncePerLedAtTheirCentres_data() {
        QTest::addColumn<double>("pitch");
        QTest::addColumn<double>("sigma");     // 4: a flat top, a disc of small spots
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
        for (int k = 0; k < 60; ++k) {
            const double height = (k % 10 + k / 10) % 2 ? 120 * dimShare : 120;
            const PicturePoint p = lattice.at(k % 10, k / 10);
            if (sigma < 3) {
                lit.addSpot(p, height, sigma);
                continue;
            }
            for (int d = 0; d < 49; ++d) {  // a flat top: small spots filling a disc
                const PicturePoint off{double(d % 7 - 3), double(d / 7 - 3)};
                if (off.length() <= 3) {
                    lit.addSpot(p + off, height / 8, 1);
                }
            }
        }
        dark.addNoise(noise, 1);
        lit.addNoise(noise, 2);
        const std::vector<Spot> spots =
            SpotFinder().find(FloatPlane::difference(lit.grey(), dark.grey()));
        QCOMPARE(int(spots.size()), 60);
        for (const PicturePoint& p : lattice.points()) {
            double nearest = 1e9;
            for (const Spot& s : spots) {
                nearest = std::min(nearest, distance(s.centre, p));
            }
            // A dim LED between bright ones twice as bright at the smallest pitch leans towards
            // them by up to about two thirds of a pixel.
            QVERIFY2(nearest < 0.75, qPrintable(QString::number(nearest)));
        }
    }

    // In a room of soft blobs under sensor noise: a faint light one pitch beyond the LEDs is no
    // spot, seven pitches away it is one.
    void faintLightBesideTheLedsIsNoSpotButFarAwayItIs() {
        TestPicture dark(160, 80, 40);
        dark.addTexture(3, 60);
        TestPicture lit = dark;
        for (const PicturePoint& p : TestLattice::upright(6, 4, {20, 20}, 10).points()) {
            lit.addSpot(p, 100, 1.2);
        }
        lit.addSpot({80, 30}, 25, 1.2);
        lit.addSpot({140, 40}, 25, 1.2);
        dark.addNoise(3, 1);
        lit.addNoise(3, 2);
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

    void homographyMapsFourPointsAndBack() {
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
        // Three points on a line.
        const std::array<PicturePoint, 4> flat{{{0, 0}, {1, 1}, {2, 2}, {0, 5}}};
        QVERIFY(!Homography::fromFourPoints(square, flat));
        QVERIFY(!Homography::fromFourPoints(flat, square));
    }

    void homographyFitRecoversAPerspectiveFromManyPoints() {
        std::vector<PicturePoint> from;
        std::vector<PicturePoint> to;
        for (int k = 0; k < 35; ++k) {
            from.push_back({30.0 * (k % 7), 40.0 * (k / 7)});
            to.push_back(perspective(from.back()));
        }
        const std::optional<Homography> h = Homography::fit(from, to);
        QVERIFY(h);
        for (const PicturePoint p : {PicturePoint{15, 25}, PicturePoint{170, 150}}) {
            QVERIFY(distance(h->map(p), perspective(p)) < 1e-6);
        }
        QVERIFY(!Homography::fit({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}},
                                 {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
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
        const double a = turn * 3.14159265358979 / 180;
        std::vector<PicturePoint> points;
        for (const PicturePoint& p : lattice.points()) {
            const PicturePoint d = p - PicturePoint{82, 64};
            points.push_back(PicturePoint{82, 64} +
                             PicturePoint{d.x * std::cos(a) - d.y * std::sin(a),
                                          d.x * std::sin(a) + d.y * std::cos(a)});
        }
        points.push_back({400, 400});  // a stray light far away
        if (missing >= 0) {
            points[missing] = {400, 10};
        }
        const IndexedLattice l = LatticeIndexer::index(points, 12);
        QCOMPARE(QPoint(l.columns, l.rows), QPoint(8, 5));
        QCOMPARE(l.conflicts, 0);
        QCOMPARE(l.indexed, missing >= 0 ? 39 : 40);
        for (int k = 0; k < 40; ++k) {
            QCOMPARE(l.at(k % 8, k / 8), k == missing ? -1 : k);
        }
    }

    // A perspective view of a 10 x 6 lattice of cells 10 apart through a lens that pulls the
    // corners in, r' = r (1 - 2e-6 r^2) about (110, 75), fits one smooth grid; an LED half a
    // pitch off it is the worst; places not seen (given far off) are placed on the grid.
    void latticeFitChecksAndPlacesOnTheSmoothGrid_data() {
        QTest::addColumn<QList<int>>("unseen");  // j x 10 + i
        QTest::addColumn<int>("off");            // the LED moved, -1 for none
        QTest::newRow("all seen") << QList<int>{} << -1;
        QTest::newRow("one off the grid") << QList<int>{} << 23;
        QTest::newRow("one not seen inside") << QList<int>{23} << -1;
        QTest::newRow("one not seen on an edge") << QList<int>{5} << -1;
        QTest::newRow("two corners not seen") << QList<int>{0, 59} << -1;
    }

    void latticeFitChecksAndPlacesOnTheSmoothGrid() {
        QFETCH(QList<int>, unseen);
        QFETCH(int, off);
        std::vector<PicturePoint> truth;
        for (int k = 0; k < 60; ++k) {
            const PicturePoint d =
                perspective({10.0 * (k % 10), 10.0 * (k / 10)}) - PicturePoint{110, 75};
            truth.push_back(PicturePoint{110, 75} + (1 - 2e-6 * (d.x * d.x + d.y * d.y)) * d);
        }
        std::vector<PicturePoint> given = truth;
        std::vector<bool> seen(60, true);
        for (int k : unseen) {
            given[k] = {0, 0};
            seen[k] = false;
        }
        if (off >= 0) {
            given[off].x += 10;  // half a pitch along its row
        }
        const std::optional<LatticeFitResult> fit = LatticeFit::check(given, 10, 6, seen);
        QVERIFY(fit);
        QCOMPARE(int(fit->fitted.size()), 60);
        if (off >= 0) {
            QCOMPARE(fit->worstAt, off);
            QVERIFY(fit->worstInPitches > 0.3);
            return;
        }
        QVERIFY2(fit->worstInPitches < 0.01, qPrintable(QString::number(fit->worstInPitches)));
        for (int k : unseen) {
            QVERIFY2(distance(fit->fitted[k], truth[k]) < 0.05,
                     qPrintable(QString::number(distance(fit->fitted[k], truth[k]))));
        }
        QVERIFY(!LatticeFit::check(std::vector<PicturePoint>(9), 3, 3));
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
        for (int k = 0; k < 12; ++k) {
            const LatticeCell back = o.moduleCell(o.pictureCell({k % 4, k / 4}, 4, 3), 4, 3);
            QCOMPARE(QPoint(back.column, back.row), QPoint(k % 4, k / 4));
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
        TestPicture dark = room ? kUpright.dark() : TestPicture(160, 120, 30);
        TestPicture lit = dark;
        TestPicture now = dark.moved(shiftX, shiftY, gain);
        dark.addNoise(1.5, 1);
        lit.addNoise(1.5, 2);
        now.addNoise(1.5, 3);
        const std::vector<PicturePoint> leds = kUpright.lattice.points();
        const MotionCheck check(dark.grey(), lit.grey(), leds, 14, 14);
        const MotionResult r = check.check(now.grey(), std::vector<float>(leds.size(), 0));
        QCOMPARE(r.motion, expected);
        QVERIFY(expected != Motion::Still || std::abs(r.gain - gain) < 0.05);
    }

    void calibrationRefusesWithItsReason_data() {
        QTest::addColumn<DrawnModule>("module");
        QTest::addColumn<QList<QPoint>>("dead");  // lattice cells dark in the lit picture
        QTest::addColumn<int>("change");          // 1 a light beside, 2 overexposed, 3 nothing lit
        QTest::addColumn<CalibrationRefusal>("refusal");
        QTest::addColumn<int>("found");
        DrawnModule offTheEdge;
        offTheEdge.lattice = TestLattice::upright(8, 6, {-12, 25}, 14);
        // Rolled 40 degrees with its top-left LED 5 px beyond the picture's left border and
        // both its neighbours inside.
        DrawnModule cornerOut;
        cornerOut.lattice = {8, 6, {{{-5, 70}, {70, 7}, {115, 60.6}, {40, 123.6}}}};
        cornerOut.height = 140;
        DrawnModule tiny{TestLattice::upright(8, 6, {50, 40}, 4)};
        tiny.sigma = 1;
        using R = CalibrationRefusal;
        const QList<QPoint> none;
        QTest::newRow("all there") << kUpright << none << 0 << R::None << 48;
        QTest::newRow("lying on its side") << kLyingDown << none << 0 << R::QuarterTurned << 48;
        QTest::newRow("lying on its side, an LED dead")
            << kLyingDown << QList<QPoint>{{2, 3}} << 0 << R::QuarterTurned << 47;
        QTest::newRow("two of 48 LEDs dead, apart")
            << kUpright << QList<QPoint>{{2, 1}, {5, 4}} << 0 << R::TooFew << 46;
        QTest::newRow("three of 200 LEDs dead, apart")
            << kOf200 << QList<QPoint>{{2, 1}, {10, 5}, {17, 8}} << 0 << R::TooFew << 197;
        QTest::newRow("two of 200 LEDs dead, side by side")
            << kOf200 << QList<QPoint>{{9, 4}, {9, 5}} << 0 << R::TooFew << 198;
        QTest::newRow("the corner LED outside the picture")
            << cornerOut << QList<QPoint>{{0, 0}} << 0 << R::PartlyOutside << 47;
        QTest::newRow("a light beside it") << kUpright << none << 1 << R::TooMany << 49;
        QTest::newRow("off the left edge") << offTheEdge << none << 0 << R::PartlyOutside << 42;
        QTest::newRow("4 px apart") << tiny << none << 0 << R::TooSmall << -1;
        QTest::newRow("overexposed") << kUpright << none << 2 << R::Overexposed << -1;
        QTest::newRow("nothing lit") << kUpright << none << 3 << R::NoDifference << -1;
        QTest::newRow("pictures of different sizes")
            << kUpright << none << 4 << R::PicturesDiffer << -1;
    }

    void calibrationRefusesWithItsReason() {
        QFETCH(DrawnModule, module);
        QFETCH(QList<QPoint>, dead);
        QFETCH(int, change);
        QFETCH(CalibrationRefusal, refusal);
        QFETCH(int, found);
        const QSize leds = module.lattice.columns == 20 ? QSize(20, 10) : QSize(8, 6);
        TestPicture lit = module.with(module.levels(change == 3 ? 0 : 1, dead));
        if (change == 1) {
            lit.addSpot(module.lattice.at(7, 2) + PicturePoint{14, 0}, module.amplitude,
                        module.sigma);
        } else if (change == 2) {
            DrawnModule bright = module;
            bright.amplitude = 400;
            lit = bright.with(bright.levels(1));
        } else if (change == 4) {
            lit = TestPicture(120, 80);
        }
        const Calibration c =
            Calibrator::calibrate(module.dark().grey(), lit.grey(), leds.width(), leds.height());
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
        QTest::addColumn<QList<QPoint>>("dead");     // picture lattice cells
        QTest::addColumn<QList<QPoint>>("missing");  // the same as module cells
        QTest::newRow("inside") << kUpright << QList<QPoint>{{4, 2}} << QList<QPoint>{{4, 2}};
        QTest::newRow("on the top edge")
            << kUpright << QList<QPoint>{{3, 0}} << QList<QPoint>{{3, 0}};
        QTest::newRow("at the bottom-right corner")
            << kUpright << QList<QPoint>{{7, 5}} << QList<QPoint>{{7, 5}};
        QTest::newRow("two of 200, apart")
            << kOf200 << QList<QPoint>{{3, 2}, {15, 7}} << QList<QPoint>{{3, 2}, {15, 7}};
        // The module lies turned a quarter counter-clockwise: its row 1 runs up the picture's
        // left side, so picture cell (1, 2) is the module's row 2 (index 1), column 6 (index 5).
        QTest::newRow("turned a quarter")
            << kLyingDown << QList<QPoint>{{1, 2}} << QList<QPoint>{{5, 1}};
    }

    void deadLedsPlacedAmongTheirNeighbours() {
        QFETCH(DrawnModule, module);
        QFETCH(QList<QPoint>, dead);
        QFETCH(QList<QPoint>, missing);
        module.noise = 2;
        const TestLattice& l = module.lattice;
        const bool turned = l.columns < l.rows;
        const Calibration c =
            module.calibrate(dead, turned ? QSize(l.rows, l.columns) : QSize(l.columns, l.rows),
                             ModuleOrientation(turned ? 90 : 0, false));
        QCOMPARE(c.refusal, CalibrationRefusal::None);
        QCOMPARE(c.found, l.columns * l.rows - int(dead.size()));
        QCOMPARE(pointsOf(c.missing), missing);
        const LedGrid& grid = *c.grid;
        QCOMPARE(pointsOf(grid.missingLeds()), missing);
        QVERIFY(std::abs(grid.typicalPitch() - distance(l.at(0, 0), l.at(1, 0))) < 0.1);
        // Where the LED read was drawn.
        const auto readAt = [&](const LedReading& r) {
            return grid.led(r.led.row, r.led.column).centre;
        };
        for (int k = 0; k < dead.size(); ++k) {
            const QPoint d = dead[k];
            const QPoint m = missing[k];
            QVERIFY(distance(grid.led(m.y(), m.x()).centre, l.at(d.x(), d.y())) < 0.1);
            // Its step: nothing lights.
            const LedReading atItsStep =
                LedReader::read(grid, module.with(module.levels(0), 3).grey());
            QCOMPARE(atItsStep.doubt, Doubt::NoneLit);
            QVERIFY(std::abs(atItsStep.scores[grid.ledIndex(m.y(), m.x())]) < 0.1);
            // Its neighbour along the row lights.
            const QPoint beside = d + QPoint(d.x() + 1 < l.columns ? 1 : -1, 0);
            const LedReading besideIt =
                LedReader::read(grid, module.with(module.levels(0, {beside}, 1), 4).grey());
            QVERIFY(besideIt.isCertain());
            QVERIFY(distance(readAt(besideIt), l.at(beside.x(), beside.y())) < 0.5);
            // It lights after all, as bright as its neighbours.
            const LedReading itself =
                LedReader::read(grid, module.with(module.levels(0, {d}, 1), 5).grey());
            QVERIFY(itself.isCertain());
            QCOMPARE(QPoint(itself.led.column, itself.led.row), m);
            QVERIFY(std::abs(itself.led.score - 1) < 0.15);
        }
    }

    // The lit threshold is 0.5 and the unlit one 0.25: a reading is certain only with one LED at
    // 0.5 or more, every other at 0.25 or less, and nothing else amiss in the picture.
    void readingCertainOnlyForOneClearLed_data() {
        QTest::addColumn<double>("first");   // LED (2, 1)'s level
        QTest::addColumn<double>("second");  // LED (6, 4)'s level
        QTest::addColumn<int>("change");     // 1..6 as the rows below name them
        QTest::addColumn<Doubt>("doubt");
        QTest::newRow("one lit") << 1.0 << 0.0 << 0 << Doubt::None;
        QTest::newRow("one just over half lit") << 0.53 << 0.0 << 0 << Doubt::None;
        QTest::newRow("one just under half lit") << 0.47 << 0.0 << 0 << Doubt::Unclear;
        QTest::newRow("another just under a quarter") << 1.0 << 0.22 << 0 << Doubt::None;
        QTest::newRow("another just over a quarter") << 1.0 << 0.28 << 0 << Doubt::Unclear;
        QTest::newRow("two just over half") << 0.55 << 0.55 << 0 << Doubt::SeveralLit;
        QTest::newRow("one at a fifth") << 0.2 << 0.0 << 0 << Doubt::NoneLit;
        QTest::newRow("a reflection between LEDs") << 1.0 << 0.0 << 1 << Doubt::LightOffLeds;
        QTest::newRow("a reflection beside the module") << 1.0 << 0.0 << 2 << Doubt::LightOffLeds;
        QTest::newRow("exposure 40 % up") << 1.0 << 0.0 << 3 << Doubt::Overexposed;
        QTest::newRow("the LED clipped at 255") << 1.0 << 0.0 << 4 << Doubt::Overexposed;
        QTest::newRow("camera moved one pitch") << 1.0 << 0.0 << 5 << Doubt::Moved;
        QTest::newRow("a picture of another size") << 1.0 << 0.0 << 6 << Doubt::WrongPicture;
    }

    void readingCertainOnlyForOneClearLed() {
        QFETCH(double, first);
        QFETCH(double, second);
        QFETCH(int, change);
        QFETCH(Doubt, doubt);
        const DrawnModule& m = kUpright;
        std::vector<double> levels = m.levels(0, {{2, 1}}, first);
        levels[4 * 8 + 6] = second;
        TestPicture now = m.with(levels);
        if (change == 1) {
            now.addSpot(m.lattice.at(5, 4) + PicturePoint{7, 7}, 130, 10);
        } else if (change == 2) {
            now.addSpot(m.lattice.at(7, 3) + PicturePoint{14, 0}, 130, 5);
        } else if (change == 3) {
            now = now.moved(0, 0, 1.4);
        } else if (change == 4) {
            now.addSpot(m.lattice.at(2, 1), 300, m.sigma);
        } else if (change == 5) {
            now = now.moved(14, 0);
        } else if (change == 6) {
            now = TestPicture(100, 100);
        }
        const LedReading r = LedReader::read(*m.calibrate().grid, now.grey());
        QCOMPARE(r.doubt, doubt);
        if (change > 0) {
            return;
        }
        QCOMPARE(r.motion.motion, Motion::Still);
        if (first > second) {
            QCOMPARE(QPoint(r.candidates[0].column, r.candidates[0].row), QPoint(2, 1));
        }
        QVERIFY(std::abs(r.scores[1 * 8 + 2] - first) < 0.02);
        if (doubt == Doubt::None) {
            QCOMPARE(QPoint(r.led.column, r.led.row), QPoint(2, 1));
        }
    }

    void polarityJudgedOnOnePicture_data() {
        QTest::addColumn<DrawnModule>("module");
        QTest::addColumn<int>("lit");  // 0 none, 1 all, 2 the top half
        QTest::addColumn<ModuleLight>("light");
        QTest::newRow("dark") << kUpright << 0 << ModuleLight::Dark;
        QTest::newRow("lit") << kUpright << 1 << ModuleLight::Lit;
        QTest::newRow("lit, on its side") << kLyingDown << 1 << ModuleLight::Lit;
        QTest::newRow("half lit") << kUpright << 2 << ModuleLight::Unsure;
    }

    void polarityJudgedOnOnePicture() {
        QFETCH(DrawnModule, module);
        QFETCH(int, lit);
        QFETCH(ModuleLight, light);
        DrawnModule& m = module;
        m.noise = 2;
        std::vector<double> levels = m.levels(lit == 1 ? 1 : 0);
        if (lit == 2) {
            std::fill(levels.begin(), levels.begin() + 24, 1);
        }
        const TestPicture drawn = m.with(levels, 5);
        const PolarityReading alone = PolarityJudge::judge(drawn.grey(), 8, 6);
        QCOMPARE(alone.light, light);
        // Half lit, the room's bright spots beside the lit LEDs may count among them.
        QVERIFY(lit == 2 ? alone.litShare > 0.3 && alone.litShare < 0.9
                         : std::abs(alone.litShare - lit) < 0.05);
        if (m.lattice.columns == 8) {
            QCOMPARE(PolarityJudge::judge(*m.calibrate().grid, drawn.grey()).light, light);
        }
    }
};

QTEST_MAIN(VisionTest)
#include "tst_vision.moc"
