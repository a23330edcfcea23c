#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <functional>
#include <optional>
#include <tuple>
#include <utility>

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

namespace {

// The longest the walk may take to its next stop (the polarity pages alone take seconds).
constexpr int kWalkMs = 60000;

// What the walk's status says at the stop before its first pick with a new camera setting.
const QString kOrientationStop = u"网格中标出的格子是不是正亮着的那个灯"_s;
// ... and when a changed setting needs a new calibration from the polarity pages.
const QString kCalibrateAgain = u"相机还没有看清这个模块。请回到第1步"_s;

struct CameraRig;

// A hands-free walk: the module (wired as `family`, lit in the levels given, with one dead LED
// or none), the virtual camera watching it, the trouble the camera makes on the way and the
// stop that calls for.
struct Walk {
    QString family = u"stripe"_s;
    Size m{32, 16, 4};
    Level oeLit = Level::Two;
    Level displayLit = Level::One;
    CameraOptions camera;
    std::optional<ModuleTruth::ChainPosition> dead;
    // The stop: on this page with this many picks made there, its status saying `reason`;
    // no reason: none but the orientation stop.
    Page stopPage = Page::RowOrder;
    int stopPicks = 0;
    QString reason;
    // Made as the stop's last pick is made, before its count packet goes out: so every picture
    // of the next LED shows it.
    std::function<void(CameraRig&)> trouble;
    // What the stop asks the user to do before F5.
    std::function<void(CameraRig&)> remedy;

    void stopsAt(Page page, int picks, const QString& why) {
        stopPage = page;
        stopPicks = picks;
        reason = why;
    }
    // The grid of the stop's page.
    PickGrid grid() const {
        return stopPage == Page::ColumnOrder ? PickGrid::Columns : PickGrid::Rows;
    }
};

// The program walked hands-free against the simulated controller, watching the simulator's
// virtual camera over HTTP through the window's CameraControl.
struct CameraRig : SimWindow {
    const Walk plan;
    std::optional<CameraReading> lastReading;
    int orientationStops = 0;  // those walkOn went on at
    QString calibrationNote;   // what the last calibration made said

    explicit CameraRig(const Walk& w)
        : SimWindow({}, {*Wiring::fromName(w.family), w.oeLit, w.displayLit, w.dead}), plan(w) {}

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
        const Size m = plan.m;
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
    QPoint cellOf(int a, int b) const { return led(plan.family, plan.m, a, b) + QPoint(1, 1); }
    QPoint deadCell() const { return cellOf(plan.dead->address, plan.dead->bit); }

    // Waits for the next stop or the ready map, going on at every orientation stop once the LED
    // it marks is the LED lit: F5 as a key on the main window when it is shown, else as
    // CameraControl takes it from either window. Does nothing once the test has failed.
    void walkOn() {
        while (!QTest::currentTestFailed()) {
            QVERIFY2(QTest::qWaitFor([this] { return needsUser(); }, kWalkMs), qPrintable(story()));
            if (!atOrientationStop()) {
                return;
            }
            QCOMPARE(walk().marked(), QList<QPoint>{litCell()});
            ++orientationStops;
            if (window->isVisible()) {
                QTest::keyClick(window.get(), Qt::Key_F5);
            } else {
                control().toggleWalk();
            }
        }
    }

    // Picks the cell as a click on the grid of the stop's page.
    void click(QPoint cell) { pick(plan.grid(), cell.y(), cell.x()); }

    // The walk met one orientation stop (every setting starts unconfirmed, and is remembered once
    // confirmed); the map saved through 完成 is the wiring's, and once downloaded every LED shows
    // its own pixel. Does nothing once the test has failed.
    void verifyExactMap() {
        if (QTest::currentTestFailed()) {
            return;
        }
        QVERIFY2(walk().state() == State::Ready, qPrintable(story()));
        QCOMPARE(orientationStops, 1);
        dialogs.answers = {dir.filePath(u"module.bin"_s)};
        window->completeButton()->click();
        window->downloadButton()->click();
        const QByteArray expected = map(plan.family, plan.m, plan.oeLit == Level::Two ? 1 : 0,
                                        plan.displayLit == Level::Two ? 255 : 0);
        QCOMPARE(readFile(dir.filePath(u"module.bin"_s)).toHex(), expected.toHex());
        QTRY_VERIFY_WITH_TIMEOUT(captions.contains(u"下载完成"_s), 10000);
        QCOMPARE(sim->outOfPlace(), 0);
        QVERIFY(notifier.messages.isEmpty());
    }

