// The controller's answers, any bytes of any length: what the address read and the download
// take from them, checked against the rule they follow.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "ControllerAnswers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray answer(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const bool ack = ControllerAnswers::isAcknowledge(answer);
    if (ack != (size >= 1 && data[0] == 0x06)) {
        std::abort();
    }
    const auto address = ControllerAnswers::readAddress(answer);
    const bool valid = size >= 26 && data[0] == 0x5A;
    if (address.has_value() != valid) {
        std::abort();
    }
    if (address &&
        (address->screen != data[17] || address->ip[0] != data[22] || address->ip[3] != data[25])) {
        std::abort();
    }
    return 0;
}
