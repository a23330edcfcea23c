#pragma once

#include <cstdint>

// A signed 16-bit number that never wraps. Every result outside -32768..32767 throws
// OverflowError; conversion to a byte outside 0..255 throws RangeError.
// Example: Int16(32767) + 1 throws; Int16(300).toByte() throws; Int16(-7).divide(2) is -3.
class Int16 {
public:
    static constexpr int kMin = -32768;
    static constexpr int kMax = 32767;

    constexpr Int16() = default;
    // Throws OverflowError when value is outside -32768..32767.
    Int16(long long value);  // NOLINT(google-explicit-constructor): numbers convert freely

    constexpr int value() const { return m_value; }
    // The value as a packet or image byte; throws RangeError outside 0..255.
    std::uint8_t toByte() const;

    // Truncating division and its remainder (the remainder takes the dividend's sign).
    // A zero divisor throws OverflowError.
    Int16 divide(Int16 divisor) const;
    Int16 remainder(Int16 divisor) const;

    friend Int16 operator+(Int16 a, Int16 b) {
        return Int16(static_cast<long long>(a.m_value) + b.m_value);
    }
    friend Int16 operator-(Int16 a, Int16 b) {
        return Int16(static_cast<long long>(a.m_value) - b.m_value);
    }
    friend Int16 operator*(Int16 a, Int16 b) {
        return Int16(static_cast<long long>(a.m_value) * b.m_value);
    }
    Int16& operator+=(Int16 other) { return *this = *this + other; }

    friend constexpr bool operator==(Int16 a, Int16 b) { return a.m_value == b.m_value; }
    friend constexpr bool operator!=(Int16 a, Int16 b) { return a.m_value != b.m_value; }
    friend constexpr bool operator<(Int16 a, Int16 b) { return a.m_value < b.m_value; }
    friend constexpr bool operator<=(Int16 a, Int16 b) { return a.m_value <= b.m_value; }
    friend constexpr bool operator>(Int16 a, Int16 b) { return a.m_value > b.m_value; }
    friend constexpr bool operator>=(Int16 a, Int16 b) { return a.m_value >= b.m_value; }

private:
    std::int16_t m_value = 0;
};

// The byte range test on a plain integer: throws RangeError outside 0..255.
std::uint8_t toByte(long long value);