    // What the walk did, for a failure's message.
    QString story() {
        QString text;
        QDebug(&text).nospace().noquote()
            << "walk state " << int(walk().state()) << ", page " << int(session().page())
            << ", picks " << session().picks(PickGrid::Rows).count() << " + "
            << session().picks(PickGrid::Columns).count() << ", marked " << walk().marked()
            << ", lit " << litCell() << ", status: " << walk().status();
        return text;
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

}  // namespace

Q_DECLARE_METATYPE(Walk)

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
        QTest::addColumn<Walk>("plan");
        const QStringList families = {u"straight"_s, u"stripe"_s, u"reversed"_s, u"from-right"_s,
                                      u"random:7"_s};
        // yaw, tilt, roll of the turned views
        const std::tuple<double, double, double> turns[] = {
            {20, 0, 10}, {0, -20, -10}, {-20, 0, 6}, {0, 20, -15}, {20, 0, -8}};
        for (int i = 0, turned = 0; i < 10; ++i) {
            Walk t;
            t.family = families[i / 2];
            t.m = i % 2 ? Size{32, 16, 4} : Size{64, 32, 16};
            t.oeLit = i % 3 ? Level::Two : Level::One;
            t.displayLit = i % 4 ? Level::One : Level::Two;
            CameraView& view = t.camera.view;
            if (i % 4 == 1 || i % 4 == 2) {
                std::tie(view.yaw, view.tilt, view.roll) = turns[turned++];
                view.noise = 6;
            }
            view.frame = pictureFor(t.m, view);
            QTest::addRow("%s %dx%d/%d yaw %g tilt %g roll %g at %dx%d", qPrintable(t.family),
                          t.m.w, t.m.h, t.m.s, view.yaw, view.tilt, view.roll, view.frame.width(),
                          view.frame.height())
                << t;
        }
    }
    void handsFreeWalkMakesTheWiringsMap() { troubleEndsInTheExactMap(); }

    // Once more through the shown main window and camera window: the address typed into the
    // camera window, and F5 pressed as a key on the main window.
    void shownWindowsWalkedWithTheF5Key() {
        Walk plan;
        plan.family = u"from-right"_s;
        plan.m = {64, 32, 16};
        plan.oeLit = Level::One;
        plan.displayLit = Level::Two;
        plan.camera.view.frame = QSize(640, 360);
        CameraRig r(plan);
        QVERIFY(r.sim->startCamera(plan.camera));
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
        r.walkOn();
        QCOMPARE(cameraWindow.statusLabel()->text(), r.walk().status());
        r.verifyExactMap();
    }

    // On a 32 x 16 scan 4 module wired in stripes, at 640 x 360 straight on.
    void troubleEndsInTheExactMap_data() {
        QTest::addColumn<Walk>("plan");
        const auto row = [](const char* name, auto change) {
            Walk t;
            t.camera.view.frame = QSize(640, 360);
            t.remedy = [](CameraRig& r) { r.click(r.deadCell()); };  // where a dead LED stopped it
            change(t);
            QTest::newRow(name) << t;
        };
        // No stop but the orientation stop.
        row("latency 0 ms", [](Walk& t) { t.camera.latency = 0ms; });
        row("latency 100 ms", [](Walk& t) { t.camera.latency = 100ms; });
        row("latency 150 ms", [](Walk& t) { t.camera.latency = 150ms; });
        row("latency 300 ms", [](Walk& t) { t.camera.latency = 300ms; });
        row("a third of the pictures sent twice", [](Walk& t) { t.camera.repeatShare = 0.33; });
        row("refresh banding in one picture of five", [](Walk& t) { t.camera.bandingEvery = 5; });
        // Three frame intervals: every change shows half made in three pictures.
        row("exposure spanning each change", [](Walk& t) { t.camera.exposure = 100ms; });
        // Stops, each at its step with its reason.
        row("latency 1.5 s", [](Walk& t) {
            t.camera.latency = 1500ms;
            t.stopsAt(Page::OePolarity, 0, u"相机的画面落后超过 1 秒"_s);
            t.remedy = [](CameraRig& r) {  // another camera, one with a short delay
                CameraOptions camera = r.plan.camera;
                camera.latency = 100ms;
                QVERIFY(r.film(camera));
            };
        });
        row("stream ends after 5 column picks", [](Walk& t) {
            t.stopsAt(Page::ColumnOrder, 5, u"相机断开了"_s);
            t.trouble = [](CameraRig& r) { r.sim->camera()->end(); };
            // the same camera, connected again
            t.remedy = [](CameraRig& r) {
                QVERIFY(r.film(r.plan.camera, r.sim->camera()->port()));
            };
        });
        row("reflection appears after 3 column picks", [](Walk& t) {
            t.stopsAt(Page::ColumnOrder, 3, u"灯之间或模块旁有光，可能是反光"_s);
            // between LEDs, away from those the column steps light
            t.trouble = [](CameraRig& r) { r.sim->camera()->setReflection(QPointF(20.5, 6.5)); };
            t.remedy = [](CameraRig& r) {
                r.sim->camera()->setReflection(std::nullopt);
                r.click(r.litCell());
            };
        });
        row("dead LED at row step 3", [](Walk& t) {
            t.dead = ModuleTruth::ChainPosition{2, 0};
            t.stopsAt(Page::RowOrder, 2, u"没有看清亮的灯：没有灯亮"_s);
        });
        row("dead LED at column step 10", [](Walk& t) {
            t.dead = ModuleTruth::ChainPosition{0, 72};
            t.stopsAt(Page::ColumnOrder, 9, u"这一步没有灯亮：可能是坏灯"_s);
        });
        row("camera nudged a pitch after 1 row pick", [](Walk& t) {
            t.stopsAt(Page::RowOrder, 1, u"画面和校准时不一样了：相机可能被碰动了"_s);
            t.trouble = [](CameraRig& r) { r.sim->camera()->setNudge(QPointF(1, 0)); };
            t.remedy = [](CameraRig& r) {  // put back, as the pictures show
                r.sim->camera()->setNudge({});
                QTRY_VERIFY_WITH_TIMEOUT(
                    r.lastReading && r.lastReading->doubt != CameraReading::Doubt::Moved, 5000);
            };
        });
    }

