#include "core/PickValue.h"

Int16 PickValue::encode(int row, int col, Int16 width) {
    // Formed in 32 bits; only the result must fit a word.
    return Int16(static_cast<long long>(row - 1) * width.value() + col);
}

PickValue::Cell PickValue::decode(Int16 value, Int16 width) {
    const Int16 index = value - 1;
    return Cell{index.divide(width) + 1, index.remainder(width) + 1};
}
