#include <QByteArray>
#include <QHash>
#include <QPoint>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "FakeSerialPort.h"
#include "RecordingNotifier.h"
#include "TestBytes.h"
#include "link/Link.h"
#include "session/CameraSource.h"
#include "session/CameraWalk.h"
#include "session/MappingSession.h"

using namespace std::chrono_literals;
using Clock = CameraWalk::Clock;
using Light = CameraReading::Light;
using Doubt = CameraReading::Doubt;
using State = CameraWalk::State;

// The walk's status starts with `text`; a failure shows the whole status.
#define VERIFY_STATUS(rig, text) \
    QVERIFY2((rig).walk.status().startsWith(text), qPrintable((rig).walk.status()))

Q_DECLARE_METATYPE(Light)
Q_DECLARE_METATYPE(State)

namespace {

// A port that tells each packet as it is written.
struct TellingPort : FakeSerialPort {
    std::function<void(const QByteArray&)> told;
    void write(const QByteArray& bytes) override {
        FakeSerialPort::write(bytes);
        if (told) {
            told(bytes);
        }
    }
};

struct RecordingCamera : CameraSource {
    QList<std::pair<qint64, qint64>> asked;  // dark frame, lit frame
    void calibrate(qint64 darkFrame, qint64 litFrame) override {
        asked.append({darkFrame, litFrame});
    }
};

// What the module shows from a moment on.
struct Shown {
    Clock::time_point from;
    Light light = Light::Dark;
    std::optional<QPoint> led;
};

// A module of 16 x 8 LEDs at scan 4 (4 row picks, 4 column picks), a camera that lags
// `latency` and sends a picture every 33 ms, and the walk, all on a clock the test moves.
// Row step n lights the LED in grid row n + 1, column 2n + 1; column step n the LED in row 8,
// column 4n + 2; a count past the steps lights nothing. Blink state `lit` lights the whole
// module (both with `bothLit`, neither with `neitherLit`). The camera reads what the module
// showed `latency` before each picture; once calibrated it reads LEDs, and it calibrates
// only from a picture that showed the module dark and one that showed it lit.
struct Rig {
    Clock::time_point now = Clock::now();
    TellingPort port;
    Link link{port};
    RecordingNotifier notifier;
    MappingSession session{link, notifier};
    RecordingCamera camera;
    CameraWalk walk{session, camera, [this] { return now; }};
    std::chrono::milliseconds latency = 100ms;
    Lit lit = Lit::StateTwo;         // on 第1步
    Lit displayLit = Lit::StateOne;  // on 第2步
    std::chrono::milliseconds frameEvery = 33ms;
    bool bothLit = false;
    bool neitherLit = false;
    bool calibrated = false;
    bool refuses = false;  // every calibration
    bool answers = true;   // calibrations, at once
    QString caution;       // what a calibration made says
    // Changes what a picture reads, given the time since the last packet lit an LED.
    std::function<void(CameraReading&, std::chrono::milliseconds)> tamper;
    // Column step n lights nothing when n is this.
    int deadColumnStep = -1;
    QList<Shown> shown{{now, Light::Dark, {}}};
    QHash<qint64, Light> frames;
    qint64 frame = 0;
    std::optional<Clock::time_point> nextTick;
    Lit nextState = Lit::StateOne;

    Rig() {
        link.choosePort(u("COM1"), u("/dev/fake"));
        port.told = [this](const QByteArray& packet) { onPacket(packet); };
        QObject::connect(&session, &MappingSession::pageChanged, [this](Page page) {
            const bool blinks = page == Page::OePolarity || page == Page::DisplayPolarity;
            nextTick = blinks ? std::optional(now + 20ms) : std::nullopt;
            nextState = Lit::StateOne;
        });
    }

    void onPacket(const QByteArray& packet) {
        const int sub = static_cast<unsigned char>(packet.at(8));
        const int count = static_cast<unsigned char>(packet.at(9));
        if (sub == 4) {  // HangTest
            show(Light::Dark,
                 count < 4 ? std::optional(QPoint(2 * count + 1, count + 1)) : std::nullopt);
        } else if (sub == 3) {  // LieTest: 8 x the picks
            const int step = count / 8;
            const bool lights = step < 4 && step != deadColumnStep;
            show(Light::Dark, lights ? std::optional(QPoint(4 * step + 2, 8)) : std::nullopt);
        }
    }
    void show(Light light, std::optional<QPoint> led = {}) { shown.append({now, light, led}); }

