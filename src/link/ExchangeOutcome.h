#pragma once

#include <QString>

// How an exchange with the controller ended.
struct ExchangeOutcome {
    enum class Kind {
        Done,         // the controller took the packet(s), or answered the read
        NotAccepted,  // no answer in time, or an answer that says no
        PortFailed,   // the serial port could not be opened, written or drained, or vanished
    };
    Kind kind = Kind::Done;
    // The packet the exchange reached: 1..16 for a download's data packets, 17 for its
    // closing packet, 1 for an address exchange; 0 when nothing was sent.
    int packet = 0;
    // For PortFailed: what the port said.
    QString detail;
};
