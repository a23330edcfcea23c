#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

#include "MapFile.h"
#include "ModuleFamilies.h"
#include "SimWindow.h"

using namespace ModuleFamilies;
using namespace Qt::StringLiterals;

// The wizard walked as a user walks it, by what the simulated controller's virtual module
// lights, against a module of every wiring: the saved map byte for byte against the map the
// wiring calls for, then the picture the module shows once the map is downloaded.
class LoopTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyWiringWalkedByWhatLightsShowsThePicture();
    void wrongPolarityAnswersLeaveTheModuleDarkOrInverted();
    void windowWalkedByClickingWhatLightsShowsThePicture();
};

namespace {

// Waits until the module has taken the packet that the simulator logs as `last`.
bool shows(const SimulatorThread& sim, const QString& last) {
    return QTest::qWaitFor([&] { return sim.moduleState().endsWith(" | last: "_L1 + last); });
}

// Answers each polarity page by whether state 1 of its blink lights every LED (the other
// state where wrong says so).
void answerPolarities(const SimulatorThread& sim, bool wrongOe, bool wrongDisplay,
                      const std::function<void(Page, Lit)>& answer) {
    for (const auto& [page, kind, wrong] :
         {std::tuple{Page::OePolarity, "OeTest", wrongOe},
          std::tuple{Page::DisplayPolarity, "DisTest", wrongDisplay}}) {
        QVERIFY(shows(sim, QLatin1String(kind) + " bytes=00 00 00 00"_L1));
        const bool lit = !sim.litLeds().isEmpty();  // every LED or none
        answer(page, lit != wrong ? Lit::StateOne : Lit::StateTwo);
    }
}

// Picks the LED that lights at each of the S row steps (for address `off`, the LED to its
// right), then at every column step until address 0 lights nothing past the chain's end.
void pickWhatLights(const SimulatorThread& sim, int scanCount, int off,
                    const std::function<void(PickGrid, QPoint)>& pick) {
    for (int a = 0; a < scanCount; ++a) {
        QVERIFY(shows(sim, u"HangTest count=%1"_s.arg(a)));
        const QList<QPoint> lit = sim.litLeds().values();
        QCOMPARE(lit.size(), 1);
        pick(PickGrid::Rows, lit[0] + QPoint(a == off ? 1 : 0, 0));
    }
    QList<QPoint> lit;
    for (int n = 0;
         shows(sim, u"LieTest count=%1"_s.arg(8 * n)) && !(lit = sim.litLeds().values()).isEmpty();
         ++n) {
        QCOMPARE(lit.size(), 1);
        pick(PickGrid::Columns, lit[0]);
    }
    QVERIFY2(lit.isEmpty(), "the column step did not go on to the chain's end");
}

// The program, its window hidden, walked on its session against its own simulated controller,
// whose module is wired as `family` and lights in the levels given; `off` is the address whose
// row pick is one LED right (-1: none).
struct Rig : SimWindow {
    Size m;
    int off;
    QByteArray expectedMap;  // what the walk should save

