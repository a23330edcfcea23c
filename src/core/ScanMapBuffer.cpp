#include "core/ScanMapBuffer.h"

#include <string>

#include "core/Errors.h"

std::size_t ScanMapBuffer::checked(Int16 position) {
    if (position.value() < 0 || position.value() >= MapLayout::kBufferWords) {
        throw RangeError("buffer position out of range: " + std::to_string(position.value()));
    }
    return static_cast<std::size_t>(position.value());
}

Int16 ScanMapBuffer::at(Int16 position) const {
    return m_words[checked(position)];
}

void ScanMapBuffer::set(Int16 position, Int16 value) {
    m_words[checked(position)] = value;
}
