#include "session/CameraWalk.h"

#include <QCoreApplication>
#include <algorithm>

#include "core/MapLayout.h"
#include "session/CameraSource.h"
#include "session/MappingSession.h"
#include "session/WizardSteps.h"

using namespace std::chrono;
using Light = CameraReading::Light;
using Doubt = CameraReading::Doubt;

namespace {

constexpr int kAgreeingPictures = 2;

QString text(const char* source) {
    return QCoreApplication::translate("CameraWalk", source);
}

const char* const kLags = QT_TRANSLATE_NOOP(
    "CameraWalk", "相机的画面落后超过 1 秒，跟不上闪烁。请换一个延迟小的相机或连接方式，再按 F5。");
const char* const kBothLit = QT_TRANSLATE_NOOP(
    "CameraWalk", "状态1和状态2下模块都亮，分不出哪一种才亮。请检查模块和连线，再按 F5。");
const char* const kNeitherLit = QT_TRANSLATE_NOOP(
    "CameraWalk", "状态1和状态2下模块都不亮。请检查相机是否对准模块、模块是否通电，再按 F5。");
const char* const kNeitherLitAfterDisplay = QT_TRANSLATE_NOOP(
    "CameraWalk",
    "状态1和状态2下模块都不亮。回到第1步时，上次发送的显示极性可能让模块一直不亮：请回到参数页，"
    "按下一步重新开始，再按 F5。");
const char* const kUnclear = QT_TRANSLATE_NOOP(
    "CameraWalk", "看不清模块在两种状态下是亮还是暗。请让相机对准整个模块、调暗房间，再按 F5。");
const char* const kRefused = QT_TRANSLATE_NOOP("CameraWalk", "相机校准失败：%1");
const char* const kStartOnParameters =
    QT_TRANSLATE_NOOP("CameraWalk", "请先填好参数并按下一步，再按 F5。");
const char* const kNotCalibrated =
    QT_TRANSLATE_NOOP("CameraWalk", "相机还没有看清这个模块。请回到第1步，再按 F5。");
const char* const kColumnsNotWhole = QT_TRANSLATE_NOOP(
    "CameraWalk",
    "宽度×高度÷(8×扫描周期) 不是 1 到 128 之间的整数，相机无法完成列选择。请检查参数。");
const char* const kOrientation = QT_TRANSLATE_NOOP(
    "CameraWalk",
    "请看面板：网格中标出的格子是不是正亮着的那个灯？是，按 F5 继续；不是，请在相机窗口中改"
    "旋转或镜像。");
const char* const kPickDoubt =
    QT_TRANSLATE_NOOP("CameraWalk", "没有看清亮的灯：%1。请在网格中点正亮着的那个格子，再按 F5。");
const char* const kNothingOnColumns = QT_TRANSLATE_NOOP(
    "CameraWalk",
    "这一步没有灯亮：可能是坏灯，或者宽度、高度、扫描周期填错了。请在网格中点该亮的格子再按 F5，"
    "或检查参数。");
const char* const kMoved = QT_TRANSLATE_NOOP(
    "CameraWalk",
    "画面和校准时不一样了：相机可能被碰动了。请把相机放回原处再按 F5；放不回去的话，请回到第1步重新"
    "开始。");
const char* const kStillMoved = QT_TRANSLATE_NOOP(
    "CameraWalk", "画面仍和校准时不一样。请把相机放回原处；放不回去的话，请回到第1步重新开始。");
const char* const kPortFailed =
    QT_TRANSLATE_NOOP("CameraWalk", "串口出错，相机已停下。已做的选择都保留着。");
const char* const kCameraLost =
    QT_TRANSLATE_NOOP("CameraWalk", "相机断开了：%1。已做的选择都保留着。");
const char* const kReady = QT_TRANSLATE_NOOP("CameraWalk", "列选择已完成：按“完成”保存地图。");
const char* const kPageChanged = QT_TRANSLATE_NOOP("CameraWalk", "页面换了，相机已停下。");
const char* const kPaused = QT_TRANSLATE_NOOP("CameraWalk", "已暂停：按 F5 继续。");
const char* const kWatchingBlink =
    QT_TRANSLATE_NOOP("CameraWalk", "正在看模块在状态1和状态2下的亮暗…");
const char* const kCalibrating = QT_TRANSLATE_NOOP("CameraWalk", "正在校准相机…");
const char* const kWatchingPick = QT_TRANSLATE_NOOP("CameraWalk", "正在等第 %1 个灯亮…");

}  // namespace

