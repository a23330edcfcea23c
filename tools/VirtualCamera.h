#pragma once

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QPointF>
#include <chrono>
#include <deque>
#include <future>
#include <memory>
#include <optional>
#include <vector>

#include "CameraOptions.h"
#include "ModuleTimeline.h"
#include "ServedPicture.h"
#include "TimedValue.h"

class CameraScene;
class QTimer;

// A camera filming the virtual module: options.fps times a second it takes the module as the
// timeline had it over the exposure before the latency, draws it (CameraScene), adds the
// options' faults, encodes it as a JPEG and hands it on. Lives in a thread of its own, so
// that drawing never holds up the controller.
//
// The picture log and the run-time changes (setReflection, setNudge) are safe to use from any
// thread; the rest only from the camera's own.
class VirtualCamera : public QObject {
    Q_OBJECT

public:
    using Clock = std::chrono::steady_clock;
    // The pictures the log keeps, the oldest dropped first: over a minute and a half at 30 a
    // second.
    static constexpr int kLogLength = 3000;

    VirtualCamera(const CameraOptions& options, std::shared_ptr<const ModuleTimeline> timeline,
                  QObject* parent = nullptr);
    ~VirtualCamera() override;

    // Starts filming; `start` is the moment the options' times count from.
    void start(Clock::time_point start);

    // From now on (as seen after the latency) a reflection at `at` in LED units, or none.
    void setReflection(std::optional<QPointF> at);
    // From now on the camera stands nudged by this many LED pitches; (0, 0) puts it back.
    void setNudge(QPointF pitches);
    // Ends the stream now, as options.endAfter does at its time: nothing more is captured.
    // Only from the camera's own thread.
    void end();
    // Every part served so far, oldest first (at most kLogLength).
    std::vector<ServedPicture> pictures() const;

Q_SIGNALS:
    // One part of the stream: a new picture or, for a repeated one, the last one's bytes.
    void captured(const QByteArray& jpeg);
    // The stream's end (options.endAfter) has come: nothing more is captured.
    void ended();

private:
    void capture();
    void repeatLast();
    const CameraScene& sceneFor(QSize leds);
    void prepareScene(QSize leds);
    PictureEffects effectsAt(Clock::time_point seen, quint64 sequence, const CameraScene& scene);
    void log(ServedPicture picture);

    CameraOptions m_options;
    std::shared_ptr<const ModuleTimeline> m_timeline;
    QTimer* m_timer = nullptr;
    Clock::time_point m_start;
    std::unique_ptr<CameraScene> m_scene;
    // The scene for a size the module has just taken, prepared in a thread of its own while
    // the pictures still show the old size for a latency.
    QSize m_nextSize;
    std::future<std::unique_ptr<CameraScene>> m_nextScene;
    quint64 m_sequence = 0;
    bool m_repeatNext = false;
    QByteArray m_lastJpeg;
    bool m_ended = false;

    mutable QMutex m_mutex;  // guards what follows
    TimedValue<std::optional<QPointF>> m_reflection;
    TimedValue<QPointF> m_nudge;
    std::deque<ServedPicture> m_pictures;
};
