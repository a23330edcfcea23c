#include <QByteArray>
#include <QPoint>
#include <QSet>
#include <QStringList>
#include <QTest>
#include <memory>
#include <vector>

#include "ModuleFamilies.h"
#include "SimWindow.h"
#include "mapfile/MapFile.h"

using namespace ModuleFamilies;
using namespace Qt::StringLiterals;

namespace {

// The program walked against its own simulated controller, whose module is wired as `family`
// and lights in the levels given; `off` is the address whose row pick is one LED right (-1:
// none). On the session with the window hidden or, `clicking`, by clicking the shown window's
// buttons and grid cells (the parameters then are the defaults, 64 x 32 scan 16).
struct Rig : SimWindow {
    Size m;
    int off;
    bool clicking;
    QByteArray expectedMap;  // what the walk should save

    Rig(const QString& family, Size size, Level oeLit, Level displayLit, int offAddress,
        bool byClicking = false)
        : SimWindow({}, {*Wiring::fromName(family), oeLit, displayLit}),
          m(size),
          off(offAddress),
          clicking(byClicking),
          expectedMap(
              map(family, m, oeLit == Level::Two ? 1 : 0, displayLit == Level::Two ? 255 : 0)) {
        expectedMap[17 + 2 * off] += off >= 0 ? 1 : 0;  // without `off`, byte 15 plus 0
        if (clicking) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            window->parameterPage()->redGreenBox()->setCurrentIndex(0);  // as the session walks
            next()->click();
            return;
        }
        session().next({QString::number(m.w), QString::number(m.h), 0, QString::number(m.s), 0});
    }

    // Picks the cell of the LED at (x, y).
    void pickLed(PickGrid grid, QPoint led) {
        if (!clicking) {
            pick(grid, led.y() + 1, led.x() + 1);
            return;
        }
        PickGridView* view = window->pickPage(grid)->grid();
        const QModelIndex cell = view->model()->index(led.y(), led.x());
        view->scrollTo(cell);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    }

    // Waits until the module has taken the packet that the simulator logs as `last`.
    bool shows(const QString& last) {
        return QTest::qWaitFor([&] { return sim->moduleState().endsWith(" | last: "_L1 + last); });
    }

    // Answers each polarity page by whether state 1 of its blink lights every LED (the other
    // state where wrong says so).
    void answerPolarities(bool wrongOe, bool wrongDisplay) {
        for (const auto& [page, kind, wrong] :
             {std::tuple{Page::OePolarity, "OeTest", wrongOe},
              std::tuple{Page::DisplayPolarity, "DisTest", wrongDisplay}}) {
            QVERIFY(shows(QLatin1String(kind) + " bytes=00 00 00 00"_L1));
            const bool lit = !sim->litLeds().isEmpty();  // every LED or none
            const Lit choice = lit != wrong ? Lit::StateOne : Lit::StateTwo;
            if (clicking) {
                window->polarityPage(page)
                    ->choiceButtons()[choice == Lit::StateOne ? 0 : 1]
                    ->click();
                next()->click();
            } else {
                session().choose(page, choice);
                session().next({});
            }
        }
    }

    // Picks the LED that lights at each of the S row steps (for address `off`, the LED to its
    // right), then at every column step until address 0 lights nothing past the chain's end.
    void pickWhatLights() {
        for (int a = 0; a < m.s; ++a) {
            QVERIFY(shows(u"HangTest count=%1"_s.arg(a)));
            const QList<QPoint> lit = sim->litLeds().values();
            QCOMPARE(lit.size(), 1);
            pickLed(PickGrid::Rows, lit[0] + QPoint(a == off ? 1 : 0, 0));
        }
        QList<QPoint> lit;
        for (int n = 0;
             shows(u"LieTest count=%1"_s.arg(8 * n)) && !(lit = sim->litLeds().values()).isEmpty();
             ++n) {
            QCOMPARE(lit.size(), 1);
            pickLed(PickGrid::Columns, lit[0]);
        }
        QVERIFY2(lit.isEmpty(), "the column step did not go on to the chain's end");
    }

