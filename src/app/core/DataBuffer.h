#pragma once

#include <array>

#include "Int16.h"

// The scan map buffer: 1048 signed 16-bit words, all 0 when created.
//
// Words 0..7 are the header (width, height, colour, scan count, red-green count index,
// OE polarity, display polarity, column extent), the row picks start at word 8 and the column
// picks stand at words 24 + 8k. Every access names one position; a position outside 0..1047
// throws RangeError and leaves the buffer as it was.
class DataBuffer {
public:
    static constexpr int kSize = 1048;

    Int16 at(Int16 position) const;
    void set(Int16 position, Int16 value);

private:
    static std::size_t checked(Int16 position);

    std::array<Int16, kSize> m_words{};
};