QString CameraWalk::describe(CameraReading::Doubt doubt) {
    switch (doubt) {
        case Doubt::SeveralLit:
            return text(QT_TRANSLATE_NOOP("CameraWalk", "有几个灯同时亮"));
        case Doubt::Unclear:
            return text(QT_TRANSLATE_NOOP("CameraWalk", "有灯在亮和暗之间"));
        case Doubt::LightOffLeds:
            return text(QT_TRANSLATE_NOOP("CameraWalk", "灯之间或模块旁有光，可能是反光"));
        case Doubt::Overexposed:
            return text(QT_TRANSLATE_NOOP("CameraWalk", "画面太亮"));
        case Doubt::Moved:
            return text(QT_TRANSLATE_NOOP("CameraWalk", "画面和校准时不一样，相机可能动了"));
        case Doubt::NoneLit:
        case Doubt::Uncalibrated:
        case Doubt::None:
            break;
    }
    return text(QT_TRANSLATE_NOOP("CameraWalk", "没有灯亮"));
}

CameraWalk::CameraWalk(MappingSession& session, CameraSource& camera, Now now, QObject* parent)
    : QObject(parent), m_session(session), m_camera(camera), m_now(std::move(now)) {
    m_page = session.page();
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &CameraWalk::onDeadline);
    connect(&session, &MappingSession::pageChanged, this, &CameraWalk::onPageChanged);
    connect(&session, &MappingSession::picksChanged, this, &CameraWalk::onPicksChanged);
    connect(&session, &MappingSession::blinkShown, this, &CameraWalk::onBlinkShown);
    connect(&session, &MappingSession::pickNotSent, this, [this] { m_sendFailed = true; });
}

QString CameraWalk::status() const {
    if (m_state != State::Running) {
        return m_status;
    }
    switch (m_phase) {
        case Phase::Polarity:
            return text(kWatchingBlink);
        case Phase::Calibrating:
            return text(kCalibrating);
        case Phase::Picking: {
            const WizardSteps::PickStep* step = WizardSteps::pickStep(m_page);
            const int made = step ? m_session.picks(step->grid).count() : 0;
            const QString watching = text(kWatchingPick).arg(made + 1);
            return m_caution.isEmpty() ? watching : watching + u'\n' + m_caution;
        }
        case Phase::None:
            break;
    }
    return {};
}

void CameraWalk::setState(State state) {
    m_state = state;
    if (state != State::Stopped) {
        m_marked.clear();
    }
    if (state != State::Running) {
        m_deadline.stop();
    }
    Q_EMIT changed();
}

void CameraWalk::start() {
    if (m_state == State::Running) {
        return;
    }
    if (m_state == State::Stopped && m_stopKind == StopKind::Moved && m_lastMoved) {
        return stop(text(kStillMoved), StopKind::Moved, m_marked);
    }
    if (m_state == State::Stopped && m_stopKind == StopKind::Orientation && m_orientationLed) {
        m_orientationKnown = true;
        Q_EMIT orientationConfirmed();
        setState(State::Running);
        m_phase = Phase::Picking;
        return pickNow(*std::exchange(m_orientationLed, std::nullopt));
    }
    begin();
}

