#pragma once

#include <QByteArray>
#include <chrono>

// The ways the simulated controller can misbehave. All off by default: a well-behaved
// controller that answers at once.
struct SimulatorFaults {
    // Answers nothing at all (SetAddress, ReadAddress, data packets).
    bool neverAnswer = false;
    // Answers nothing to data packet k (counted from 1); 0 = always answers.
    int silentDataPacket = 0;
    // Answers 15 instead of 06 to data packet k (counted from 1: sequence byte k - 1); 0 = never.
    int nakDataPacket = 0;
    // Holds every answer back this long after the request has arrived.
    std::chrono::milliseconds answerDelay{0};
    // Answers ReadAddress with only its first 10 bytes.
    bool shortAddressAnswer = false;
    // Answers every request with bytes that mean nothing (neither 06 nor 5A first).
    bool garbageAnswer = false;
    // Sent after every test packet, as a stray reaction; empty = nothing.
    QByteArray strayAfterTest;
    // Hangs up (closes its end of the line) on data packet k instead of answering; 0 = never.
    int hangUpAtDataPacket = 0;
    // Emulates 19200 bit/s: a request counts as arrived only once its bytes would have crossed
    // the line (10 bits a byte), and an answer takes its own line time to arrive.
    bool lineTime = false;
};
