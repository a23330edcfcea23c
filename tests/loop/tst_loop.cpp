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
    void wrongPolarityAnswersLeaveTheModuleDarkOrInverted_data();
    void wrongPolarityAnswersLeaveTheModuleDarkOrInverted();
    void windowWalkedByClickingWhatLightsShowsThePicture();
};

namespace {

// Waits until the module has taken the packet that the simulator logs as `last`.
bool shows(const SimulatorThread& sim, const QString& last) {
    return QTest::qWaitFor([&] { return sim.moduleState().endsWith(" | last: "_L1 + last); });
}

bool downloaded(const QStringList& captions) {
    return QTest::qWaitFor([&captions] { return captions.contains(u"下载完成"_s); }, 10000);
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

// The program's session without a window, on a real serial port to its own simulated
// controller, whose module is wired as `family` and lights in the levels of truth.
struct Rig {
    QString family;
    Size m;
    ModuleTruth truth;
    int off = -1;  // the address whose row pick is one LED off
    QTemporaryDir dir;
    SimulatorThread sim{SimulatorFaults{}, dir.filePath(u"COM1"_s), truth};
    QtSerialPort port;
    Link link{port};
    RecordingNotifier notifier;
    MappingSession session{link, notifier};
    ControllerCommands commands{session, link, notifier};
    QStringList captions;

    Rig(const QString& name, Size size, Level oeLit, Level displayLit)
        : family(name), m(size), truth{*Wiring::fromName(name), oeLit, displayLit} {
        link.choosePort(u"COM1"_s, dir.filePath(u"COM1"_s));
        QObject::connect(&commands, &ControllerCommands::statusChanged,
                         [this](const QString& caption) { captions.append(caption); });
        session.next({QString::number(m.w), QString::number(m.h), 0, QString::number(m.s), 0});
    }
    void answer(Page page, Lit lit) {
        session.choose(page, lit);
        session.next({});
    }
    void pick(PickGrid grid, QPoint led) {
        (session.*(grid == PickGrid::Rows ? &MappingSession::pickRow
                                          : &MappingSession::pickColumn))(led.y() + 1, led.x() + 1);
    }
    // Walks, builds and saves the map: the file's bytes.
    QByteArray walkAndSave() {
        answerPolarities(sim, false, false, [this](Page page, Lit lit) { answer(page, lit); });
        pickWhatLights(sim, m.s, off, [this](PickGrid grid, QPoint led) { pick(grid, led); });
        MapFile::save(dir.filePath(u"module.bin"_s), session.buildMap());
        session.mapSaved();
        QFile file(dir.filePath(u"module.bin"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The map the walk should save: with `off`, that address's row entry one column right.
    QByteArray expectedMap() const {
        QByteArray bytes = map(family, m, truth.oeLit == Level::Two ? 1 : 0,
                               truth.displayLit == Level::Two ? 255 : 0);
        bytes[17 + 2 * off] += off >= 0 ? 1 : 0;  // without `off`, byte 15 plus 0
        return bytes;
    }
    // The LEDs lit after the download, and how many are out of place: every LED of address a
    // shows the pixel shift_a - shift_0 to its right, shift_off = 1 and every other 0.
    std::pair<QSet<QPoint>, int> expectedShow() const {
        const QSet<QPoint> shape = picture(m.w, m.h);
        std::pair<QSet<QPoint>, int> shown;
        for (int i = 0, chain = m.w * m.h / m.s; i < m.w * m.h; ++i) {
            const QPoint own = led(family, m, i / chain, i % chain);
            const QPoint pixel = own + QPoint((i / chain == off) - (off == 0), 0);
            shown.first += shape.contains(pixel) ? QSet{own} : QSet<QPoint>();
            shown.second += pixel != own ? 1 : 0;
        }
        return shown;
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
            i % 3 ? Level::Two : Level::One, i % 4 ? Level::One : Level::Two));
        rigs.back()->off = i == 10 ? 0 : -1;
        QCOMPARE(rigs.back()->walkAndSave().toHex(), rigs.back()->expectedMap().toHex());
        rigs.back()->commands.download();
    }
    for (const auto& r : rigs) {
        QVERIFY(downloaded(r->captions));
        const auto [lit, outOfPlace] = r->expectedShow();
        QCOMPARE(r->sim.outOfPlace(), outOfPlace);
        QCOMPARE(r->sim.litLeds(), lit);
    }
}

void LoopTest::wrongPolarityAnswersLeaveTheModuleDarkOrInverted_data() {
    QTest::addColumn<bool>("wrongOe");
    QTest::newRow("OE wrong: dark") << true;
    QTest::newRow("display wrong: inverted") << false;
}

void LoopTest::wrongPolarityAnswersLeaveTheModuleDarkOrInverted() {
    QFETCH(bool, wrongOe);
    Rig r(u"reversed"_s, {32, 16, 4}, Level::One, Level::Two);
    answerPolarities(r.sim, wrongOe, !wrongOe, [&r](Page page, Lit lit) { r.answer(page, lit); });
    QVERIFY(shows(r.sim, u"HangTest count=0"_s));  // address 0 lights x 0, y 3
    QCOMPARE(r.sim.litLeds(),
             wrongOe ? QSet<QPoint>() : picture(32, 16, true) - QSet{QPoint(0, 3)});
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
    QVERIFY(downloaded(w.captions));
    QCOMPARE(w.sim->outOfPlace(), 0);
    QCOMPARE(w.sim->litLeds(), picture(64, 32));
}

QTEST_MAIN(LoopTest)
#include "tst_loop.moc"
