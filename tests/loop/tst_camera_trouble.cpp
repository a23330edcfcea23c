#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <functional>
#include <optional>

#include "CameraScene.h"
#include "CameraStream.h"
#include "ModuleFamilies.h"
#include "SimWindow.h"
#include "camera/CameraService.h"
#include "session/CameraWalk.h"
#include "ui/CameraControl.h"
#include "ui/CameraWindow.h"

using namespace ModuleFamilies;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using State = CameraWalk::State;
using Dead = std::optional<ModuleTruth::ChainPosition>;

namespace {

// The longest the walk may take to its next stop (the polarity pages alone take seconds).
constexpr int kWalkMs = 60000;

// What the walk's status says at the stop before its first pick with a new camera setting.
const QString kOrientationStop = u"网格中标出的格子是不是正亮着的那个灯"_s;
// ... and when a changed setting needs a new calibration from the polarity pages.
const QString kCalibrateAgain = u"相机还没有看清这个模块。请回到第1步"_s;

// The program walked hands-free against the simulated controller, watching the simulator's
// virtual camera over HTTP through the window's CameraControl; the module is wired as `family`
// and lights in the levels given.
struct CameraRig : SimWindow {
    QString family;
    Size m;
    QByteArray expectedMap;
    std::optional<CameraReading> lastReading;
    QString calibrationNote;  // what the last calibration made said

    CameraRig(const QString& wiring, Size size, Level oeLit, Level displayLit, Dead dead = {})
        : SimWindow({}, {*Wiring::fromName(wiring), oeLit, displayLit, dead}),
          family(wiring),
          m(size),
          expectedMap(
              map(wiring, size, oeLit == Level::Two ? 1 : 0, displayLit == Level::Two ? 255 : 0)) {}

    CameraControl& control() { return *window->camera(); }
    CameraWalk& walk() { return *control().walk(); }
    QString url() const { return u"http://127.0.0.1:%1/"_s.arg(sim->camera()->port()); }

    // Starts a virtual camera on `onPort` (0: a free one) and watches it, as 连接 does.
    bool film(const CameraOptions& options, quint16 onPort = 0) {
        if (!sim->startCamera(options, onPort)) {
            return false;
        }
        control().useSource(url());
        QObject::connect(control().service(), &CameraService::readingReady,
                         [this](const CameraReading& reading) { lastReading = reading; });
        QObject::connect(
            control().service(), &CameraService::calibrated,
            [this](bool made, const QString& note) { calibrationNote = made ? note : QString(); });
        return true;
    }

    // The parameters stored, and F5 on 第1步.
    void startOnFirstStep() {
        session().next({QString::number(m.w), QString::number(m.h), 0, QString::number(m.s), 0});
        control().toggleWalk();
    }

    bool needsUser() { return walk().state() == State::Stopped || walk().state() == State::Ready; }
    bool atOrientationStop() {
        return walk().state() == State::Stopped && walk().status().contains(kOrientationStop);
    }
    // The grid cell of the one LED the module lights now; (0, 0) when not exactly one lights.
    QPoint litCell() {
        const QList<QPoint> lit = sim->litLeds().values();
        return lit.size() == 1 ? lit[0] + QPoint(1, 1) : QPoint();
    }
    // The grid cell of the LED that chain bit b of row address a drives.
    QPoint cellOf(int a, int b) const { return led(family, m, a, b) + QPoint(1, 1); }

    // Waits for the next stop or the ready map, going on at every orientation stop (F5) once
    // the LED it marks is the LED lit.
    void walkOn() {
        for (;;) {
            QVERIFY2(QTest::qWaitFor([this] { return needsUser(); }, kWalkMs), qPrintable(story()));
            if (!atOrientationStop()) {
                return;
            }
            QCOMPARE(walk().marked(), QList<QPoint>{litCell()});
            control().toggleWalk();
        }
    }

    // Picks the cell as a click on the grid of the page in front.
    void click(QPoint cell) {
        pick(session().page() == Page::ColumnOrder ? PickGrid::Columns : PickGrid::Rows, cell.y(),
             cell.x());
    }

    // The first `count` picks of the grid are the LEDs the wiring lights at those steps.
    void verifyPicksKept(PickGrid grid, int count) {
        const PassPicks& made = session().picks(grid);
        QCOMPARE(made.count(), count);
        for (int n = 0; n < count; ++n) {
            const QPoint cell = grid == PickGrid::Rows ? cellOf(n, 0) : cellOf(0, 8 * n);
            QCOMPARE(made.picksAt(cell.y(), cell.x()), QList<int>{n + 1});
        }
    }

