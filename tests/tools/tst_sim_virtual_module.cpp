#include <QtTest>

#include "VirtualModule.h"

using namespace Qt::StringLiterals;

// The virtual module and its wirings, checked against families and a test picture defined
// here on their own.

namespace {

// The LED that chain bit b of address a lights, per family, on a W x H scan S module.
QPoint familyLed(const QString& family, int w, int h, int s, int a, int b) {
    const int group = b / 8;
    if (family == "straight"_L1 || family == "reversed"_L1) {
        return {b % w, (family == "straight"_L1 ? a : s - 1 - a) + b / w * s};
    }
    if (family == "stripe"_L1) {
        return {8 * (group / (h / s)) + b % 8, a + group % (h / s) * s};
    }
    return {w - 8 * (group % (w / 8) + 1) + b % 8, a + group / (w / 8) * s};  // from-right
}

// A frame on the top and left edges, the diagonal, and an arrow pointing right along row H/2;
// or every LED.
QSet<QPoint> picture(int w, int h, bool every = false) {
    QSet<QPoint> leds;
    for (int x = 0; x < w; ++x) {
        for (int y = 0, tip = w - 1 - x; y < h; ++y) {
            if (every || x == 0 || y == 0 || x == y || (y == h / 2 && x >= w / 2) ||
                (std::abs(y - h / 2) == tip && tip <= h / 4)) {
                leds.insert({x, y});
            }
        }
    }
    return leds;
}

// The map a user makes by clicking the lit LED at every row and column step.
QByteArray mapFor(const QString& family, int w, int h, int s, int oeByte = 1, int display = 0) {
    const int groups = w * h / s / 8;
    QByteArray image(2048, '\0');
    const QList<int> header = {w, h, 0, s, 0, oeByte, display, 8 * groups};
    for (int n = 0; n < header.size(); ++n) {
        image[2 * n] = static_cast<char>(header[n] % 256);
        image[2 * n + 1] = static_cast<char>(header[n] / 256);
    }
    for (int i = 0; i < s + groups; ++i) {
        const bool row = i < s;
        const QPoint led = familyLed(family, w, h, s, row ? i : 0, row ? 0 : 8 * (i - s));
        const int at = row ? 16 + 2 * i : 48 + 2 * (groups - 1 - (i - s));
        image[at] = static_cast<char>(led.y());
        image[at + 1] = static_cast<char>(row ? led.x() : led.x() / 8);
    }
    return image;
}

VirtualModule moduleWith(const QString& wiring, int w, int h, int s, ModuleTruth truth = {}) {
    truth.wiring = *Wiring::fromName(wiring);
    VirtualModule module(truth);
    module.cellTest(w, h, s);
    return module;
}

void addSizes(const QStringList& families) {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QList<int>>("size");
    for (const QString& family : families) {
        for (const QList<int>& size :
             {QList{64, 32, 16}, {64, 32, 8}, {32, 16, 4}, {128, 32, 16}}) {
            QTest::addRow("%s %dx%d scan %d", qPrintable(family), size[0], size[1], size[2])
                << family << size;
        }
    }
}

}  // namespace

class VirtualModuleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyFamilyMapsChainBitsOneToOneOntoTheModule_data();
    void everyFamilyMapsChainBitsOneToOneOntoTheModule();
    void modulesAMapCannotDescribeAreRefusedWithTheReason_data();
    void modulesAMapCannotDescribeAreRefusedWithTheReason();
    void stepsLightTheLedToClickThroughTheLevels_data();
    void stepsLightTheLedToClickThroughTheLevels();
    void matchingMapShowsThePictureExactlyThroughItsLevels_data();
    void matchingMapShowsThePictureExactlyThroughItsLevels();
    void mapsOffTheWiringPutLedsOutOfPlace();
};

void VirtualModuleTest::everyFamilyMapsChainBitsOneToOneOntoTheModule_data() {
    addSizes({u"straight"_s, u"stripe"_s, u"reversed"_s, u"from-right"_s, u"random:7"_s});
}

