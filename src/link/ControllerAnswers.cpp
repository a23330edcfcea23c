#include "link/ControllerAnswers.h"

namespace {
constexpr std::uint8_t kAcknowledge = 0x06;
constexpr std::uint8_t kAddressAnswerLead = 0x5A;
constexpr int kAddressAnswerLength = 26;
constexpr int kScreenAt = 17;
constexpr int kIpAt = 22;

std::uint8_t byteAt(const QByteArray& bytes, int i) {
    return static_cast<std::uint8_t>(bytes[i]);
}
}  // namespace

bool ControllerAnswers::isAcknowledge(const QByteArray& answer) {
    return !answer.isEmpty() && byteAt(answer, 0) == kAcknowledge;
}

std::optional<ScreenAddress> ControllerAnswers::readAddress(const QByteArray& answer) {
    if (answer.size() < kAddressAnswerLength || byteAt(answer, 0) != kAddressAnswerLead) {
        return std::nullopt;
    }
    ScreenAddress address;
    address.screen = byteAt(answer, kScreenAt);
    for (int i = 0; i < 4; ++i) {
        address.ip[static_cast<std::size_t>(i)] = byteAt(answer, kIpAt + i);
    }
    return address;
}