    // Saves the map through 完成 and downloads it: the saved file's bytes.
    QByteArray saveAndDownload() {
        dialogs.answers = {dir.filePath(u"module.bin"_s)};
        window->completeButton()->click();
        window->downloadButton()->click();
        return readFile(dir.filePath(u"module.bin"_s));
    }

    // The map saved is the wiring's, and once downloaded every LED shows its own pixel.
    void verifyExactMap() {
        QVERIFY2(walk().state() == State::Ready, qPrintable(story()));
        QCOMPARE(saveAndDownload().toHex(), expectedMap.toHex());
        QTRY_VERIFY_WITH_TIMEOUT(captions.contains(u"下载完成"_s), 10000);
        QCOMPARE(sim->outOfPlace(), 0);
        QVERIFY(notifier.messages.isEmpty());
    }

    // What the walk did and the last pictures it was shown, for a failure's message.
    QString story() {
        QStringList marks;
        for (const QPoint cell : walk().marked()) {
            marks << u"(%1,%2)"_s.arg(cell.x()).arg(cell.y());
        }
        const QPoint lit = litCell();
        QString text =
            u"walk state %1, page %2, picks %3 + %4, marked %5, lit (%6,%7), status: "
            u"%8\n"_s.arg(int(walk().state()))
                .arg(int(session().page()))
                .arg(session().picks(PickGrid::Rows).count())
                .arg(session().picks(PickGrid::Columns).count())
                .arg(marks.join(u' '))
                .arg(lit.x())
                .arg(lit.y())
                .arg(walk().status());
        const std::vector<ServedPicture> pictures = sim->camera()->pictures();
        for (std::size_t i = pictures.size() > 12 ? pictures.size() - 12 : 0; i < pictures.size();
             ++i) {
            text += describe(pictures[i]);
        }
        return text;
    }

    static QString describe(const ServedPicture& p) {
        QStringList lit;
        for (const QPoint led : p.litLeds()) {
            lit << u"(%1,%2)"_s.arg(led.x()).arg(led.y());
        }
        if (lit.size() > 4) {
            lit = QStringList{u"%1 LEDs"_s.arg(lit.size())};
        }
        return u"  picture %1 packets %2..%3 lit %4 partly %5%6%7%8%9\n"_s.arg(p.sequence)
            .arg(p.lastPacketInFull)
            .arg(p.lastPacketSeen)
            .arg(lit.join(u' '))
            .arg(p.partlyLit.size())
            .arg(p.repeated ? u" repeated"_s : QString())
            .arg(p.effects.reflection ? u" reflection"_s : QString())
            .arg(p.effects.shift.isNull()
                     ? QString()
                     : u" shift (%1,%2)"_s.arg(p.effects.shift.x()).arg(p.effects.shift.y()))
            .arg(p.effects.bandRows > 0 ? u" banded"_s : QString());
    }
};

// The smallest picture of 640 x 360 and 1280 x 720 in which the module's pitch stays 6 pixels
// or more wherever the view foreshortens it; empty when the view leaves part of the module
// outside the picture (a view the walk rightly refuses).
QSize pictureFor(Size m, CameraView view) {
    view.frame = QSize(640, 360);
    if (CameraScene(QSize(m.w, m.h), view).smallestPitch() < 6) {
        view.frame = QSize(1280, 720);
    }
    return CameraScene(QSize(m.w, m.h), view).moduleInside() ? view.frame : QSize();
}

// Trouble the virtual camera makes during a walk, and what the walk is to do about it.
enum class Event {
    None,
    Reflection,  // a lamp's reflection appears on the module's face
    Nudge,       // the camera is nudged one pitch along the rows
    StreamEnds,  // the stream ends
    Mirrored,    // the picture is mirrored, the camera window's setting is not
};

struct Trouble {
    CameraOptions camera;
    Dead dead;
    Event event = Event::None;
    // The event comes with this pick of this grid (0: as its page is shown).
    PickGrid eventGrid = PickGrid::Rows;
    int eventAt = 0;
    // The stop: on this page with this many picks made there, its status saying `reason`;
    // no reason: none but the orientation stop.
    Page stopPage = Page::RowOrder;
    int stopPicks = 0;
    QString reason;
};

// The event comes with column pick `at`: the walk stops at the next column step for `reason`.
void comesWithColumnPick(Trouble& t, Event event, int at, const QString& reason) {
    t.event = event;
    t.eventGrid = PickGrid::Columns;
    t.eventAt = t.stopPicks = at;
    t.stopPage = Page::ColumnOrder;
    t.reason = reason;
}

}  // namespace

