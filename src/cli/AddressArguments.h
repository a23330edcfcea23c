#pragma once

#include <QString>
#include <optional>

#include "link/ScreenAddress.h"

// A screen number and an IP address as lumotrix-cli takes them: "N" and "A.B.C.D", each value
// read as the window reads its boxes (ScreenAddress::read). What is wrong is said in words
// such as: the screen number must be 0..255, not "300".
namespace AddressArguments {

// The address, or nullopt with the problem named.
std::optional<ScreenAddress> read(const QString& screen, const QString& ip, QString& problem);
// read(), throwing InputError with the problem.
ScreenAddress parse(const QString& screen, const QString& ip);

}  // namespace AddressArguments
