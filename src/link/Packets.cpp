#include "link/Packets.h"

#include <string>

#include "core/Errors.h"
#include "core/Int16.h"

namespace Packets {
namespace {

constexpr std::uint8_t kTestCommand = 0x60;
constexpr std::uint8_t kMapDataCommand = 0x61;
constexpr std::uint8_t kSettingCommand = 0x0A;
constexpr std::uint8_t kNoSequence = 0xFF;

enum TestSubCode : std::uint8_t { kCell = 0, kOe = 1, kDis = 2, kLie = 3, kHang = 4 };
enum SettingSubCode : std::uint8_t { kDownLoadEnd = 0x04, kSetAddress = 0x0F, kReadAddress = 0x10 };

void put(QByteArray& packet, int offset, std::uint8_t value) {
    packet[offset] = static_cast<char>(value);
}

// Bytes 0..7 with a placeholder checksum, the rest zero.
QByteArray frame(int length, std::uint8_t sequence, std::uint8_t command) {
    QByteArray packet(length, '\0');
    put(packet, 0, 0x5A);
    put(packet, 1, 0xA5);
    put(packet, 2, toByte(length));
    put(packet, 3, 0xFF);
    put(packet, 4, sequence);
    put(packet, 5, command);
    put(packet, 6, 0xFF);
    return packet;
}

QByteArray sealed(QByteArray packet, int spanEnd) {
    put(packet, 6, checksum(packet, 8, spanEnd));
    return packet;
}

// Every value is range-tested before the packet exists, so a bad value sends nothing.
QByteArray testPacket(std::uint8_t subCode, const std::array<long long, 4>& values) {
    QByteArray packet = frame(kTestLength, kNoSequence, kTestCommand);
    put(packet, 8, subCode);
    for (int i = 0; i < 4; ++i) {
        put(packet, 9 + i, toByte(values[static_cast<std::size_t>(i)]));
    }
    return sealed(packet, kTestLength - 1);
}

// Truncating division, as the counter's 16-bit arithmetic does it: a negative count gives a
// negative low or high byte and so fails the range test instead of wrapping.
QByteArray countPacket(std::uint8_t subCode, long long count) {
    return testPacket(subCode, {count % 256, count / 256, 0, 0});
}

void requireSize(const QByteArray& bytes, int size, const char* what) {
    if (bytes.size() != size) {
        throw RangeError(std::string(what) + " needs " + std::to_string(size) + " bytes, got " +
                         std::to_string(bytes.size()));
    }
}

}  // namespace

QByteArray cellTest(long long width, long long height, long long colour, long long scanCount) {
    return testPacket(kCell, {width, height, colour, scanCount});
}

QByteArray oeTest(long long polarity) {
    return testPacket(kOe, {polarity, 0, 0, 0});
}

QByteArray oeBlink(long long fill) {
    return testPacket(kOe, {fill, fill, fill, fill});
}

QByteArray disTest(long long fill) {
    return testPacket(kDis, {fill, fill, fill, fill});
}

QByteArray lieTest(long long count) {
    return countPacket(kLie, count);
}

QByteArray hangTest(long long count) {
    return countPacket(kHang, count);
}

QByteArray setAddress(long long screen, const std::array<long long, 4>& ip) {
    const std::uint8_t screenByte = toByte(screen);
    std::array<std::uint8_t, 4> octets{};
    for (std::size_t i = 0; i < ip.size(); ++i) {
        octets[i] = toByte(ip[i]);
    }
    QByteArray packet = frame(kSettingLength, kNoSequence, kSettingCommand);
    put(packet, 8, kSetAddress);
    put(packet, 9, screenByte);
    for (int i = 0; i < 4; ++i) {
        put(packet, 10 + i, octets[static_cast<std::size_t>(i)]);
    }
    return sealed(packet, 13);
}

QByteArray readAddress() {
    QByteArray packet = frame(kSettingLength, kNoSequence, kSettingCommand);
    put(packet, 8, kReadAddress);
    return sealed(packet, 8);
}

QByteArray mapDataPacket(long long number, const QByteArray& imageBytes) {
    requireSize(imageBytes, kMapDataBytes, "MapDataPacket");
    QByteArray packet = frame(kMapDataLength, toByte(number), kMapDataCommand);
    packet.replace(8, kMapDataBytes, imageBytes);
    return sealed(packet, kMapDataLength - 1);
}

QByteArray downLoadEnd(long long number, const QByteArray& tail) {
    requireSize(tail, kDownLoadEndTail, "DownLoadEnd");
    QByteArray packet = frame(kMapDataLength, toByte(number), kSettingCommand);
    put(packet, 8, kDownLoadEnd);
    packet.replace(kDownLoadEndTailAt, kDownLoadEndTail, tail);
    return sealed(packet, 8);
}

std::uint8_t checksum(const QByteArray& packet, int first, int last) {
    if (first < 0 || last >= packet.size() || first > last + 1) {
        throw RangeError("checksum span " + std::to_string(first) + ".." + std::to_string(last) +
                         " outside a packet of " + std::to_string(packet.size()) + " bytes");
    }
    std::uint8_t sum = 0;
    for (int i = first; i <= last; ++i) {
        sum ^= static_cast<std::uint8_t>(packet[i]);
    }
    return sum;
}

}  // namespace Packets
