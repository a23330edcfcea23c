#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <optional>

// A box for one value handed from one thread to another, where only the newest counts: put()
// replaces a value not yet taken. The thread that puts is told when the box was empty, so that
// it wakes the taker once per value instead of queueing one wake-up per value; a taker that
// falls behind therefore never has more than one value waiting.
//   put(a) == true, put(b) == false, take() == b, take() == nullopt
template <typename T>
class LatestOnly {
public:
    // Returns whether the box was empty: then the taker must be woken.
    bool put(T value) {
        const QMutexLocker lock(&m_mutex);
        const bool wasEmpty = !m_value.has_value();
        if (!wasEmpty) {
            ++m_replaced;
        }
        m_value = std::move(value);
        return wasEmpty;
    }

    std::optional<T> take() {
        const QMutexLocker lock(&m_mutex);
        std::optional<T> value;
        value.swap(m_value);
        return value;
    }

    void clear() { take(); }

    // Values replaced before they were taken, since the box was made.
    qint64 replacedCount() const {
        const QMutexLocker lock(&m_mutex);
        return m_replaced;
    }

private:
    mutable QMutex m_mutex;
    std::optional<T> m_value;
    qint64 m_replaced = 0;
};
