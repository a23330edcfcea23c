#pragma once

#include <QBitArray>
#include <QMutex>
#include <QSize>
#include <chrono>
#include <deque>
#include <vector>

// What the virtual module showed when: one entry for every packet the controller received, from
// the moment the packet arrived, with the LEDs lit after it. The controller writes it from its
// thread, the camera reads it from another; every member is safe to call from any thread.
class ModuleTimeline {
public:
    using Clock = std::chrono::steady_clock;

    // What the module showed over a span of time, as a camera exposed over it sees it.
    struct Exposure {
        // The module's size at the span's end; empty before the first CellTest.
        QSize leds;
        // One value an LED, row-major: the share of the span it was lit (0 .. 1).
        std::vector<float> levels;
        // The last packet that had arrived when the span began: its effect, and every earlier
        // packet's, lasts over the whole span unless a later packet arrived within it. 0: none.
        int lastPacketInFull = 0;
        // The last packet that had arrived when the span ended; above lastPacketInFull when
        // the module changed within the span.
        int lastPacketSeen = 0;
    };

    // Packet number `packet` (counted from 1) arrived at `from`, after which the module of
    // `leds` lights `lit` (bit y * width + x). Arrivals are recorded in order.
    void record(Clock::time_point from, int packet, QSize leds, const QBitArray& lit);
    // The module over [from, to]; with from == to, the module at that moment.
    Exposure over(Clock::time_point from, Clock::time_point to) const;
    // The module's size after the last packet recorded; empty before the first CellTest.
    QSize latestSize() const;

private:
    struct Entry {
        Clock::time_point from;
        int packet = 0;
        QSize leds;
        QBitArray lit;
    };

    void forgetBefore(Clock::time_point time);

    mutable QMutex m_mutex;
    // Oldest first; the first entry stands for everything before the second.
    std::deque<Entry> m_entries{Entry{}};
};
