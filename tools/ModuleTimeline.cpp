#include "ModuleTimeline.h"

#include <QMutexLocker>
#include <algorithm>

namespace {

// How far back a camera may look: far more than any latency and exposure together.
constexpr std::chrono::seconds kHistory{30};

}  // namespace

void ModuleTimeline::record(Clock::time_point from, int packet, QSize leds, const QBitArray& lit) {
    const QMutexLocker lock(&m_mutex);
    m_entries.push_back({std::max(from, m_entries.back().from), packet, leds, lit});
    forgetBefore(from - kHistory);
}

void ModuleTimeline::forgetBefore(Clock::time_point time) {
    while (m_entries.size() > 1 && m_entries[1].from <= time) {
        m_entries.pop_front();
    }
}

ModuleTimeline::Exposure ModuleTimeline::over(Clock::time_point from, Clock::time_point to) const {
    const QMutexLocker lock(&m_mutex);
    // The entries in force over the span: the last one begun by `from`, and any begun within.
    const auto startsAfter = [](Clock::time_point time, const Entry& entry) {
        return time < entry.from;
    };
    auto first = std::upper_bound(m_entries.begin(), m_entries.end(), from, startsAfter);
    if (first != m_entries.begin()) {
        --first;
    }
    // An entry that begins just as the span ends is not in it, except in a span of no length.
    const bool instant = from == to;
    const auto end = std::partition_point(first, m_entries.end(), [to, instant](const Entry& e) {
        return instant ? e.from <= to : e.from < to;
    });
    const Entry& last = *(end - 1);
    Exposure exposure;
    exposure.leds = last.leds;
    exposure.lastPacketInFull = first->packet;
    exposure.lastPacketSeen = last.packet;
    // A default QSize is -1 x -1: no LEDs, not one.
    const int count = last.leds.isEmpty() ? 0 : last.leds.width() * last.leds.height();
    exposure.levels.assign(static_cast<std::size_t>(count), 0.0f);
    const double span = std::chrono::duration<double>(to - from).count();
    for (auto entry = first; entry != end; ++entry) {
        const auto begins = std::max(entry->from, from);
        const auto ends = entry + 1 == end ? to : std::min((entry + 1)->from, to);
        const double share =
            span > 0 ? std::chrono::duration<double>(ends - begins).count() / span : 1.0;
        if (entry->leds != last.leds || share <= 0) {
            continue;
        }
        for (int i = 0; i < count; ++i) {
            if (entry->lit.testBit(i)) {
                exposure.levels[static_cast<std::size_t>(i)] += static_cast<float>(share);
            }
        }
    }
    return exposure;
}

QSize ModuleTimeline::latestSize() const {
    const QMutexLocker lock(&m_mutex);
    return m_entries.back().leds;
}
