#include <QtTest>

#include "VirtualModule.h"

Q_DECLARE_METATYPE(ModuleTruth)

// The virtual module and its wirings, checked against families and a test picture defined
// here on their own.

namespace {

// The LED that chain bit b of address a lights, per family, on a W x H scan S module.
QPoint familyLed(const QString& family, int w, int h, int s, int a, int b) {
    const int group = b / 8;
    const int places = w / 8;
    if (family == QLatin1String("straight")) {
        return {b % w, a + b / w * s};
    }
    if (family == QLatin1String("stripe")) {
        const int rows = h / s;
        return {8 * (group / rows) + b % 8, a + group % rows * s};
    }
    if (family == QLatin1String("reversed")) {
        return {b % w, s - 1 - a + b / w * s};
    }
    return {w - 8 * (group % places + 1) + b % 8, a + group / places * s};  // from-right
}

bool pictureLit(int x, int y, int w, int h) {
    const int tip = w - 1 - x;
    return x == 0 || y == 0 || x == y || (y == h / 2 && x >= w / 2) ||
           (std::abs(y - h / 2) == tip && tip <= h / 4);
}

QSet<QPoint> ledsWhere(int w, int h, const std::function<bool(int, int)>& lit) {
    QSet<QPoint> leds;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (lit(x, y)) {
                leds.insert({x, y});
            }
        }
    }
    return leds;
}

void putWord(QByteArray& image, int at, int value) {
    image[at] = static_cast<char>(value % 256);
    image[at + 1] = static_cast<char>(value / 256);
}

// The map a user makes by clicking the lit LED at every row and column step.
QByteArray mapFor(const QString& family, int w, int h, int s, int oeByte = 1, int display = 0) {
    QByteArray image(2048, '\0');
    const int groups = w * h / s / 8;
    putWord(image, 0, w);
    putWord(image, 2, h);
    putWord(image, 6, s);
    image[10] = static_cast<char>(oeByte);
    putWord(image, 12, display);
    putWord(image, 14, 8 * groups);
    for (int a = 0; a < s; ++a) {
        const QPoint led = familyLed(family, w, h, s, a, 0);
        image[16 + 2 * a] = static_cast<char>(led.y());
        image[17 + 2 * a] = static_cast<char>(led.x());
    }
    for (int g = 0; g < groups; ++g) {
        const QPoint led = familyLed(family, w, h, s, 0, 8 * g);
        const int at = 48 + 2 * (groups - 1 - g);
        image[at] = static_cast<char>(led.y());
        image[at + 1] = static_cast<char>(led.x() / 8);
    }
    return image;
}

VirtualModule moduleWith(const QString& wiring, int w, int h, int s) {
    VirtualModule module({*Wiring::fromName(wiring)});
    module.cellTest(w, h, s);
    return module;
}

void addSizes(const QString& family) {
    const QList<QList<int>> sizes = {{64, 32, 16}, {64, 32, 8}, {32, 16, 4}, {128, 32, 16}};
    for (const QList<int>& size : sizes) {
        QTest::addRow("%s %dx%d scan %d", qPrintable(family), size[0], size[1], size[2])
            << family << size[0] << size[1] << size[2];
    }
}

void addSizeColumns() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("s");
}

}  // namespace

class VirtualModuleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void familiesLightTheLedOfTheirDefinition_data();
    void familiesLightTheLedOfTheirDefinition();
    void randomWiringShufflesRowsAndPlacesAlikeForEveryAddress_data();
    void randomWiringShufflesRowsAndPlacesAlikeForEveryAddress();
    void modulesAMapCannotDescribeAreRefusedWithTheReason_data();
    void modulesAMapCannotDescribeAreRefusedWithTheReason();
    void wrongLevelsDarkenOrInvertTheContent_data();
    void wrongLevelsDarkenOrInvertTheContent();
    void stepsLightTheLedToClickAndNothingPastTheEnd_data();
    void stepsLightTheLedToClickAndNothingPastTheEnd();
    void matchingMapShowsThePictureExactly_data();
    void matchingMapShowsThePictureExactly();
    void entryOneLedOffPutsItsLedsOutOfPlace_data();
    void entryOneLedOffPutsItsLedsOutOfPlace();
    void mapForAnotherModuleIsNamedInTheState();
};

