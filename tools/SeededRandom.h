#pragma once

#include <QtGlobal>

// Random numbers that depend only on their inputs, the same on every platform (the standard
// library's distributions are not): a hash of up to four numbers, and its value as a share.
namespace SeededRandom {

// An integer hash with good avalanche (every input bit flips about half the output bits).
inline quint32 mix(quint32 x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

inline quint32 hash(quint32 a, quint32 b = 0, quint32 c = 0, quint32 d = 0) {
    return mix(mix(mix(mix(a) ^ b) ^ c) ^ d);
}

// The hash as a number in [0, 1).
inline double share(quint32 h) {
    return h / 4294967296.0;
}

}  // namespace SeededRandom
