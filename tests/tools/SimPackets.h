#pragma once

#include <QByteArray>

// Requests as the program sends them, built here on their own for the simulator's tests.
namespace SimPackets {

inline QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// The packet with its checksum, the XOR of bytes 8 to its end, in byte 6.
inline QByteArray withChecksum(QByteArray packet) {
    for (int i = 8; i < packet.size(); ++i) {
        packet[6] = static_cast<char>(packet.at(6) ^ packet.at(i));
    }
    return packet;
}

// A 13-byte test packet from its sub-code and bytes 9..12 in hex, e.g. "0401000000".
inline QByteArray testPacket(const char* subCodeAndBytes) {
    return withChecksum(hex("5AA50DFFFF600000") + hex(subCodeAndBytes));
}

// A MapDataPacket: the sequence byte, then 128 image bytes.
inline QByteArray dataPacket(int sequence, const QByteArray& bytes) {
    return withChecksum(hex("5AA588FF") + static_cast<char>(sequence) + hex("610000") + bytes);
}

}  // namespace SimPackets
