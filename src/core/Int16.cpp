#include "core/Int16.h"

#include <string>

#include "core/Errors.h"

Int16::Int16(long long value) {
    if (value < kMin || value > kMax) {
        throw OverflowError("16-bit overflow: " + std::to_string(value));
    }
    m_value = static_cast<std::int16_t>(value);
}

std::uint8_t Int16::toByte() const {
    return ::toByte(m_value);
}

Int16 Int16::divide(Int16 divisor) const {
    if (divisor.m_value == 0) {
        throw OverflowError("division by zero");
    }
    // -32768 / -1 is the one quotient that leaves the range; the constructor catches it.
    return Int16(static_cast<long long>(m_value) / divisor.m_value);
}

Int16 Int16::remainder(Int16 divisor) const {
    if (divisor.m_value == 0) {
        throw OverflowError("division by zero");
    }
    return Int16(static_cast<long long>(m_value) % divisor.m_value);
}

std::uint8_t toByte(long long value) {
    if (value < 0 || value > 255) {
        throw RangeError("not a byte: " + std::to_string(value));
    }
    return static_cast<std::uint8_t>(value);
}