    Rig(const QString& family, Size size, Level oeLit, Level displayLit, int offAddress)
        : SimWindow({}, {*Wiring::fromName(family), oeLit, displayLit}),
          m(size),
          off(offAddress),
          expectedMap(
              map(family, m, oeLit == Level::Two ? 1 : 0, displayLit == Level::Two ? 255 : 0)) {
        expectedMap[17 + 2 * off] += off >= 0 ? 1 : 0;  // without `off`, byte 15 plus 0
        session().next({QString::number(m.w), QString::number(m.h), 0, QString::number(m.s), 0});
    }
    void answer(Page page, Lit lit) {
        session().choose(page, lit);
        session().next({});
    }
    // Walks, saves the map and starts its download: the file's bytes.
    QByteArray walkSaveAndDownload() {
        answerPolarities(*sim, false, false, [this](Page page, Lit lit) { answer(page, lit); });
        pickWhatLights(*sim, m.s, off,
                       [this](PickGrid grid, QPoint led) { pick(grid, led.y() + 1, led.x() + 1); });
        MapFile::save(dir.filePath(u"module.bin"_s), session().buildMap());
        session().mapSaved();
        window->commands().download();
        QFile file(dir.filePath(u"module.bin"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

}  // namespace

// Five wirings at two sizes with the module's polarities varied over them, and one walk whose
// first row pick is one LED off. Each walk goes as soon as its module is set up, as the
// polarity blinks run on a clock; the downloads run side by side. random:7 is expected where
// the simulator's own wiring table puts it (ModuleFamilies::led): its shuffle cannot be known
// here.
void LoopTest::everyWiringWalkedByWhatLightsShowsThePicture() {
    const QStringList families = {u"straight"_s,   u"stripe"_s,   u"reversed"_s,
                                  u"from-right"_s, u"random:7"_s, u"stripe"_s};
    std::vector<std::unique_ptr<Rig>> rigs;
    for (int i = 0; i < 11; ++i) {
        rigs.push_back(std::make_unique<Rig>(
            families[i / 2], i % 2 ? Size{32, 16, 4} : Size{64, 32, 16},
            i % 3 ? Level::Two : Level::One, i % 4 ? Level::One : Level::Two, i == 10 ? 0 : -1));
        QCOMPARE(rigs.back()->walkSaveAndDownload().toHex(), rigs.back()->expectedMap.toHex());
    }
    for (const auto& r : rigs) {
        QTRY_VERIFY_WITH_TIMEOUT(r->captions.contains(u"下载完成"_s), 10000);
        // With the first row pick one LED right, every other address shows, at each of its
        // LEDs, the pixel one to the left.
        QCOMPARE(r->sim->outOfPlace(), r->off == 0 ? r->m.w * r->m.h / r->m.s * (r->m.s - 1) : 0);
        if (r->off < 0) {
            QCOMPARE(r->sim->litLeds(), picture(r->m.w, r->m.h));
        }
    }
}

void LoopTest::wrongPolarityAnswersLeaveTheModuleDarkOrInverted() {
    for (const bool wrongOe : {true, false}) {
        Rig r(u"reversed"_s, {32, 16, 4}, Level::One, Level::Two, -1);
        answerPolarities(*r.sim, wrongOe, !wrongOe,
                         [&r](Page page, Lit lit) { r.answer(page, lit); });
        QVERIFY(shows(*r.sim, u"HangTest count=0"_s));  // address 0 lights x 0, y 3
        QCOMPARE(r.sim->litLeds(),
                 wrongOe ? QSet<QPoint>() : picture(32, 16, true) - QSet{QPoint(0, 3)});
    }
}

void LoopTest::windowWalkedByClickingWhatLightsShowsThePicture() {
    SimWindow w({}, {*Wiring::fromName(u"from-right"_s), Level::One, Level::Two});
    MainWindow& c = *w.window;
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    w.next()->click();  // the defaults: 64 x 32 scan 16
    answerPolarities(*w.sim, false, false, [&](Page page, Lit lit) {
        c.polarityPage(page)->choiceButtons()[lit == Lit::StateOne ? 0 : 1]->click();
        w.next()->click();
    });
    pickWhatLights(*w.sim, 16, -1, [&c](PickGrid grid, QPoint led) {
        PickGridView* view = c.pickPage(grid)->grid();
        const QModelIndex cell = view->model()->index(led.y(), led.x());
        view->scrollTo(cell);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    });
    w.dialogs.answers = {w.dir.filePath(u"module.bin"_s)};
    c.completeButton()->click();
    c.downloadButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(w.captions.contains(u"下载完成"_s), 10000);
    QCOMPARE(w.sim->outOfPlace(), 0);
    QCOMPARE(w.sim->litLeds(), picture(64, 32));
}

QTEST_MAIN(LoopTest)
#include "tst_loop.moc"