// Every family: bit j of a group is its j-th LED from the left, and each address places its
// groups as address 0 does, shifted by whole rows. A random wiring follows its seed.
void VirtualModuleTest::everyFamilyMapsChainBitsOneToOneOntoTheModule() {
    QFETCH(QString, family);
    QFETCH(QList<int>, size);
    const auto [w, h, s] = std::tuple{size[0], size[1], size[2]};
    const Wiring wiring = *Wiring::fromName(family);
    const auto led = [&wiring, w = w, h = h, s = s](int a, int b) {
        return wiring.ledOf({w, h, s}, a, b);
    };
    QSet<QPoint> leds;
    int moved = 0;
    for (int i = 0; i < w * h; ++i) {
        const int a = i / (w * h / s);
        const int b = i % (w * h / s);
        QVERIFY(family.startsWith("random"_L1) || led(a, b) == familyLed(family, w, h, s, a, b));
        QCOMPARE(led(a, b), led(0, b) + QPoint(0, led(a, 0).y() - led(0, 0).y()));
        QCOMPARE(led(a, b).x() % 8, b % 8);
        QVERIFY(QRect(0, 0, w, h).contains(led(a, b)));
        moved += Wiring::fromName(u"random:8"_s)->ledOf({w, h, s}, a, b) != led(a, b) ? 1 : 0;
        leds.insert(led(a, b));
    }
    QCOMPARE(leds.size(), w * h);
    QVERIFY(!family.startsWith("random"_L1) || moved > w * h / 2);
}

void VirtualModuleTest::modulesAMapCannotDescribeAreRefusedWithTheReason_data() {
    QTest::addColumn<QList<int>>("size");
    QTest::addColumn<QString>("reason");
    QTest::newRow("128x64 scan 32") << QList{128, 64, 32} << u"scan count 32 is above 16"_s;
    QTest::newRow("64x32 scan 1")
        << QList{64, 32, 1} << u"a chain of 256 groups of 8 is more than the 128 a map holds"_s;
    QTest::newRow("width 60") << QList{60, 32, 16} << u"width 60 is not a multiple of 8"_s;
    QTest::newRow("height 30") << QList{64, 30, 16}
                               << u"height 30 is not a multiple of scan count 16"_s;
    QTest::newRow("scan 0") << QList{64, 32, 0}
                            << u"width, height and scan count must be above 0"_s;
    QTest::newRow("128 groups fit") << QList{64, 16, 1} << QString();
}

void VirtualModuleTest::modulesAMapCannotDescribeAreRefusedWithTheReason() {
    QFETCH(QList<int>, size);
    QFETCH(QString, reason);
    const ModuleSnapshot shown = moduleWith(u"straight"_s, size[0], size[1], size[2]).snapshot();
    QCOMPARE(shown.size, QSize(size[0], size[1]));
    QCOMPARE(shown.state.contains("cannot describe this module: "_L1 + reason), !reason.isEmpty());
    QCOMPARE(shown.litLeds().size(), reason.isEmpty() ? size[0] * size[1] : 0);
}

void VirtualModuleTest::stepsLightTheLedToClickThroughTheLevels_data() {
    // On 16x4 scan 2 wired straight, lit in OE state 2 and display state 1 unless "truth:OD"
    // says otherwise; "-" before the LEDs: every LED but these.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("lit");
    QTest::newRow("levels never sent count as right") << u"hang:1"_s << u"0,1"_s;
    QTest::newRow("OE wrong: dark") << u"oe:1 hang:1"_s << QString();
    QTest::newRow("display wrong: inverted") << u"oe:2 dis:2 hang:1"_s << u"-0,1"_s;
    QTest::newRow("both wrong: dark") << u"oe:1 dis:2 hang:1"_s << QString();
    QTest::newRow("lit in 1, 2: right") << u"truth:12 oe:1 dis:2 hang:1"_s << u"0,1"_s;
    QTest::newRow("lit in 1, 2: OE wrong") << u"truth:12 oe:2 dis:2 hang:1"_s << QString();
    QTest::newRow("polarity step: every LED") << u"hang:0 dis:1"_s << u"-"_s;
    QTest::newRow("row 2: past the last address") << u"hang:2"_s << QString();
    QTest::newRow("column 8") << u"lie:8"_s << u"8,0"_s;
    QTest::newRow("column 8 striped") << u"wiring:stripe lie:8"_s << u"0,2"_s;
    QTest::newRow("column 32: past the chain") << u"lie:32"_s << QString();
}

