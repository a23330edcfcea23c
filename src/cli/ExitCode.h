#pragma once

// What lumotrix-cli returns to the shell. Each failure has its own code so that scripts can
// tell them apart; a batch returns the highest code of its lines.
enum class ExitCode : int {
    Success = 0,
    // An error the program did not foresee (a fault in the program itself).
    Internal = 1,
    // The controller did not acknowledge a packet: no answer in time, or another answer.
    NotAcknowledged = 2,
    // The serial port could not be opened, written or drained, or it vanished.
    PortFailed = 3,
    // Bad arguments, an unreadable or malformed map file, a malformed plan; nothing was sent.
    // For locate also pictures that cannot be read, or from which no calibration follows.
    BadInput = 4,
    // locate: at least one step picture did not show one LED clearly lit (a doubt).
    Doubt = 5,
};

inline int toInt(ExitCode code) {
    return static_cast<int>(code);
}
