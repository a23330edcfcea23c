#pragma once

#include <stdexcept>
#include <string>

// The few kinds of failure that end an operation. Each is thrown where it occurs; the handler
// that started the operation decides, by its kind, whether and how the user hears of it.

// Base of every failure the program raises itself.
class LumotrixError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A signed 16-bit result outside -32768..32767, or a division by zero.
class OverflowError : public LumotrixError {
public:
    using LumotrixError::LumotrixError;
};

// A value that does not fit a byte (0..255), or a position outside an array.
class RangeError : public LumotrixError {
public:
    using LumotrixError::LumotrixError;
};

// The serial port could not be opened, written or drained, or it vanished.
class PortError : public LumotrixError {
public:
    using LumotrixError::LumotrixError;
};

// A map file could not be read or written. what() is the text shown to the user.
class FileError : public LumotrixError {
public:
    using LumotrixError::LumotrixError;
};

// The user typed something the operation cannot take. what() is the text shown to the user
// (UTF-8), naming the field and what it accepts.
class InputError : public LumotrixError {
public:
    using LumotrixError::LumotrixError;
};
