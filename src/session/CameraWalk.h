#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

#include "session/CameraReading.h"
#include "session/Page.h"

class CameraSource;
class MappingSession;

// The camera's answers to the wizard. While it runs it watches what the camera reads and
// answers the page in front through the session's own actions, as a user would: on a polarity
// page choose() and next(), on a pick page pick(); so the controller receives exactly the
// packets of the same answers given by hand. Whenever it is unsure it stops and says why; what
// it did stays done.
//
// Time: a picture shows the module as it was the camera's latency before it arrived. Until the
// latency has been measured (the time from a blink tick to the first picture in which the
// module's light changed) it is taken as kLongestLatency; a larger one stops the walk. Only
// pictures that arrived at least the latency (plus kLatencyMargin, for the pictures' uneven
// arrival) after a packet count as showing that packet's effect.
//
// Polarity pages: the module blinks between state 1 and state 2. Once a whole cycle has been
// seen (each state in two agreeing pictures, none disagreeing), one lit and the other dark, the
// walk asks the camera to calibrate from a dark and a lit picture of that cycle and, once it
// has, chooses the lit state and moves on. Both lit, neither lit, no clear cycle within
// kPolarityCycles, or a refused calibration: it stops.
//
// Pick pages: after each count is sent, it waits for two pictures certain of the same LED and
// picks it; pictures in doubt are skipped. An LED that may have been lit before the packet (the
// last LED read for certain, the last pick of the page) is believed only in pictures that
// arrived kLongestLatency after it: a stale picture must never become the next pick. Without two
// agreeing pictures within kPickPatience past the latency, it stops with the last doubt's reason
// and its candidates marked. Before its first pick with a camera setting not confirmed before, it
// stops with the LED read marked, so that the user sees whether the grid and the panel agree; F5
// confirms and makes that pick. On the column page it is done after W x H / (8 x S) picks; it
// refuses to start where that is not a whole number of at most 128.
//
// The user's own input wins: a pick or an undo by hand pauses the walk; a change of page it
// did not make ends it. A pick whose packet the port refused, or a camera lost, stops it.
class CameraWalk : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    static constexpr std::chrono::milliseconds kLongestLatency{1000};
    static constexpr std::chrono::milliseconds kLatencyMargin{10};
    static constexpr std::chrono::milliseconds kPickPatience{1000};
    static constexpr int kPolarityCycles = 3;
    static constexpr int kLagsKept = 5;

    enum class State {
        Idle,    // not started, or ended by a change of page
        Paused,  // by the user; F5 goes on
        Running,
        Stopped,  // needs the user: message() says why; F5 goes on
        Ready,    // the column page has all its picks
    };

    CameraWalk(MappingSession& session, CameraSource& camera, Now now = Clock::now,
               QObject* parent = nullptr);

    // Why a picture names no LED, in words: "有几个灯同时亮".
    static QString describe(CameraReading::Doubt doubt);

    State state() const { return m_state; }
    bool isRunning() const { return m_state == State::Running; }
    // What the walk does or waits for, or why it stopped: one line for the camera window.
    QString status() const;
    // The grid cells a stop asks the user to look at: the LED read, or the candidates.
    const QList<QPoint>& marked() const { return m_marked; }
    bool isCalibrated() const { return m_calibrated; }

    // F5: starts on the page in front, or goes on after a pause or a stop.
    void start();
    // F5 while running, Esc, closing the camera window.
    void pause();
    // The camera in use has shown, with its rotation and mirror setting, that the grid and the
    // panel agree: no orientation stop.
    void setOrientationKnown(bool known) { m_orientationKnown = known; }
    // The camera's source or setting changed: its calibration no longer holds, nor does an LED
    // read through it and waiting at the orientation stop; a walk that runs starts over on the
    // page in front (a calibration asked for is no longer awaited).
    void forgetCalibration();
    // The camera's source changed, or was connected again: its lag is measured afresh at the
    // next polarity page, and its calibration no longer holds.
    void forgetCamera();

    void onReading(const CameraReading& reading);
    // The calibration asked for: when refused, `note` says why; when made, it may say what the
    // walk cannot watch for (a camera nudged in a dark room), shown while it picks.
    void onCalibrated(bool calibrated, const QString& note);
    void onCameraLost(const QString& why);

Q_SIGNALS:
    // State, status or marks changed.
    void changed();
    // Stopped for the user, or the map is ready: the user watches the panel, so the window
    // comes to the front.
    void wantsAttention();
    // F5 at the orientation stop: the user confirmed that the camera's setting is right.
    void orientationConfirmed();

private:
    enum class Phase { None, Polarity, Calibrating, Picking };
    enum class StopKind { Other, Orientation, Moved };
    // What the pictures of one blink state showed, from the latency after its tick on.
    struct Window {
        Lit state = Lit::StateOne;
        Clock::time_point tick{};
        int lit = 0;
        int dark = 0;
        qint64 litFrame = 0;
        qint64 darkFrame = 0;
    };

    void onPageChanged(Page page);
    void onPicksChanged();
    void onBlinkShown(Page page, Lit state);
    void noteSent();
    void begin();
    void stop(const QString& message, StopKind kind = StopKind::Other,
              const QList<QPoint>& marked = {});
    void end(const QString& status);
    void setState(State state);
    std::chrono::milliseconds latency() const;
    void measureLatency(const CameraReading& reading);
    void watchPolarity(const CameraReading& reading);
    void judgeCycle();
    void watchPicks(const CameraReading& reading);
    void pickNow(QPoint led);
    void startPickStep();
    void onDeadline();
    bool deadlinePassed(Clock::time_point at) const;
    void stopForDoubt();
    std::optional<int> columnPicksNeeded() const;
    bool columnsDone() const;
    template <typename Action>
    bool act(Action action);

    MappingSession& m_session;
    CameraSource& m_camera;
    Now m_now;
    State m_state = State::Idle;
    Phase m_phase = Phase::None;
    StopKind m_stopKind = StopKind::Other;
    QString m_status;
    QList<QPoint> m_marked;
    bool m_acting = false;
    bool m_sendFailed = false;
    bool m_calibrated = false;
    bool m_orientationKnown = false;
    bool m_displaySent = false;
    QString m_caution;
    Page m_page = Page::Parameters;

    // Latency
    QList<std::chrono::milliseconds> m_lags;  // the last few measured, oldest first
    std::optional<std::chrono::milliseconds> m_latency;
    std::optional<Clock::time_point> m_changeAwaitedSince;
    CameraReading::Light m_lightAtTick = CameraReading::Light::Unsure;
    CameraReading::Light m_lastLight = CameraReading::Light::Unsure;
    bool m_lastMoved = false;

    // Polarity pages
    QList<Window> m_windows;
    int m_windowsJudged = 0;
    Lit m_answer = Lit::StateOne;

    // Pick pages
    Clock::time_point m_sentAt{};
    Clock::time_point m_deadlineAt{};
    QList<QPoint> m_ledsBeforePacket;
    std::optional<QPoint> m_lastCertain;
    std::optional<QPoint> m_agreeing;
    int m_agreeingCount = 0;
    CameraReading m_lastDoubt;
    bool m_doubtSeen = false;
    std::optional<QPoint> m_orientationLed;
    QTimer m_deadline;
};
