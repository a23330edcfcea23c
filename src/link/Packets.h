#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

// Builders for every packet the program sends to the controller. Each is a pure function of
// its values: no port, no state.
//
// Frame (offsets from 0): 0 = 5A, 1 = A5, 2 = total length (13, 40 or 136), 3 = FF,
// 4 = sequence byte (FF except in a download), 5 = command (60 test, 61 map data, 0A setting),
// 6 = checksum, 7 = 00, 8 = sub-code or first data byte, 9.. = parameters; every byte not set
// is 00. The checksum is the XOR of a span starting at byte 8 whose end depends on the kind.
//
// Every value that becomes a byte passes the byte range test: outside 0..255 the builder
// throws RangeError and returns nothing; a value is never wrapped or clipped.
// Example: hangTest(300) is 5A A5 0D FF FF 60 29 00 04 2C 01 00 00.
namespace Packets {

constexpr int kTestLength = 13;
constexpr int kSettingLength = 40;
constexpr int kMapDataLength = 136;
// Image bytes carried by one MapDataPacket (bytes 8..135).
constexpr int kMapDataBytes = 128;
// Bytes 9..135 of DownLoadEnd, which it takes over from the same places of the last data packet.
constexpr int kDownLoadEndTailAt = 9;
constexpr int kDownLoadEndTail = kMapDataLength - kDownLoadEndTailAt;

// Module parameters: width, height (pixels), colour (0 single, 1 dual), scan count.
QByteArray cellTest(long long width, long long height, long long colour, long long scanCount);
// The chosen OE polarity (0 or 1) in byte 9, bytes 10..12 zero.
QByteArray oeTest(long long polarity);
// An OE blink state: bytes 9..12 all equal to fill (00 or FF).
QByteArray oeBlink(long long fill);
// The display polarity or a display blink state: bytes 9..12 all equal to fill (00 or FF).
QByteArray disTest(long long fill);
// The pick count, low byte in 9 and high byte (count / 256) in 10; 0..65535.
QByteArray lieTest(long long count);
QByteArray hangTest(long long count);

// Screen number in byte 9, IP octets in bytes 10..13 (first octet first); checksum over 8..13.
QByteArray setAddress(long long screen, const std::array<long long, 4>& ip);
// Always 5A A5 28 FF FF 0A 10 00 10 followed by 31 zero bytes.
QByteArray readAddress();
// Data packet: sequence byte = number (0..15 in a download), bytes 8..135 = imageBytes, which
// must hold exactly 128 bytes (else RangeError); checksum over 8..135.
QByteArray mapDataPacket(long long number, const QByteArray& imageBytes);
// Closing packet of a download: sequence byte = number (16), sub-code 04, checksum over byte 8
// alone (always 04); bytes 9..135 = tail, exactly 127 bytes (else RangeError), which a download
// takes from the last data packet it sent.
QByteArray downLoadEnd(long long number, const QByteArray& tail);

// XOR of packet bytes first..last inclusive; RangeError when the span leaves the packet.
std::uint8_t checksum(const QByteArray& packet, int first, int last);

}  // namespace Packets
