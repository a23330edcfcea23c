#pragma once

#include <QString>
#include <array>
#include <optional>

// A screen number and an IP address for the controller, each value 0..255.
//
// Values are read exactly as the window reads its boxes (readTextNumber): spaces trimmed, the
// number the text begins with, rounded half to even; so "7" and "7.0" are 7, "2.5" is 2 and
// "12abc" is 12, and a text without a number is 0. The IP is four such values separated by
// dots: "192.168.0.100". Anything outside 0..255 throws InputError naming the value.
struct AddressValues {
    int screen = 0;
    std::array<int, 4> ip{};

    // The values, or nullopt with the problem named.
    static std::optional<AddressValues> read(const QString& screenText, const QString& ipText,
                                             QString& problem);
    // read(), throwing InputError with the problem.
    static AddressValues parse(const QString& screenText, const QString& ipText);
    // "192.168.0.100"
    QString ipText() const;
};
