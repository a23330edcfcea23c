#pragma once

#include <QByteArray>

// The two map images lumotrix-save-loop saves in turn: image 0 all 0xA0, image 1 all 0x0B, so
// that any mixture of the two, or either cut short, is neither.
inline QByteArray saveLoopImage(int which) {
    return QByteArray(2048, static_cast<char>(which == 0 ? 0xA0 : 0x0B));
}