    void troubleEndsInTheExactMap() {
        QFETCH(Walk, plan);
        QVERIFY2(!plan.camera.view.frame.isEmpty(), "the module does not fit in the picture");
        CameraRig r(plan);
        QVERIFY2(r.film(plan.camera), qPrintable(r.sim->errorString()));
        QObject::connect(&r.session(), &MappingSession::picksChanged, [&](PickGrid changed) {
            if (plan.trouble && changed == plan.grid() &&
                r.session().picks(changed).count() == plan.stopPicks) {
                std::exchange(plan.trouble, nullptr)(r);
            }
        });
        r.startOnFirstStep();
        r.walkOn();
        if (plan.reason.isEmpty() || QTest::currentTestFailed()) {
            return r.verifyExactMap();
        }
        // Stopped where and why the plan says, with the LED lit among the cells marked (if any),
        // a dead LED named as the calibration was made (row first), and every pick made on the
        // stop's grid kept: the LEDs the wiring lights at those steps.
        QVERIFY2(r.walk().state() == State::Stopped && r.walk().status().contains(plan.reason),
                 qPrintable(r.story()));
        QCOMPARE(r.session().page(), plan.stopPage);
        const QList<QPoint> marked = r.walk().marked();
        QVERIFY2(marked.isEmpty() || marked.contains(r.litCell()), qPrintable(r.story()));
        QVERIFY2(!plan.dead || r.calibrationNote.contains(
                                   u"校准时有 1 个灯没亮（第 %1 行 第 %2 列）：可能是坏灯。"_s
                                       .arg(r.deadCell().y())
                                       .arg(r.deadCell().x())),
                 qPrintable(r.calibrationNote));
        const PassPicks& made = r.session().picks(plan.grid());
        QCOMPARE(made.count(), plan.stopPicks);
        for (int n = 0; n < plan.stopPicks; ++n) {
            const QPoint cell = plan.grid() == PickGrid::Rows ? r.cellOf(n, 0) : r.cellOf(0, 8 * n);
            QCOMPARE(made.picksAt(cell.y(), cell.x()), QList<int>{n + 1});
        }
        plan.remedy(r);
        r.control().toggleWalk();
        r.walkOn();
        r.verifyExactMap();
    }

    // The orientation stop marks the LED read through the wrong mirror: not the LED lit. With
    // the mirror set right in the camera window, F5 picks nothing before a new calibration;
    // back on 第1步, F5 walks to the exact map.
    void mirroredCameraIsCaughtAtTheOrientationStop() {
        Walk plan;
        plan.camera.view.frame = QSize(640, 360);
        plan.camera.view.mirrored = true;
        CameraRig r(plan);
        QVERIFY2(r.film(plan.camera), qPrintable(r.sim->errorString()));
        r.startOnFirstStep();
        QVERIFY2(QTest::qWaitFor([&] { return r.needsUser(); }, kWalkMs), qPrintable(r.story()));
        QVERIFY2(r.atOrientationStop(), qPrintable(r.story()));
        QCOMPARE(r.session().page(), Page::RowOrder);
        const QPoint lit = r.litCell();  // its mirror image across the module is marked
        QCOMPARE(r.walk().marked(), QList<QPoint>{QPoint(plan.m.w + 1 - lit.x(), lit.y())});
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
        r.verifyExactMap();
    }

private:
    QTemporaryDir m_settings;
};

QTEST_MAIN(CameraTroubleTest)
#include "tst_camera_trouble.moc"
