#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// A controller's screen number and IP address: what SetAddress carries and what ReadAddress
// answers. Every value is a byte.
struct ScreenAddress {
    std::uint8_t screen = 0;
    std::array<std::uint8_t, 4> ip{};  // first octet first

    // The value of an address given as text that could not be taken.
    enum class Refused {
        Nothing,
        Screen,   // the screen number is outside 0..255
        IpForm,   // the IP is not four values separated by dots (A.B.C.D)
        IpOctet,  // an IP octet is outside 0..255
    };

    // An address read from texts, or which value was refused.
    struct Reading;

    // Each value is read as every number box is (readTextNumber: " 7 ", "7.0" and "7abc" are
    // 7, a text without a number is 0) and must then lie in 0..255.
    static Reading read(const QString& screen, const std::array<QString, 4>& ip);
    // The same with the IP written as one text, "192.168.0.100".
    static Reading read(const QString& screen, const QString& dottedIp);

    // "192.168.0.100"
    QString ipText() const;
};

// The first value refused is named: the screen number first, then the IP's form, then its
// octets in order.
struct ScreenAddress::Reading {
    std::optional<ScreenAddress> address;
    Refused refused = Refused::Nothing;
    int octet = 0;  // 1..4 when an octet was refused
    QString text;   // the text refused
};