void VirtualModuleTest::familiesLightTheLedOfTheirDefinition_data() {
    addSizeColumns();
    for (const char* family : {"straight", "stripe", "reversed", "from-right"}) {
        addSizes(QLatin1String(family));
    }
}

void VirtualModuleTest::familiesLightTheLedOfTheirDefinition() {
    QFETCH(QString, family);
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, s);
    const Wiring wiring = *Wiring::fromName(family);
    QSet<QPoint> leds;
    for (int a = 0; a < s; ++a) {
        for (int b = 0; b < w * h / s; ++b) {
            const QPoint led = wiring.ledOf({w, h, s}, a, b);
            QCOMPARE(led, familyLed(family, w, h, s, a, b));
            leds.insert(led);
        }
    }
    QCOMPARE(leds.size(), w * h);
}

void VirtualModuleTest::randomWiringShufflesRowsAndPlacesAlikeForEveryAddress_data() {
    addSizeColumns();
    addSizes(QStringLiteral("random:7"));
}

void VirtualModuleTest::randomWiringShufflesRowsAndPlacesAlikeForEveryAddress() {
    QFETCH(QString, family);
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, s);
    const Wiring wiring = *Wiring::fromName(family);
    const Wiring again = *Wiring::fromName(family);
    const Wiring other = *Wiring::fromName(QStringLiteral("random:8"));
    QSet<QPoint> leds;
    int differences = 0;
    for (int a = 0; a < s; ++a) {
        const int shift = wiring.ledOf({w, h, s}, a, 0).y() - wiring.ledOf({w, h, s}, 0, 0).y();
        for (int b = 0; b < w * h / s; ++b) {
            const QPoint led = wiring.ledOf({w, h, s}, a, b);
            const QPoint first = wiring.ledOf({w, h, s}, 0, b);
            QCOMPARE(led, first + QPoint(0, shift));
            QCOMPARE(led.x() % 8, b % 8);
            QVERIFY(QRect(0, 0, w, h).contains(led));
            QCOMPARE(again.ledOf({w, h, s}, a, b), led);
            differences += other.ledOf({w, h, s}, a, b) != led ? 1 : 0;
            leds.insert(led);
        }
    }
    QCOMPARE(leds.size(), w * h);
    QVERIFY(differences > w * h / 2);
}

void VirtualModuleTest::modulesAMapCannotDescribeAreRefusedWithTheReason_data() {
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("s");
    QTest::addColumn<QString>("reason");
    QTest::newRow("128x64 scan 32")
        << 128 << 64 << 32 << QStringLiteral("scan count 32 is above 16");
    QTest::newRow("64x32 scan 1")
        << 64 << 32 << 1
        << QStringLiteral("a chain of 256 groups of 8 is more than the 128 a map holds");
    QTest::newRow("width 60") << 60 << 32 << 16
                              << QStringLiteral("width 60 is not a multiple of 8");
    QTest::newRow("height 30") << 64 << 30 << 16
                               << QStringLiteral("height 30 is not a multiple of scan count 16");
    QTest::newRow("scan 0") << 64 << 32 << 0
                            << QStringLiteral("width, height and scan count must be above 0");
    QTest::newRow("128 groups fit") << 64 << 16 << 1 << QString();
}

void VirtualModuleTest::modulesAMapCannotDescribeAreRefusedWithTheReason() {
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, s);
    QFETCH(QString, reason);
    VirtualModule module = moduleWith(QStringLiteral("straight"), w, h, s);
    module.disTest(Level::Two);  // a wrong display level: a refused module must stay dark
    const ModuleSnapshot shown = module.snapshot();
    QCOMPARE(shown.size, QSize(w, h));
    if (reason.isEmpty()) {
        QVERIFY(!shown.state.contains(QLatin1String("cannot describe")));
        return;
    }
    QVERIFY2(shown.state.endsWith(QLatin1String("cannot describe this module: ") + reason),
             qPrintable(shown.state));
    QCOMPARE(shown.litLeds(), QSet<QPoint>());
}