    // Leaves the parameter page for a 16 x 8 module at scan 4.
    void enterParameters() { session.next({u("16"), u("8"), 0, u("4"), 1}); }
    // The module's blink, as the session drives it: state 1 20 ms after a polarity page shows,
    // then every 2 s.
    void blinkIfDue() {
        if (!nextTick || now < *nextTick) {
            return;
        }
        const Lit state =
            std::exchange(nextState, nextState == Lit::StateOne ? Lit::StateTwo : Lit::StateOne);
        nextTick = *nextTick + 2000ms;
        const Lit litHere = session.page() == Page::OePolarity ? lit : displayLit;
        const bool on = bothLit || (!neitherLit && state == litHere);
        show(on ? Light::Lit : Light::Dark);
        Q_EMIT session.blinkShown(session.page(), state);
    }
    const Shown& shownAt(Clock::time_point t) const {
        auto it =
            std::find_if(shown.rbegin(), shown.rend(), [t](const Shown& s) { return s.from <= t; });
        return *it;
    }
    CameraReading picture() {
        CameraReading r;
        r.frame = ++frame;
        r.arrived = now;
        const Shown& s = shownAt(now - latency);
        r.light = s.led ? Light::Dark : s.light;
        r.doubt = !calibrated ? Doubt::Uncalibrated : s.led ? Doubt::None : Doubt::NoneLit;
        r.led = s.led.value_or(QPoint());
        frames.insert(r.frame, r.light);
        if (tamper) {
            tamper(r,
                   std::chrono::duration_cast<std::chrono::milliseconds>(now - shown.last().from));
        }
        return r;
    }
    // Runs the camera (and the blink) for `span`, or until `done`, answering calibrations as a
    // camera would.
    void run(std::chrono::milliseconds span, const std::function<bool()>& done = {}) {
        for (const Clock::time_point end = now + span; now < end && !(done && done());) {
            const Clock::time_point frameAt = now + frameEvery;
            if (nextTick && *nextTick < frameAt) {
                now = *nextTick;
                blinkIfDue();
            }
            now = frameAt;
            walk.onReading(picture());
            answerCalibration();
        }
    }
    void answerCalibration() {
        if (camera.asked.isEmpty() || !answers) {
            return;
        }
        const auto [dark, litFrame] = camera.asked.takeFirst();
        calibrated =
            !refuses && frames.value(dark) == Light::Dark && frames.value(litFrame) == Light::Lit;
        walk.onCalibrated(calibrated, calibrated ? caution : u("found 3 of 128 LEDs"));
    }
    // From the parameter page to the row page by the walk, the camera's setting confirmed.
    void walkToRows() {
        enterParameters();
        walk.setOrientationKnown(true);
        walk.start();
        run(12s, [this] { return session.page() == Page::RowOrder; });
    }
};

// The same answers given by hand: state 2 lit on 第1步, state 1 on 第2步, then every LED picked.
void walkByHand(Rig& hand) {
    hand.enterParameters();
    hand.session.choose(Page::OePolarity, Lit::StateTwo);
    hand.session.next({});
    hand.session.choose(Page::DisplayPolarity, Lit::StateOne);
    hand.session.next({});
    for (int n = 0; n < 4; ++n) {
        hand.session.pick(PickGrid::Rows, n + 1, 2 * n + 1);
    }
    for (int n = 0; n < 4; ++n) {
        hand.session.pick(PickGrid::Columns, 8, 4 * n + 2);
    }
}

}  // namespace