void VirtualModuleTest::stepsLightTheLedToClickThroughTheLevels() {
    QFETCH(QString, steps);
    QFETCH(QString, lit);
    ModuleTruth truth;
    VirtualModule module = moduleWith(u"straight"_s, 16, 4, 2);
    const auto level = [](QChar state) { return state == u'1' ? Level::One : Level::Two; };
    for (const QString& step : steps.split(u' ')) {
        const QString value = step.section(u':', 1);
        if (step.startsWith("truth"_L1)) {
            truth.oeLit = level(value[0]);
            truth.displayLit = level(value[1]);
        }
        if (step.startsWith("truth"_L1) || step.startsWith("wiring"_L1)) {
            module =
                moduleWith(step.startsWith("wiring"_L1) ? value : u"straight"_s, 16, 4, 2, truth);
        }
        if (step.startsWith("oe"_L1)) {
            module.oeTest(level(value[0]));
        } else if (step.startsWith("dis"_L1)) {
            module.disTest(level(value[0]));
        } else if (step.startsWith("hang"_L1)) {
            module.hangTest(value.toInt());
        } else if (step.startsWith("lie"_L1)) {
            module.lieTest(value.toInt());
        }
    }
    QSet<QPoint> content;
    if (lit.contains(u',')) {
        content.insert(
            {lit.section(u',', 0, 0).remove(u'-').toInt(), lit.section(u',', 1).toInt()});
    }
    QCOMPARE(module.snapshot().litLeds(),
             lit.startsWith(u'-') ? picture(16, 4, true) - content : content);
}

void VirtualModuleTest::matchingMapShowsThePictureExactlyThroughItsLevels_data() {
    addSizes({u"straight"_s, u"stripe"_s, u"reversed"_s, u"from-right"_s});
}

void VirtualModuleTest::matchingMapShowsThePictureExactlyThroughItsLevels() {
    QFETCH(QString, family);
    QFETCH(QList<int>, size);
    const auto [w, h, s] = std::tuple{size[0], size[1], size[2]};
    // OE byte 1 and display 0 are the states the module lights in.
    for (const auto& [oeByte, display, shown] : {std::tuple{1, 0, picture(w, h)},
                                                 {0, 0, QSet<QPoint>()},
                                                 {1, 255, picture(w, h, true) - picture(w, h)}}) {
        VirtualModule module = moduleWith(family, w, h, s);
        module.showMap(mapFor(family, w, h, s, oeByte, display));
        QCOMPARE(module.snapshot().litLeds(), shown);
        QCOMPARE(module.snapshot().outOfPlace, 0);
    }
}

// On 64x32 scan 16 wired straight (address a: rows a and a+16, 8 groups each), one byte of the
// matching map changed (row entry 3 one column right; the 9th column pick, group 8 at columns
// 0-7 of rows 16-31, one row down; no column entries): which pixel LED (x, y) shows then,
// (-1, -1) for none.
void VirtualModuleTest::mapsOffTheWiringPutLedsOutOfPlace() {
    using Shows = std::function<QPoint(int, int)>;
    const std::tuple<int, int, Shows> changes[] = {
        {16 + 7, 1, [](int x, int y) { return QPoint(y % 16 == 3 ? x + 1 : x, y); }},
        {62, 17, [](int x, int y) { return QPoint(x, x < 8 && y >= 16 ? y + 1 : y); }},
        {14, 0, [](int, int) { return QPoint(-1, -1); }}};
    for (const auto& [at, value, shows] : changes) {
        QByteArray map = mapFor(u"straight"_s, 64, 32, 16);
        map[at] = static_cast<char>(value);
        VirtualModule module = moduleWith(u"straight"_s, 64, 32, 16);
        module.showMap(map);
        QSet<QPoint> lit;
        int outOfPlace = 0;
        for (const QPoint led : picture(64, 32, true)) {
            outOfPlace += shows(led.x(), led.y()) != led ? 1 : 0;
            lit += picture(64, 32).contains(shows(led.x(), led.y())) ? QSet{led} : QSet<QPoint>();
        }
        QCOMPARE(module.snapshot().litLeds(), lit);
        QCOMPARE(module.snapshot().outOfPlace, outOfPlace);
        QVERIFY(module.snapshot().state.contains(u"| %1 LEDs out of place"_s.arg(outOfPlace)));
    }
    VirtualModule module = moduleWith(u"straight"_s, 64, 32, 16);
    module.showMap(mapFor(u"straight"_s, 32, 16, 4));
    QVERIFY(module.snapshot().state.contains("a map made for 32x16 scan 4"_L1));
}

QTEST_GUILESS_MAIN(VirtualModuleTest)
#include "tst_sim_virtual_module.moc"