// Starts on the page in front.
void CameraWalk::begin() {
    m_stopKind = StopKind::Other;
    if (m_page == Page::Parameters) {
        return stop(text(kStartOnParameters));
    }
    if (!columnPicksNeeded()) {
        return stop(text(kColumnsNotWhole));
    }
    if (m_latency && *m_latency > kLongestLatency) {
        return stop(text(kLags));
    }
    if (WizardSteps::polarityStep(m_page)) {
        for (Window& window : m_windows) {
            window.lit = window.dark = 0;
        }
        m_windowsJudged = 0;
        m_phase = Phase::Polarity;
        return setState(State::Running);
    }
    if (!m_calibrated) {
        return stop(text(kNotCalibrated));
    }
    if (columnsDone()) {
        return setState(State::Ready);
    }
    m_phase = Phase::Picking;
    setState(State::Running);
    startPickStep();
}

void CameraWalk::pause() {
    if (m_state == State::Running || m_state == State::Stopped) {
        m_status = text(kPaused);
        setState(State::Paused);
    }
}

// A walk that is running starts over on the page in front: a polarity page is watched again and
// calibrated anew, a pick page can no longer be walked.
void CameraWalk::forgetCalibration() {
    m_calibrated = false;
    m_caution.clear();
    m_orientationLed.reset();  // F5 at the orientation stop must not pick it
    if (m_state == State::Running) {
        begin();
    }
}

// The lag is the longest ever seen, so only a new camera can make it shorter: one that lagged
// too much would otherwise stop every walk after it.
void CameraWalk::forgetCamera() {
    m_latency.reset();
    m_lags.clear();
    m_changeAwaitedSince.reset();
    m_lastLight = Light::Unsure;
    forgetCalibration();
}

void CameraWalk::stop(const QString& message, StopKind kind, const QList<QPoint>& marked) {
    m_status = message;
    m_stopKind = kind;
    m_phase = Phase::None;
    setState(State::Stopped);
    m_marked = marked;
    Q_EMIT changed();
    Q_EMIT wantsAttention();
}

void CameraWalk::end(const QString& status) {
    m_status = status;
    m_phase = Phase::None;
    m_orientationLed.reset();
    setState(State::Idle);
}

milliseconds CameraWalk::latency() const {
    return m_latency.value_or(kLongestLatency);
}

// Runs a session action as the walk's own: its page changes and picks are not the user's. False,
// with the walk stopped, when the port refused what the action sent.
template <typename Action>
bool CameraWalk::act(Action action) {
    m_acting = true;
    m_sendFailed = false;
    action();
    m_acting = false;
    if (m_sendFailed) {
        stop(text(kPortFailed));
        return false;
    }
    return true;
}

void CameraWalk::onPageChanged(Page page) {
    const Page left = std::exchange(m_page, page);
    if (left == Page::Parameters && page != Page::Parameters) {
        m_calibrated = false;  // the parameters were stored again
        m_displaySent = false;
    }
    if (WizardSteps::polarityStep(left) && WizardSteps::pickStep(page)) {
        m_displaySent = true;  // the last polarity page left for the first pick page
    }
    m_windows.clear();
    noteSent();
    if (!m_acting && m_state != State::Idle) {
        end(text(kPageChanged));
    }
}

// A count packet goes out now. Until the camera has surely seen it, its pictures may show the LED
// lit before it: the last LED read for certain, or the last pick of the page in front.
void CameraWalk::noteSent() {
    m_sentAt = m_now();
    m_ledsBeforePacket.clear();
    if (m_lastCertain) {
        m_ledsBeforePacket.append(*m_lastCertain);
    }
    const WizardSteps::PickStep* step = WizardSteps::pickStep(m_page);
    const PassPicks* made = step ? &m_session.picks(step->grid) : nullptr;
    if (made && made->count() > 0) {
        m_ledsBeforePacket.append(made->last());
    }
}

void CameraWalk::onPicksChanged() {
    noteSent();
    if (m_acting) {
        return;
    }
    m_orientationLed.reset();
    if (m_state == State::Running || m_state == State::Stopped) {
        pause();
    }
}

void CameraWalk::onBlinkShown(Page page, Lit state) {
    if (page != m_page) {
        return;
    }
    const Clock::time_point now = m_now();
    m_windows.append({state, now, 0, 0, 0, 0});
    m_changeAwaitedSince = now;
    m_lightAtTick = m_lastLight;
    if (m_state != State::Running || m_phase != Phase::Polarity || m_windows.size() < 2) {
        return;
    }
    if (++m_windowsJudged >= 2 * kPolarityCycles) {
        return stop(text(kUnclear));
    }
    judgeCycle();
}