// The camera walk on the session alone, with readings scripted from what the module shows: no
// pictures, no window, a clock the test moves.
class CameraWalkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // From F5 on 第1步 to the map ready to save, with one stop to confirm the orientation: the
    // controller receives exactly what the same answers given by hand send.
    void walksTheWizardAsHandsWould() {
        Rig r;
        r.enterParameters();
        r.walk.start();
        r.run(12s);
        QCOMPARE(r.walk.state(), State::Stopped);  // the orientation stop, at the first pick
        QCOMPARE(r.walk.marked(), QList<QPoint>{QPoint(1, 1)});
        QSignalSpy confirmed(&r.walk, &CameraWalk::orientationConfirmed);
        r.walk.start();
        r.run(5s);
        QCOMPARE(confirmed.size(), 1);
        QCOMPARE(r.walk.state(), State::Ready);

        Rig hand;
        walkByHand(hand);
        QCOMPARE(r.port.written, hand.port.written);
        QCOMPARE(r.session.buildMap().toBytes(), hand.session.buildMap().toBytes());
        QVERIFY(r.notifier.messages.isEmpty());
    }

    // A polarity page answers only a clear cycle; anything else stops with its reason. A camera
    // that lagged too much stops the walk; another camera, timed afresh, goes on.
    void polarityPageAnswersOrStops_data() {
        QTest::addColumn<QString>("module");
        QTest::addColumn<int>("latencyMs");
        QTest::addColumn<int>("frameMs");      // between two pictures
        QTest::addColumn<QString>("outcome");  // the page it moved to, or the start of the stop
        QTest::newRow("state 2 lit") << u("2") << 100 << 33 << u("display");
        QTest::newRow("state 1 lit") << u("1") << 100 << 33 << u("display");
        QTest::newRow("latency 900 ms") << u("2") << 900 << 33 << u("display");
        QTest::newRow("two pictures a state") << u("2") << 100 << 600 << u("display");
        QTest::newRow("both lit") << u("both") << 100 << 33 << u("状态1和状态2下模块都亮");
        QTest::newRow("neither lit")
            << u("neither") << 100 << 33 << u("状态1和状态2下模块都不亮。请检查");
        QTest::newRow("lags 1.3 s") << u("2") << 1300 << 33 << u("相机的画面落后超过 1 秒");
        QTest::newRow("calibration refused")
            << u("refuses") << 100 << 33 << u("相机校准失败：found 3 of 128 LEDs");
    }

    void polarityPageAnswersOrStops() {
        QFETCH(QString, module);
        QFETCH(int, latencyMs);
        QFETCH(int, frameMs);
        QFETCH(QString, outcome);
        Rig r;
        r.latency = std::chrono::milliseconds(latencyMs);
        r.frameEvery = std::chrono::milliseconds(frameMs);
        r.lit = module == u("1") ? Lit::StateOne : Lit::StateTwo;
        r.bothLit = module == u("both");
        r.neitherLit = module == u("neither");
        r.refuses = module == u("refuses");
        r.enterParameters();
        r.walk.start();
        const Clock::time_point started = r.now;
        r.walk.onReading(r.picture());  // before the blink's first state: no window to judge yet
        r.run(12s, [&r] { return r.session.page() != Page::OePolarity || !r.walk.isRunning(); });
        if (outcome == u("display")) {
            QVERIFY(r.now - started < 4100ms);  // within the blink's first cycle and its latency
            QCOMPARE(r.session.page(), Page::DisplayPolarity);
            QCOMPARE(r.session.choice(Page::OePolarity), r.lit);
            QCOMPARE(r.walk.state(), State::Running);
            return;
        }
        QCOMPARE(r.walk.state(), State::Stopped);
        VERIFY_STATUS(r, outcome);
        QCOMPARE(r.session.page(), Page::OePolarity);
        QCOMPARE(r.port.written.size(), 1);  // CellTest only: nothing answered
        if (latencyMs > 1000) {              // another camera, timed afresh, goes on
            r.latency = 100ms;
            r.walk.forgetCamera();
            r.walk.start();
            r.run(12s, [&r] { return r.session.page() != Page::OePolarity; });
            QCOMPARE(r.session.page(), Page::DisplayPolarity);
            QCOMPARE(r.walk.state(), State::Running);
        }
    }

    // On the pick pages only fresh pictures count, two agreeing, and a stale picture never
    // becomes a pick; the camera's setting is confirmed, the polarities found by the walk.
    void picksComeFromTwoFreshAgreeingPictures_data() {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("outcome");  // "map": the map the hands make; else the stop
        QTest::newRow("none") << u("none") << u("map");
        QTest::newRow("stale pictures of another LED") << u("stale") << u("map");
        QTest::newRow("the lag grows to 400 ms") << u("lag") << u("map");
        QTest::newRow("one picture of a wrong LED") << u("one wrong") << u("map");
        QTest::newRow("every other picture in doubt") << u("doubts") << u("map");
        QTest::newRow("several lit") << u("several") << u("没有看清亮的灯：有几个灯同时亮");
        QTest::newRow("moved") << u("moved") << u("画面和校准时不一样了");
        QTest::newRow("a dead LED") << u("dead") << u("这一步没有灯亮");
    }

    void picksComeFromTwoFreshAgreeingPictures() {
        QFETCH(QString, trouble);
        QFETCH(QString, outcome);
        Rig r;
        r.walkToRows();
        const QPoint wrong(9, 9);
        int picture = 0;
        if (trouble == u("stale")) {  // what arrives within the latency after a packet
            r.tamper = [&](CameraReading& p, std::chrono::milliseconds since) {
                p = since < r.latency
                        ? CameraReading{p.frame, p.arrived, p.light, Doubt::None, wrong, {}}
                        : p;
            };
        } else if (trouble == u("lag")) {
            r.latency = 400ms;
        } else if (trouble == u("one wrong") || trouble == u("doubts")) {
            r.tamper = [&](CameraReading& p, std::chrono::milliseconds since) {
                const bool hit =
                    trouble == u("doubts") ? ++picture % 2 == 0 : since >= 200ms && since < 233ms;
                if (hit) {
                    p.doubt = trouble == u("doubts") ? Doubt::Unclear : Doubt::None;
                    p.led = wrong;
                }
            };
        } else if (trouble == u("several") || trouble == u("moved")) {
            const Doubt doubt = trouble == u("moved") ? Doubt::Moved : Doubt::SeveralLit;
            r.tamper = [doubt](CameraReading& p, std::chrono::milliseconds) {
                p.doubt = doubt;
                p.candidates = {QPoint(3, 4), QPoint(4, 4)};
            };
        }
        r.deadColumnStep = trouble == u("dead") ? 2 : -1;
        r.run(6s, [&r] { return !r.walk.isRunning(); });
        if (outcome == u("map")) {
            QCOMPARE(r.walk.state(), State::Ready);
            Rig hand;
            walkByHand(hand);
            QCOMPARE(r.port.written, hand.port.written);
            return;
        }
        QCOMPARE(r.walk.state(), State::Stopped);
        VERIFY_STATUS(r, outcome);
        // A moved camera's candidates were read through a calibration that no longer holds.
        const QList<QPoint> marked =
            trouble == u("several") ? QList<QPoint>{QPoint(3, 4), QPoint(4, 4)} : QList<QPoint>{};
        QCOMPARE(r.walk.marked(), marked);
    }

    // The user's own input wins over the walk, and the walk never drops a pick it made. What
    // the calibration could not promise is said while the walk picks.
    void interruptionsPauseEndOrStopTheWalk_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<State>("state");
        QTest::addColumn<QString>("status");
        QTest::newRow("a pick by hand") << u("pick") << State::Paused << u("已暂停");
        QTest::newRow("后退") << u("undo") << State::Paused << u("已暂停");
        QTest::newRow("上一步") << u("previous") << State::Idle << u("页面换了");
        QTest::newRow("下一步") << u("next") << State::Idle << u("页面换了");
        QTest::newRow("下载") << u("download") << State::Idle << u("页面换了");
        QTest::newRow("the port fails") << u("port") << State::Stopped << u("串口出错");
        QTest::newRow("the camera is lost")
            << u("lost") << State::Stopped << u("相机断开了：the stream stopped");
    }

    void interruptionsPauseEndOrStopTheWalk() {
        QFETCH(QString, what);
        QFETCH(State, state);
        QFETCH(QString, status);
        Rig r;
        r.caution = u("模块周围太暗");
        r.walkToRows();
        r.run(2s, [&r] { return r.session.picks(PickGrid::Rows).count() == 2; });
        QVERIFY2(r.walk.status().endsWith(u("\n模块周围太暗")), qPrintable(r.walk.status()));
        const std::map<QString, std::function<void()>> actions = {
            {u("pick"), [&r] { r.session.pick(PickGrid::Rows, 2, 3); }},
            {u("undo"), [&r] { r.session.undo(); }},
            {u("previous"), [&r] { r.session.previous(); }},
            {u("next"), [&r] { r.session.next({}); }},
            {u("download"), [&r] { r.session.returnToParameters(); }},
            {u("port"), [&r] { r.port.failWrite = true; }},
            {u("lost"), [&r] { r.walk.onCameraLost(u("the stream stopped")); }},
        };
        actions.at(what)();
        r.run(2s);
        QCOMPARE(r.walk.state(), state);
        VERIFY_STATUS(r, status);
        QVERIFY(r.session.picks(PickGrid::Rows).count() >= (what == u("undo") ? 1 : 2));
    }

    // F5 starts on the page in front, where the walk can answer it.
    void startIsRefusedWhereTheWalkCannotAnswer_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("status");
        QTest::newRow("parameter page") << u("parameters") << u("请先填好参数");
        QTest::newRow("80 LEDs in groups of 32") << u("10x8") << u("宽度×高度÷(8×扫描周期)");
        QTest::newRow("256 column picks") << u("64x32 scan 1") << u("宽度×高度÷(8×扫描周期)");
        QTest::newRow("row page, never calibrated") << u("rows") << u("相机还没有看清这个模块");
        QTest::newRow("parameters stored again") << u("again") << u("相机还没有看清这个模块");
    }

    void startIsRefusedWhereTheWalkCannotAnswer() {
        QFETCH(QString, where);
        QFETCH(QString, status);
        Rig r;
        if (where == u("10x8")) {
            r.session.next({u("10"), u("8"), 0, u("4"), 1});
        } else if (where == u("64x32 scan 1")) {
            r.session.next({u("64"), u("32"), 0, u("1"), 1});
        } else if (where == u("rows") || where == u("again")) {
            if (where == u("again")) {
                r.walkToRows();
                r.walk.pause();
                while (r.session.page() != Page::Parameters) {
                    r.session.previous();
                }
            }
            r.enterParameters();
            r.session.next({});
            r.session.next({});
        }
        r.walk.start();
        QCOMPARE(r.walk.state(), State::Stopped);
        VERIFY_STATUS(r, status);
    }

    // After a stop for a moved picture, F5 goes on only once the picture matches the
    // calibration again; after a stop in doubt, the user's click and F5 go on.
    void stopsWaitForTheUser() {
        Rig r;
        r.walkToRows();
        r.tamper = [](CameraReading& p, std::chrono::milliseconds) { p.doubt = Doubt::Moved; };
        r.run(3s);
        QCOMPARE(r.walk.state(), State::Stopped);
        r.walk.start();
        VERIFY_STATUS(r, u("画面仍和校准时不一样"));
        r.tamper = [](CameraReading& p, std::chrono::milliseconds) {
            p.doubt = p.led == QPoint(3, 2) ? Doubt::Unclear : p.doubt;
            p.candidates = {QPoint(3, 2)};
        };
        r.run(100ms);
        r.walk.start();
        QCOMPARE(r.walk.state(), State::Running);
        r.run(3s);  // the second row's LED reads as unclear: a stop with it marked
        QCOMPARE(r.walk.state(), State::Stopped);
        QCOMPARE(r.walk.marked(), QList<QPoint>{QPoint(3, 2)});
        r.tamper = {};
        r.session.pick(PickGrid::Rows, 2, 3);
        QCOMPARE(r.walk.state(), State::Paused);
        QVERIFY(r.walk.marked().isEmpty());
        // The camera now lags more than measured: the LED just clicked, never read for certain,
        // shows in its pictures for a while after the next packet. It must not be picked again.
        r.latency = 400ms;
        r.walk.start();
        r.run(5s, [&r] { return !r.walk.isRunning(); });
        QCOMPARE(r.walk.state(), State::Ready);
        Rig hand;
        walkByHand(hand);
        QCOMPARE(r.session.buildMap().toBytes(), hand.session.buildMap().toBytes());
    }

    // Coming back to 第1步 after the display polarity was sent, the module may stay dark in both
    // states: the stop says so (not when 第2步 was left backwards). A module that never shows a
    // clear cycle stops after three.
    void polarityStopsNameTheirCause() {
        Rig back;
        back.enterParameters();
        back.session.next({});
        back.session.previous();
        back.neitherLit = true;
        back.walk.start();
        back.run(6s, [&back] { return !back.walk.isRunning(); });
        VERIFY_STATUS(back, u("状态1和状态2下模块都不亮。请检查"));
        Rig r;
        r.walkToRows();
        r.walk.pause();
        r.session.previous();
        r.session.previous();
        r.neitherLit = true;
        r.walk.start();
        r.run(6s, [&r] { return !r.walk.isRunning(); });
        QVERIFY2(r.walk.status().contains(u("上次发送的显示极性")), qPrintable(r.walk.status()));
        r.neitherLit = false;
        int picture = 0;
        r.tamper = [&picture](CameraReading& p, std::chrono::milliseconds) {
            p.light = ++picture % 2 ? Light::Lit : Light::Dark;
        };
        const Clock::time_point started = r.now;
        r.walk.start();
        r.run(20s, [&r] { return !r.walk.isRunning(); });
        VERIFY_STATUS(r, u("看不清模块"));
        QVERIFY(r.now - started > 10s && r.now - started < 13s);  // three cycles of 4 s
    }

    // A new camera setting ends the calibration: on a polarity page the walk watches anew and
    // ignores the calibration it had asked for; on a pick page it cannot go on.
    void aNewSettingEndsTheCalibration() {
        Rig r;
        r.enterParameters();
        r.answers = false;
        r.walk.start();
        r.run(3s, [&r] { return !r.camera.asked.isEmpty(); });
        QCOMPARE(r.camera.asked.size(), 1);
        r.walk.forgetCalibration();
        r.walk.onCalibrated(true, {});  // the answer to the old setting
        QCOMPARE(r.session.page(), Page::OePolarity);
        QCOMPARE(r.walk.state(), State::Running);
        r.camera.asked.clear();
        r.answers = true;
        r.run(12s, [&r] { return r.session.page() == Page::RowOrder; });
        QCOMPARE(r.session.page(), Page::RowOrder);  // watched and calibrated anew
        r.walk.forgetCalibration();
        QCOMPARE(r.walk.state(), State::Stopped);
        VERIFY_STATUS(r, u("相机还没有看清这个模块"));
    }

    // The camera's setting changed at the orientation stop (the LED marked was not the LED
    // lit): F5 must not pick the LED read through the old setting, and says why it cannot go on.
    void settingChangedAtTheOrientationStopPicksNothing() {
        Rig r;
        r.enterParameters();
        r.walk.start();
        r.run(12s);
        QCOMPARE(r.walk.marked(), QList<QPoint>{QPoint(1, 1)});  // the orientation stop
        r.walk.setOrientationKnown(false);
        r.walk.forgetCalibration();
        r.walk.start();
        QCOMPARE(r.session.picks(PickGrid::Rows).count(), 0);
        QCOMPARE(r.walk.state(), State::Stopped);
        VERIFY_STATUS(r, u("相机还没有看清这个模块"));
    }

    // Without any picture at all, a pick step still ends when its time is up.
    void pickStepEndsWithoutPictures() {
        Rig r;
        r.walkToRows();
        r.now += 3s;
        QTRY_COMPARE_WITH_TIMEOUT(r.walk.state(), State::Stopped, 3000);
        VERIFY_STATUS(r, u("没有看清亮的灯：没有灯亮"));
    }
};

QTEST_GUILESS_MAIN(CameraWalkTest)
#include "tst_camera_walk.moc"