void VirtualModuleTest::wrongLevelsDarkenOrInvertTheContent_data() {
    QTest::addColumn<ModuleTruth>("truth");
    QTest::addColumn<QList<int>>("levels");  // OE then display: 1, 2, or 0 for never sent
    QTest::addColumn<QString>("shows");
    const ModuleTruth usual;
    ModuleTruth turned = usual;
    turned.oeLit = Level::One;
    turned.displayLit = Level::Two;
    QTest::newRow("never sent") << usual << QList<int>{0, 0} << QStringLiteral("content");
    QTest::newRow("both right") << usual << QList<int>{2, 1} << QStringLiteral("content");
    QTest::newRow("OE wrong") << usual << QList<int>{1, 1} << QStringLiteral("dark");
    QTest::newRow("display wrong") << usual << QList<int>{2, 2} << QStringLiteral("inverted");
    QTest::newRow("display wrong, OE never sent")
        << usual << QList<int>{0, 2} << QStringLiteral("inverted");
    QTest::newRow("both wrong") << usual << QList<int>{1, 2} << QStringLiteral("dark");
    QTest::newRow("lit in 1 and 2, right")
        << turned << QList<int>{1, 2} << QStringLiteral("content");
    QTest::newRow("lit in 1 and 2, OE wrong")
        << turned << QList<int>{2, 2} << QStringLiteral("dark");
}

void VirtualModuleTest::wrongLevelsDarkenOrInvertTheContent() {
    QFETCH(ModuleTruth, truth);
    QFETCH(QList<int>, levels);
    QFETCH(QString, shows);
    VirtualModule module(truth);
    module.cellTest(16, 4, 2);
    if (levels[0] != 0) {
        module.oeTest(levels[0] == 1 ? Level::One : Level::Two);
    }
    if (levels[1] != 0) {
        module.disTest(levels[1] == 1 ? Level::One : Level::Two);
    }
    module.hangTest(1);
    const QSet<QPoint> all = ledsWhere(16, 4, [](int, int) { return true; });
    const QSet<QPoint> expected = shows == QLatin1String("content") ? QSet<QPoint>{{0, 1}}
                                  : shows == QLatin1String("dark")  ? QSet<QPoint>()
                                                                    : all - QSet<QPoint>{{0, 1}};
    QCOMPARE(module.snapshot().litLeds(), expected);
}

void VirtualModuleTest::stepsLightTheLedToClickAndNothingPastTheEnd_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("count");
    QTest::addColumn<QSet<QPoint>>("lit");
    const QString straight = QStringLiteral("straight");
    const QString hang = QStringLiteral("HangTest");
    const QString lie = QStringLiteral("LieTest");
    QTest::newRow("polarity steps: every LED") << straight << QStringLiteral("OeTest") << 0
                                               << ledsWhere(16, 4, [](int, int) { return true; });
    QTest::newRow("row 0") << straight << hang << 0 << QSet<QPoint>{{0, 0}};
    QTest::newRow("row 1") << straight << hang << 1 << QSet<QPoint>{{0, 1}};
    QTest::newRow("row 1 reversed")
        << QStringLiteral("reversed") << hang << 1 << QSet<QPoint>{{0, 0}};
    QTest::newRow("row 2: past the last address") << straight << hang << 2 << QSet<QPoint>();
    QTest::newRow("column 8") << straight << lie << 8 << QSet<QPoint>{{8, 0}};
    QTest::newRow("column 16") << straight << lie << 16 << QSet<QPoint>{{0, 2}};
    QTest::newRow("column 8 stripe")
        << QStringLiteral("stripe") << lie << 8 << QSet<QPoint>{{0, 2}};
    QTest::newRow("bit 3 from the right end")
        << QStringLiteral("from-right") << lie << 3 << QSet<QPoint>{{11, 0}};
    QTest::newRow("column 32: past the chain") << straight << lie << 32 << QSet<QPoint>();
}

void VirtualModuleTest::stepsLightTheLedToClickAndNothingPastTheEnd() {
    QFETCH(QString, family);
    QFETCH(QString, step);
    QFETCH(int, count);
    QFETCH(QSet<QPoint>, lit);
    VirtualModule module = moduleWith(family, 16, 4, 2);
    module.hangTest(0);
    if (step == QLatin1String("OeTest")) {
        module.oeTest(Level::Two);
    } else if (step == QLatin1String("HangTest")) {
        module.hangTest(count);
    } else {
        module.lieTest(count);
    }
    QCOMPARE(module.snapshot().litLeds(), lit);
}