void CameraWalk::onReading(const CameraReading& reading) {
    m_lastMoved = reading.doubt == Doubt::Moved;
    if (reading.doubt == Doubt::None) {
        m_lastCertain = reading.led;
    }
    measureLatency(reading);
    if (m_state != State::Running) {
        return;
    }
    if (m_latency && *m_latency > kLongestLatency) {
        return stop(text(kLags));
    }
    if (m_phase == Phase::Polarity) {
        watchPolarity(reading);
    } else if (m_phase == Phase::Picking) {
        watchPicks(reading);
    }
}

// The first picture after a blink tick whose light is no longer the light before it (lit, dark,
// or between the two in a picture taken across the change) tells how long the camera lags. The
// median of the last few lags counts: one picture that happened to look changed too early or too
// late moves it little. (A stale picture of the LED lit before a packet is kept out by the LEDs
// remembered at the packet, not by the lag alone.)
void CameraWalk::measureLatency(const CameraReading& reading) {
    if (m_changeAwaitedSince && m_lightAtTick != Light::Unsure && reading.light != m_lightAtTick) {
        m_lags.append(duration_cast<milliseconds>(reading.arrived - *m_changeAwaitedSince));
        if (m_lags.size() > kLagsKept) {
            m_lags.removeFirst();
        }
        QList<milliseconds> sorted = m_lags;
        std::sort(sorted.begin(), sorted.end());
        m_latency = sorted[sorted.size() / 2];
        m_changeAwaitedSince.reset();
    }
    if (reading.light != Light::Unsure) {
        m_lastLight = reading.light;
    }
}

void CameraWalk::watchPolarity(const CameraReading& reading) {
    if (m_windows.isEmpty() || reading.light == Light::Unsure) {
        return;
    }
    Window& window = m_windows.last();
    if (reading.arrived < window.tick + latency() + kLatencyMargin) {
        return;  // may still show the state before this tick
    }
    if (reading.light == Light::Lit) {
        ++window.lit;
        window.litFrame = reading.frame;
    } else {
        ++window.dark;
        window.darkFrame = reading.frame;
    }
    judgeCycle();
}

// A whole cycle: a window and the one before, each in agreeing pictures and none against. While
// the latency is not measured, a window is judged only once it has closed: until then its
// pictures may still show the state before it, however late they come.
void CameraWalk::judgeCycle() {
    const auto settled = [](const Window& w) {
        return (w.lit >= kAgreeingPictures && w.dark == 0) ||
               (w.dark >= kAgreeingPictures && w.lit == 0);
    };
    const qsizetype last = m_windows.size() - (m_latency ? 1 : 2);
    if (last < 1) {
        return;
    }
    const Window& now = m_windows[last];
    const Window& before = m_windows[last - 1];
    if (!settled(now) || !settled(before)) {
        return;
    }
    if ((now.lit > 0) == (before.lit > 0)) {
        const bool afterDisplay = m_displaySent && m_page == Page::OePolarity;
        return stop(text(now.lit > 0    ? kBothLit
                         : afterDisplay ? kNeitherLitAfterDisplay
                                        : kNeitherLit));
    }
    const Window& lit = now.lit > 0 ? now : before;
    const Window& dark = now.lit > 0 ? before : now;
    m_answer = lit.state;
    m_phase = Phase::Calibrating;
    Q_EMIT changed();
    m_camera.calibrate(dark.darkFrame, lit.litFrame);
}

void CameraWalk::onCalibrated(bool calibrated, const QString& note) {
    if (m_phase != Phase::Calibrating || m_state != State::Running) {
        return;
    }
    if (!calibrated) {
        return stop(text(kRefused).arg(note));
    }
    m_calibrated = true;
    m_caution = note;
    const Page page = m_page;
    if (!act([&] {
            m_session.choose(page, m_answer);
            m_session.next({});
        })) {
        return;
    }
    if (m_page == page) {
        return stop(text(kPortFailed));  // the session said why
    }
    begin();
}

