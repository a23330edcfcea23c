#include "VirtualCamera.h"

#include <QMutexLocker>
#include <QTimer>
#include <cmath>

#include "CameraScene.h"
#include "SeededRandom.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Refresh banding: the band covers an eighth of the module's rows at this share of their light.
constexpr int kBandShare = 8;
constexpr double kBandLevel = 0.3;

// What the log keeps of a picture: the LEDs lit all through its exposure, and those lit for part.
ServedPicture servedPicture(const ModuleTimeline::Exposure& exposure, quint64 sequence,
                            VirtualCamera::Clock::time_point captured) {
    ServedPicture picture;
    picture.sequence = sequence;
    picture.captured = captured;
    picture.lastPacketInFull = exposure.lastPacketInFull;
    picture.lastPacketSeen = exposure.lastPacketSeen;
    picture.leds = exposure.leds;
    picture.lit = QBitArray(static_cast<int>(exposure.levels.size()));
    for (int i = 0; i < picture.lit.size(); ++i) {
        const float level = exposure.levels[static_cast<std::size_t>(i)];
        if (level >= 0.999f) {
            picture.lit.setBit(i);
        } else if (level > 0.001f) {
            picture.partlyLit.emplace_back(i, level);
        }
    }
    return picture;
}

}  // namespace

VirtualCamera::VirtualCamera(const CameraOptions& options,
                             std::shared_ptr<const ModuleTimeline> timeline, QObject* parent)
    : QObject(parent), m_options(options), m_timeline(std::move(timeline)) {}

VirtualCamera::~VirtualCamera() = default;

void VirtualCamera::start(Clock::time_point start) {
    m_start = start;
    {
        const QMutexLocker lock(&m_mutex);
        if (m_options.reflectionAt) {
            m_reflection.set(start + m_options.reflectionFrom, m_options.reflectionAt);
        }
        if (!m_options.nudge.isNull()) {
            m_nudge.set(start + m_options.nudgeFrom, m_options.nudge);
        }
    }
    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(static_cast<int>(std::lround(1000.0 / std::max(1, m_options.fps))));
    connect(m_timer, &QTimer::timeout, this, &VirtualCamera::capture);
    m_timer->start();
    if (m_options.endAfter) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(start + *m_options.endAfter -
                                                                       Clock::now());
        QTimer::singleShot(std::max(left, std::chrono::milliseconds(0)), Qt::PreciseTimer, this,
                           &VirtualCamera::end);
    }
}

void VirtualCamera::end() {
    if (m_ended || !m_timer) {
        return;  // ended already, or never started
    }
    m_ended = true;
    m_timer->stop();
    Q_EMIT ended();
}

void VirtualCamera::setReflection(std::optional<QPointF> at) {
    const QMutexLocker lock(&m_mutex);
    m_reflection.set(Clock::now(), at);
}

void VirtualCamera::setNudge(QPointF pitches) {
    const QMutexLocker lock(&m_mutex);
    m_nudge.set(Clock::now(), pitches);
}

std::vector<ServedPicture> VirtualCamera::pictures() const {
    const QMutexLocker lock(&m_mutex);
    return {m_pictures.begin(), m_pictures.end()};
}

void VirtualCamera::log(ServedPicture picture) {
    const QMutexLocker lock(&m_mutex);
    m_pictures.push_back(std::move(picture));
    if (m_pictures.size() > kLogLength) {
        m_pictures.pop_front();
    }
}

void VirtualCamera::capture() {
    if (m_ended) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (m_repeatNext) {
        repeatLast();
        return;
    }
    prepareScene(m_timeline->latestSize());
    const Clock::time_point seen = now - m_options.latency;
    ModuleTimeline::Exposure exposure = m_timeline->over(seen - m_options.exposure, seen);
    if (exposure.leds.isEmpty()) {
        // No CellTest yet: the module hangs there dark.
        exposure.leds = m_options.moduleLeds;
        exposure.levels.assign(
            static_cast<std::size_t>(exposure.leds.width() * exposure.leds.height()), 0.0f);
    }
    const CameraScene& scene = sceneFor(exposure.leds);
    const quint64 sequence = ++m_sequence;
    const PictureEffects effects = effectsAt(seen, sequence, scene);
    m_lastJpeg = scene.encode(scene.draw(exposure.levels, effects));
    ServedPicture picture = servedPicture(exposure, sequence, now);
    picture.effects = effects;
    log(std::move(picture));
    m_repeatNext =
        SeededRandom::share(SeededRandom::hash(
            m_options.view.seed, 7, static_cast<quint32>(sequence))) < m_options.repeatShare;
    Q_EMIT captured(m_lastJpeg);
}

// The camera sends its last picture again in place of a new one.
void VirtualCamera::repeatLast() {
    m_repeatNext = false;
    ServedPicture again;
    {
        const QMutexLocker lock(&m_mutex);
        again = m_pictures.back();
    }
    again.repeated = true;
    log(std::move(again));
    Q_EMIT captured(m_lastJpeg);
}

const CameraScene& VirtualCamera::sceneFor(QSize leds) {
    if (m_scene && m_scene->leds() == leds) {
        return *m_scene;
    }
    if (m_nextScene.valid() && m_nextSize == leds) {
        m_scene = m_nextScene.get();
    } else {
        m_scene = std::make_unique<CameraScene>(leds, m_options.view);
    }
    return *m_scene;
}

// A new size is known a latency before any picture shows it: time enough to prepare its scene
// (a tenth of a second or more for a large picture) without a gap in the pictures.
void VirtualCamera::prepareScene(QSize leds) {
    const bool shown = leds.isEmpty() || (m_scene && m_scene->leds() == leds);
    if (shown || (m_nextScene.valid() && m_nextSize == leds)) {
        return;
    }
    m_nextSize = leds;
    m_nextScene = std::async(std::launch::async, [leds, view = m_options.view] {
        return std::make_unique<CameraScene>(leds, view);
    });
}

PictureEffects VirtualCamera::effectsAt(Clock::time_point seen, quint64 sequence,
                                        const CameraScene& scene) {
    PictureEffects effects;
    effects.noiseSeed = static_cast<quint32>(sequence);
    // Two slow waves of unrelated periods, so the gain wanders without repeating soon.
    const double seconds = std::chrono::duration<double>(seen - m_start).count();
    const double phase = 2 * kPi * SeededRandom::share(SeededRandom::hash(m_options.view.seed, 8));
    effects.gain = 1 + m_options.exposureDrift * (0.6 * std::sin(2 * kPi * seconds / 7.3 + phase) +
                                                  0.4 * std::sin(2 * kPi * seconds / 3.1));
    {
        const QMutexLocker lock(&m_mutex);
        const std::optional<QPointF> reflection = m_reflection.at(seen);
        effects.reflection = reflection.has_value();
        effects.reflectionAt = reflection.value_or(QPointF());
        effects.shift = scene.shiftFor(m_nudge.at(seen));
    }
    if (m_options.bandingEvery > 0 &&
        sequence % static_cast<quint64>(m_options.bandingEvery) == 0) {
        const int rows = scene.leds().height();
        effects.bandRows = std::max(1, rows / kBandShare);
        effects.bandFirstRow = static_cast<int>(
            SeededRandom::hash(m_options.view.seed, 9, static_cast<quint32>(sequence)) %
            static_cast<quint32>(rows));
        effects.bandLevel = kBandLevel;
    }
    return effects;
}
