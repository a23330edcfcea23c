#pragma once

#include <array>

#include "core/Int16.h"
#include "core/MapLayout.h"

// The scan map buffer: the working record of one mapping run, MapLayout::kBufferWords signed
// 16-bit words, all 0 when created. Words 0..7 are the header (MapLayout::HeaderWord), the row
// picks start at word 8 and the column picks stand at words 24 + 8k. Every access names one
// position; a position outside the buffer throws RangeError and leaves the buffer as it was.
class ScanMapBuffer {
public:
    Int16 at(Int16 position) const;
    void set(Int16 position, Int16 value);

private:
    static std::size_t checked(Int16 position);

    std::array<Int16, MapLayout::kBufferWords> m_words{};
};