void CameraWalk::startPickStep() {
    m_agreeing.reset();
    m_agreeingCount = 0;
    m_doubtSeen = false;
    const Clock::time_point now = m_now();
    m_deadlineAt = std::max(m_sentAt + latency(), now) + kPickPatience;
    m_deadline.start(duration_cast<milliseconds>(m_deadlineAt - now) + kLatencyMargin);
    Q_EMIT changed();
}

bool CameraWalk::deadlinePassed(Clock::time_point at) const {
    return at > m_deadlineAt;
}

void CameraWalk::watchPicks(const CameraReading& reading) {
    if (reading.arrived < m_sentAt + latency() + kLatencyMargin) {
        return;  // may show the LED of the step before
    }
    if (deadlinePassed(reading.arrived)) {
        return stopForDoubt();
    }
    if (reading.doubt != Doubt::None) {
        m_lastDoubt = reading;
        m_doubtSeen = true;
        return;
    }
    if (m_ledsBeforePacket.contains(reading.led) && reading.arrived < m_sentAt + kLongestLatency) {
        return;  // lit before the packet too: only a picture surely after it may say so
    }
    if (m_agreeing != reading.led) {
        m_agreeing = reading.led;
        m_agreeingCount = 0;
    }
    if (++m_agreeingCount < kAgreeingPictures) {
        return;
    }
    if (!m_orientationKnown) {
        m_orientationLed = reading.led;
        return stop(text(kOrientation), StopKind::Orientation, {reading.led});
    }
    pickNow(reading.led);
}

void CameraWalk::pickNow(QPoint led) {
    const WizardSteps::PickStep* step = WizardSteps::pickStep(m_page);
    if (!step || !act([&] { m_session.pick(step->grid, led.y(), led.x()); })) {
        return;
    }
    m_ledsBeforePacket.append(led);
    if (columnsDone()) {
        m_status = text(kReady);
        setState(State::Ready);
        Q_EMIT wantsAttention();
        return;
    }
    startPickStep();
}

void CameraWalk::onDeadline() {
    if (m_state == State::Running && m_phase == Phase::Picking && deadlinePassed(m_now())) {
        stopForDoubt();
    }
}

void CameraWalk::stopForDoubt() {
    const Doubt doubt = m_doubtSeen ? m_lastDoubt.doubt : Doubt::NoneLit;
    const QList<QPoint> candidates = m_doubtSeen ? m_lastDoubt.candidates : QList<QPoint>{};
    if (doubt == Doubt::Moved) {
        return stop(text(kMoved), StopKind::Moved);  // LEDs read through a calibration gone wrong
    }
    if (doubt == Doubt::NoneLit && m_page == Page::ColumnOrder) {
        return stop(text(kNothingOnColumns), StopKind::Other, candidates);
    }
    stop(text(kPickDoubt).arg(describe(doubt)), StopKind::Other, candidates);
}

void CameraWalk::onCameraLost(const QString& why) {
    if (m_state == State::Running || m_state == State::Stopped || m_state == State::Paused) {
        stop(text(kCameraLost).arg(why));
    }
}

// W x H / (8 x S), when it is a whole number of column picks the map can hold.
std::optional<int> CameraWalk::columnPicksNeeded() const {
    const ScanMapBuffer& words = m_session.buffer();
    const int leds = words.at(MapLayout::kWidth).value() * words.at(MapLayout::kHeight).value();
    const int perPick = MapLayout::kColumnsPerGroup * words.at(MapLayout::kScanCount).value();
    if (perPick <= 0 || leds % perPick != 0 || leds / perPick < 1 ||
        leds / perPick > MapLayout::kMaxColumnEntries) {
        return std::nullopt;
    }
    return leds / perPick;
}

bool CameraWalk::columnsDone() const {
    return m_page == Page::ColumnOrder &&
           m_session.picks(PickGrid::Columns).count() >= columnPicksNeeded().value_or(0);
}
