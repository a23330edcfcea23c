// The controller's answers, any bytes of any length: what the address read and the download
// take from them, checked against the rule they follow.
#include <QByteArray>
#include <cstdint>

#include "FuzzCheck.h"
#include "link/ControllerAnswers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray answer =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    require(ControllerAnswers::isAcknowledge(answer) == (size >= 1 && data[0] == 0x06),
            "an answer acknowledges exactly when it begins with 06");
    const auto address = ControllerAnswers::readAddress(answer);
    require(address.has_value() == (size >= 26 && data[0] == 0x5A),
            "an address answer is 26 bytes or more beginning with 5A");
    if (address) {
        require(address->screen == data[17], "the screen number is byte 17");
        for (std::size_t i = 0; i < 4; ++i) {
            require(address->ip[i] == data[22 + i], "the IP octets are bytes 22..25");
        }
    }
    return 0;
}