    // Walks, saves the map and starts its download: the file's bytes.
    QByteArray walkSaveAndDownload() {
        answerPolarities(false, false);
        pickWhatLights();
        if (clicking) {
            dialogs.answers = {dir.filePath(u"module.bin"_s)};
            window->completeButton()->click();
            window->downloadButton()->click();
        } else {
            MapFile::save(dir.filePath(u"module.bin"_s), session().buildMap());
            session().mapSaved();
            window->commands().download();
        }
        return readFile(dir.filePath(u"module.bin"_s));
    }
};

}  // namespace

// The wizard walked as a user walks it, by what the simulated controller's virtual module
// lights, against a module of every wiring: the saved map byte for byte against the map the
// wiring calls for, then the picture the module shows once the map is downloaded. How a click
// on the grid becomes a pick is the window's tests' (tests/ui, tests/e2e).
class LoopTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Five wirings at two sizes with the module's polarities varied over them, and one walk whose
    // first row pick is one LED off. Each walk goes as soon as its module is set up, as the
    // polarity blinks run on a clock; the downloads run side by side. random:7 is expected where
    // the simulator's own wiring table puts it (ModuleFamilies::led): its shuffle cannot be known
    // here, so the walk also checks that it is a shuffle, far from straight and from another seed.
    void everyWiringWalkedByWhatLightsShowsThePicture() {
        const QStringList families = {u"straight"_s,   u"stripe"_s,   u"reversed"_s,
                                      u"from-right"_s, u"random:7"_s, u"stripe"_s};
        std::vector<std::unique_ptr<Rig>> rigs;
        for (int i = 0; i < 11; ++i) {
            rigs.push_back(
                std::make_unique<Rig>(families[i / 2], i % 2 ? Size{32, 16, 4} : Size{64, 32, 16},
                                      i % 3 ? Level::Two : Level::One,
                                      i % 4 ? Level::One : Level::Two, i == 10 ? 0 : -1));
            QCOMPARE(rigs.back()->walkSaveAndDownload().toHex(), rigs.back()->expectedMap.toHex());
        }
        for (const auto& r : rigs) {
            QTRY_VERIFY_WITH_TIMEOUT(r->captions.contains(u"下载完成"_s), 10000);
            // With the first row pick one LED right, every other address shows, at each of its
            // LEDs, the pixel one to the left.
            QCOMPARE(r->sim->outOfPlace(),
                     r->off == 0 ? r->m.w * r->m.h / r->m.s * (r->m.s - 1) : 0);
            if (r->off < 0) {
                QCOMPARE(r->sim->litLeds(), picture(r->m.w, r->m.h));
            }
        }
        for (const Size m : {Size{64, 32, 16}, Size{32, 16, 4}}) {
            int moved[2] = {};  // LEDs random:7 puts elsewhere than random:8 and than straight
            for (int i = 0, chain = m.w * m.h / m.s; i < m.w * m.h; ++i) {
                const QPoint at = led(u"random:7"_s, m, i / chain, i % chain);
                moved[0] += at != led(u"random:8"_s, m, i / chain, i % chain);
                moved[1] += at != led(u"straight"_s, m, i / chain, i % chain);
            }
            QVERIFY(moved[0] > m.w * m.h / 2 && moved[1] > m.w * m.h / 2);
        }
    }

    // Once more through the shown window, clicking its buttons and grid cells.
    void windowWalkedByClickingWhatLightsShowsThePicture() {
        Rig r(u"from-right"_s, {64, 32, 16}, Level::One, Level::Two, -1, true);
        QCOMPARE(r.walkSaveAndDownload().toHex(), r.expectedMap.toHex());
        QTRY_VERIFY_WITH_TIMEOUT(r.captions.contains(u"下载完成"_s), 10000);
        QCOMPARE(r.sim->outOfPlace(), 0);
        QCOMPARE(r.sim->litLeds(), picture(64, 32));
    }

    void wrongPolarityAnswersLeaveTheModuleDarkOrInverted() {
        for (const bool wrongOe : {true, false}) {
            Rig r(u"reversed"_s, {32, 16, 4}, Level::One, Level::Two, -1);
            r.answerPolarities(wrongOe, !wrongOe);
            QVERIFY(r.shows(u"HangTest count=0"_s));  // address 0 lights x 0, y 3
            QCOMPARE(r.sim->litLeds(),
                     wrongOe ? QSet<QPoint>() : picture(32, 16, true) - QSet{QPoint(0, 3)});
        }
    }
};

QTEST_MAIN(LoopTest)
#include "tst_loop.moc"