void VirtualModuleTest::matchingMapShowsThePictureExactly_data() {
    addSizeColumns();
    QTest::addColumn<int>("oeByte");
    QTest::addColumn<int>("display");
    QTest::addColumn<QString>("shows");
    const QString picture = QStringLiteral("picture");
    for (const char* family : {"straight", "stripe", "reversed", "from-right"}) {
        QTest::addRow("%s", family)
            << QString::fromLatin1(family) << 64 << 32 << 16 << 1 << 0 << picture;
    }
    QTest::newRow("stripe 32x16 scan 4")
        << QStringLiteral("stripe") << 32 << 16 << 4 << 1 << 0 << picture;
    QTest::newRow("from-right 128x32")
        << QStringLiteral("from-right") << 128 << 32 << 16 << 1 << 0 << picture;
    QTest::newRow("OE byte 0: dark")
        << QStringLiteral("straight") << 64 << 32 << 16 << 0 << 0 << QStringLiteral("dark");
    QTest::newRow("display 255: inverted")
        << QStringLiteral("straight") << 64 << 32 << 16 << 1 << 255 << QStringLiteral("inverted");
}

void VirtualModuleTest::matchingMapShowsThePictureExactly() {
    QFETCH(QString, family);
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, s);
    QFETCH(int, oeByte);
    QFETCH(int, display);
    QFETCH(QString, shows);
    VirtualModule module = moduleWith(family, w, h, s);
    module.showMap(mapFor(family, w, h, s, oeByte, display));
    const QSet<QPoint> picture =
        ledsWhere(w, h, [w, h](int x, int y) { return pictureLit(x, y, w, h); });
    const QSet<QPoint> expected = shows == QLatin1String("picture") ? picture
                                  : shows == QLatin1String("dark")
                                      ? QSet<QPoint>()
                                      : ledsWhere(w, h, [](int, int) { return true; }) - picture;
    const ModuleSnapshot shown = module.snapshot();
    QCOMPARE(shown.litLeds(), expected);
    QCOMPARE(shown.outOfPlace, 0);
}

void VirtualModuleTest::entryOneLedOffPutsItsLedsOutOfPlace_data() {
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("outOfPlace");
    // 64x32 scan 16, straight: a chain of 128 LEDs an address, 16 groups.
    QTest::newRow("row entry 3 one column right") << 16 + 2 * 3 + 1 << 128;
    QTest::newRow("row entry 3 one row down") << 16 + 2 * 3 << 128;
    QTest::newRow("first column pick one place right: group 0 of all 16 addresses")
        << 48 + 2 * 15 + 1 << 16 * 8;
    QTest::newRow("last column pick one row down: group 15 of all 16 addresses") << 48 << 16 * 8;
}

void VirtualModuleTest::entryOneLedOffPutsItsLedsOutOfPlace() {
    QFETCH(int, at);
    QFETCH(int, outOfPlace);
    const QString straight = QStringLiteral("straight");
    VirtualModule module = moduleWith(straight, 64, 32, 16);
    QByteArray map = mapFor(straight, 64, 32, 16);
    map[at] = static_cast<char>(map.at(at) + 1);
    module.showMap(map);
    const ModuleSnapshot shown = module.snapshot();
    QCOMPARE(shown.outOfPlace, outOfPlace);
    QVERIFY(shown.state.contains(QStringLiteral("| %1 LEDs out of place").arg(outOfPlace)));
}

void VirtualModuleTest::mapForAnotherModuleIsNamedInTheState() {
    VirtualModule module = moduleWith(QStringLiteral("straight"), 64, 32, 16);
    module.showMap(mapFor(QStringLiteral("straight"), 32, 16, 4));
    QVERIFY2(module.snapshot().state.contains(QLatin1String("a map made for 32x16 scan 4")),
             qPrintable(module.snapshot().state));
}

QTEST_GUILESS_MAIN(VirtualModuleTest)
#include "tst_sim_virtual_module.moc"