Q_DECLARE_METATYPE(ModuleFamilies::Size)
Q_DECLARE_METATYPE(Level)
Q_DECLARE_METATYPE(CameraView)
Q_DECLARE_METATYPE(Trouble)

// The wizard walked hands-free through the real window and the real Motion-JPEG stream, the
// only input F5 (and at each stop, what the stop asks for), under the virtual camera's
// troubles. A stop with its reason is fine; a wrong pick never is: each walk ends in the map
// the module's wiring calls for, downloaded with no LED out of place.
class CameraTroubleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }
    // Every camera source's setting is unconfirmed: each walk meets its orientation stop.
    void init() { QSettings().clear(); }

    // The five wirings at two sizes with the module's polarities varied over them; every other
    // walk has its camera turned 20 degrees (yaw or tilt), rolled and noisy. random:7 is
    // expected where the simulator's own wiring table puts it (tst_loop proves it a shuffle).
    void handsFreeWalkMakesTheWiringsMap_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<Size>("size");
        QTest::addColumn<Level>("oeLit");
        QTest::addColumn<Level>("displayLit");
        QTest::addColumn<CameraView>("view");
        const QStringList families = {u"straight"_s, u"stripe"_s, u"reversed"_s, u"from-right"_s,
                                      u"random:7"_s};
        // yaw, tilt, roll of the turned views
        const double turns[][3] = {
            {20, 0, 10}, {0, -20, -10}, {-20, 0, 6}, {0, 20, -15}, {20, 0, -8}};
        int turned = 0;
        for (int i = 0; i < 10; ++i) {
            const Size m = i % 2 ? Size{32, 16, 4} : Size{64, 32, 16};
            CameraView view;
            if (i % 4 == 1 || i % 4 == 2) {
                view.yaw = turns[turned][0];
                view.tilt = turns[turned][1];
                view.roll = turns[turned][2];
                view.noise = 6;
                ++turned;
            }
            view.frame = pictureFor(m, view);
            QTest::addRow("%s %dx%d/%d yaw %g tilt %g roll %g at %dx%d",
                          qPrintable(families[i / 2]), m.w, m.h, m.s, view.yaw, view.tilt,
                          view.roll, view.frame.width(), view.frame.height())
                << families[i / 2] << m << (i % 3 ? Level::Two : Level::One)
                << (i % 4 ? Level::One : Level::Two) << view;
        }
    }

    void handsFreeWalkMakesTheWiringsMap() {
        QFETCH(QString, family);
        QFETCH(Size, size);
        QFETCH(Level, oeLit);
        QFETCH(Level, displayLit);
        QFETCH(CameraView, view);
        QVERIFY2(!view.frame.isEmpty(), "the module does not fit in the picture");
        CameraRig r(family, size, oeLit, displayLit);
        CameraOptions camera;
        camera.view = view;
        QVERIFY2(r.film(camera), qPrintable(r.sim->errorString()));
        r.startOnFirstStep();
        r.walkOn();
        if (QTest::currentTestFailed()) {
            return;
        }
        r.verifyExactMap();
    }

    // Once more through the shown main window and camera window: the address typed into the
    // camera window, and F5 pressed as a key on the main window.
    void shownWindowsWalkedWithTheF5Key() {
        CameraRig r(u"from-right"_s, {64, 32, 16}, Level::One, Level::Two);
        CameraOptions camera;
        camera.view.frame = QSize(640, 360);
        QVERIFY(r.sim->startCamera(camera));
        r.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(r.window.get()));
        r.control().showWindow();
        CameraWindow& cameraWindow = *r.control().window();
        QVERIFY(QTest::qWaitForWindowExposed(&cameraWindow));
        cameraWindow.sourceBox()->setEditText(r.url());
        QTest::keyClick(cameraWindow.sourceBox()->lineEdit(), Qt::Key_Return);  // 连接
        QVERIFY(r.control().service()->isOpen());
        r.window->parameterPage()->redGreenBox()->setCurrentIndex(0);  // 64 x 32 scan 16
        r.next()->click();
        QCOMPARE(r.session().page(), Page::OePolarity);

        QTest::keyClick(r.window.get(), Qt::Key_F5);
        QVERIFY(r.walk().isRunning());
        QVERIFY2(QTest::qWaitFor([&] { return r.needsUser(); }, kWalkMs), qPrintable(r.story()));
        QVERIFY2(r.atOrientationStop(), qPrintable(r.story()));
        QCOMPARE(r.walk().marked(), QList<QPoint>{r.cellOf(0, 0)});
        QTest::keyClick(r.window.get(), Qt::Key_F5);
        QVERIFY2(QTest::qWaitFor([&] { return r.needsUser(); }, kWalkMs), qPrintable(r.story()));
        QCOMPARE(cameraWindow.statusLabel()->text(), r.walk().status());
        r.verifyExactMap();
    }

    void troubleEndsInTheExactMap_data() {
        QTest::addColumn<Trouble>("trouble");
        const auto row = [](const char* name, auto change) {
            Trouble t;
            t.camera.view.frame = QSize(640, 360);
            change(t);
            QTest::newRow(name) << t;
        };
        // No stop but the orientation stop.
        row("latency 0 ms", [](Trouble& t) { t.camera.latency = 0ms; });
        row("latency 150 ms", [](Trouble& t) { t.camera.latency = 150ms; });
        row("latency 300 ms", [](Trouble& t) { t.camera.latency = 300ms; });
        row("a third of the pictures sent twice", [](Trouble& t) { t.camera.repeatShare = 0.33; });
        row("refresh banding in one picture of five",
            [](Trouble& t) { t.camera.bandingEvery = 5; });
        // Three frame intervals: every change shows half made in three pictures.
        row("exposure spanning each change", [](Trouble& t) { t.camera.exposure = 100ms; });
        // Stops, each at its step with its reason.
        row("latency 1.5 s", [](Trouble& t) {
            t.camera.latency = 1500ms;
            t.stopPage = Page::OePolarity;
            t.reason = u"相机的画面落后超过 1 秒"_s;
        });
        row("stream ends after 5 column picks",
            [](Trouble& t) { comesWithColumnPick(t, Event::StreamEnds, 5, u"相机断开了"_s); });
        row("reflection appears after 3 column picks", [](Trouble& t) {
            comesWithColumnPick(t, Event::Reflection, 3, u"灯之间或模块旁有光，可能是反光"_s);
        });
        row("dead LED at row step 3", [](Trouble& t) {
            t.dead = ModuleTruth::ChainPosition{2, 0};
            t.stopPicks = 2;
            t.reason = u"没有看清亮的灯：没有灯亮"_s;
        });
        row("dead LED at column step 10", [](Trouble& t) {
            t.dead = ModuleTruth::ChainPosition{0, 72};
            t.stopPage = Page::ColumnOrder;
            t.stopPicks = 9;
            t.reason = u"这一步没有灯亮：可能是坏灯"_s;
        });
        row("camera nudged a pitch after 1 row pick", [](Trouble& t) {
            t.event = Event::Nudge;
            t.eventAt = t.stopPicks = 1;
            t.reason = u"画面和校准时不一样了：相机可能被碰动了"_s;
        });
        row("mirror set wrong", [](Trouble& t) {
            t.event = Event::Mirrored;
            t.camera.view.mirrored = true;
            t.reason = kOrientationStop;
        });
    }

    // On a 32 x 16 scan 4 module wired in stripes, at 640 x 360 straight on.
    void troubleEndsInTheExactMap() {
        QFETCH(Trouble, trouble);
        CameraRig r(u"stripe"_s, {32, 16, 4}, Level::Two, Level::One, trouble.dead);
        QVERIFY2(r.film(trouble.camera), qPrintable(r.sim->errorString()));
        bool happened = false;
        QObject::connect(&r.session(), &MappingSession::picksChanged, [&](PickGrid grid) {
            if (!happened && grid == trouble.eventGrid &&
                r.session().picks(grid).count() == trouble.eventAt) {
                happened = true;
                makeTrouble(r, trouble.event);
            }
        });
        r.startOnFirstStep();
        if (trouble.event == Event::Mirrored) {
            return mirroredCameraIsCaughtAtTheOrientationStop(r);
        }
        r.walkOn();
        if (QTest::currentTestFailed()) {
            return;
        }
        if (!trouble.reason.isEmpty()) {
            QVERIFY2(r.walk().state() == State::Stopped, qPrintable(r.story()));
            QVERIFY2(r.walk().status().contains(trouble.reason), qPrintable(r.story()));
            QCOMPARE(r.session().page(), trouble.stopPage);
            // The cells marked for the user's look, if any, include the LED lit.
            const QList<QPoint> marked = r.walk().marked();
            QVERIFY2(marked.isEmpty() || marked.contains(r.litCell()), qPrintable(r.story()));
            if (trouble.dead) {  // named as the calibration was made, row first
                const QPoint cell = r.cellOf(trouble.dead->address, trouble.dead->bit);
                QVERIFY2(
                    r.calibrationNote.contains(
                        u"校准时有 1 个灯没亮（第 %1 行 第 %2 列）：可能是坏灯。"_s.arg(cell.y())
                            .arg(cell.x())),
                    qPrintable(r.calibrationNote));
            }
            const PickGrid grid =
                trouble.stopPage == Page::ColumnOrder ? PickGrid::Columns : PickGrid::Rows;
            r.verifyPicksKept(grid, trouble.stopPicks);
            if (QTest::currentTestFailed()) {
                return;
            }
            takeTroubleAway(r, trouble);
            if (QTest::currentTestFailed()) {
                return;
            }
            r.walkOn();
        }
        if (QTest::currentTestFailed()) {
            return;
        }
        r.verifyExactMap();
    }

