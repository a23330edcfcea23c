#include "ControllerAnswers.h"

namespace {
constexpr int kAddressAnswerLength = 26;
constexpr int kScreenAt = 17;
constexpr int kIpAt = 22;

std::uint8_t byteAt(const QByteArray& bytes, int i) {
    return static_cast<std::uint8_t>(bytes[i]);
}
}  // namespace

bool ControllerAnswers::isAcknowledge(const QByteArray& answer) {
    return !answer.isEmpty() && byteAt(answer, 0) == 0x06;
}

std::optional<ControllerAnswers::Address> ControllerAnswers::readAddress(const QByteArray& answer) {
    if (answer.size() < kAddressAnswerLength || byteAt(answer, 0) != 0x5A) {
        return std::nullopt;
    }
    Address address;
    address.screen = byteAt(answer, kScreenAt);
    for (int i = 0; i < 4; ++i) {
        address.ip[static_cast<std::size_t>(i)] = byteAt(answer, kIpAt + i);
    }
    return address;
}
