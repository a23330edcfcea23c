#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

#include "Int16.h"

class SerialPort;

// The one serial line to the controller (the window's serial control): the chosen port
// number 1..12, shown as "COM1".."COM12", and whether the port is open. The port opens on
// demand with the first packet sent and stays open until an exchange closes it.
//
// Every failure of the line is a PortError thrown to the operation that sent; the link never
// retries. A device that vanishes while open leaves the port closed, so the operation after
// the one that reported it opens the port afresh.
//
// A blocking exchange:        sendRequest(p); auto answer = awaitAnswer(Link::kAnswerWait);
// A non-blocking exchange:    sendRequest(p); drain(); <single-shot timer of the wait>;
//                             auto answer = takeAnswer();
class Link {
public:
    // The wait after an address packet or a data packet, before the answer is looked at.
    static constexpr std::chrono::milliseconds kAnswerWait{100};
    // The wait after the first data packet of a download.
    static constexpr std::chrono::milliseconds kFirstDataWait{500};
    // The longest a drain may take; far above the 71 ms line time of the largest packet.
    static constexpr std::chrono::milliseconds kDrainLimit{2000};

    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    // resolveName turns a port number into the device name handed to SerialPort::open; an
    // empty name means there is no such device.
    Link(SerialPort& port, std::function<QString(int)> resolveName);

    int portNumber() const { return m_portNumber.value(); }
    // Takes effect at the next open.
    void setPortNumber(Int16 number);
    // The port choice of the window's port list: entry listIndex (0 for "COM1") chooses port
    // listIndex + 1. An open port is closed, so the next packet opens the port now chosen.
    void onCombo1Click(int listIndex);
    bool isOpen() const;

    // Opens the chosen port if it is closed, then writes the whole packet. Waits for nothing
    // and reads nothing: the way test packets and DownLoadEnd go out.
    void sendPacket(const QByteArray& packet);
    // sendPacket for a packet whose answer is awaited: bytes that were waiting before it
    // (a stray reaction to an earlier test packet) are dropped first, so they never pass for
    // its answer.
    void sendRequest(const QByteArray& packet);
    // Drains, sleeps delay, then looks once at what arrived: nullopt when nothing did.
    std::optional<QByteArray> awaitAnswer(std::chrono::milliseconds delay);
    // Returns when every written byte has left the line; PortError after kDrainLimit.
    void drain();
    // One look at what arrived: every byte received and not yet read, or nullopt if none.
    std::optional<QByteArray> takeAnswer();
    void closePort();

    // Replaces the blocking sleep of awaitAnswer (tests record the delays instead).
    void setSleeper(Sleeper sleeper);

private:
    void openIfClosed();

    SerialPort& m_port;
    std::function<QString(int)> m_resolveName;
    Sleeper m_sleep;
    Int16 m_portNumber = 1;
};
