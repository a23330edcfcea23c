#pragma once

#include <chrono>
#include <iterator>
#include <map>

// A value that changes at given moments: at(t) is the value of the last change made for a
// moment at or before t, or the initial value before any. Not thread-safe.
template <typename T>
class TimedValue {
public:
    using Clock = std::chrono::steady_clock;

    explicit TimedValue(T initial = {}) : m_initial(std::move(initial)) {}

    // From `from` on the value is `value`; a later change for the same moment replaces it.
    void set(Clock::time_point from, T value) { m_changes[from] = std::move(value); }

    T at(Clock::time_point time) const {
        const auto after = m_changes.upper_bound(time);
        return after == m_changes.begin() ? m_initial : std::prev(after)->second;
    }

private:
    T m_initial;
    std::map<Clock::time_point, T> m_changes;
};