private:
    // Called as the pick that brings the event is made, before its count packet goes out: so
    // every picture of the next LED shows the event too.
    static void makeTrouble(CameraRig& r, Event event) {
        switch (event) {
            case Event::Reflection:  // between LEDs, away from those the column steps light
                r.sim->camera()->setReflection(QPointF(20.5, 6.5));
                break;
            case Event::Nudge:
                r.sim->camera()->setNudge(QPointF(1, 0));
                break;
            case Event::StreamEnds:
                r.sim->camera()->end();
                break;
            case Event::None:
            case Event::Mirrored:
                break;
        }
    }

    // Does what the stop asks the user to do, then F5.
    static void takeTroubleAway(CameraRig& r, const Trouble& t) {
        CameraOptions camera = t.camera;
        if (t.dead) {  // the LED that should have lit
            r.click(r.cellOf(t.dead->address, t.dead->bit));
        } else if (t.camera.latency > 1s) {  // another camera, one with a short delay
            camera.latency = 100ms;
            QVERIFY(r.film(camera));
        } else if (t.event == Event::StreamEnds) {  // the same camera, connected again
            QVERIFY(r.film(camera, r.sim->camera()->port()));
        } else if (t.event == Event::Reflection) {
            r.sim->camera()->setReflection(std::nullopt);
            r.click(r.litCell());
        } else if (t.event == Event::Nudge) {  // put back, as the pictures show
            r.sim->camera()->setNudge({});
            QTRY_VERIFY_WITH_TIMEOUT(
                r.lastReading && r.lastReading->doubt != CameraReading::Doubt::Moved, 5000);
        }
        r.control().toggleWalk();
    }

    // The orientation stop marks the LED read through the wrong mirror: not the LED lit. With
    // the mirror set right in the camera window, F5 picks nothing before a new calibration;
    // back on 第1步, F5 walks to the exact map.
    static void mirroredCameraIsCaughtAtTheOrientationStop(CameraRig& r) {
        QVERIFY2(QTest::qWaitFor([&] { return r.needsUser(); }, kWalkMs), qPrintable(r.story()));
        QVERIFY2(r.atOrientationStop(), qPrintable(r.story()));
        QCOMPARE(r.session().page(), Page::RowOrder);
        const QPoint lit = r.litCell();  // its mirror image across the module is marked
        QCOMPARE(r.walk().marked(), QList<QPoint>{QPoint(r.m.w + 1 - lit.x(), lit.y())});
        r.control().window()->mirrorBox()->click();
        r.control().toggleWalk();
        QCOMPARE(r.session().picks(PickGrid::Rows).count(), 0);
        QVERIFY2(r.walk().state() == State::Stopped && r.walk().status().contains(kCalibrateAgain),
                 qPrintable(r.story()));
        r.window->previousButton()->click();
        r.window->previousButton()->click();
        QCOMPARE(r.session().page(), Page::OePolarity);
        r.control().toggleWalk();
        r.walkOn();
        if (QTest::currentTestFailed()) {
            return;
        }
        r.verifyExactMap();
    }

    QTemporaryDir m_settings;
};

QTEST_MAIN(CameraTroubleTest)
#include "tst_camera_trouble.moc"
