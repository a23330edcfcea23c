#pragma once

#include <QByteArray>
#include <optional>

#include "link/ScreenAddress.h"

// What the program reads in the controller's answers. Only the bytes named here are looked
// at; any other byte, and any length beyond what is read, is ignored. Every function takes any
// bytes at all, of any length, and never reads outside them.
namespace ControllerAnswers {

// An answer to SetAddress or a MapDataPacket says "taken" when its first byte is 06.
bool isAcknowledge(const QByteArray& answer);

// An answer to ReadAddress: first byte 5A, screen number at byte 17, IP octets at bytes
// 22..25. One that begins otherwise, or is shorter than 26 bytes, is no answer.
std::optional<ScreenAddress> readAddress(const QByteArray& answer);

}  // namespace ControllerAnswers
