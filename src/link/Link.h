#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <optional>

class SerialPort;

// The one serial line to the controller: the port the user chose, and whether it is open. The
// port opens on demand with the first packet sent and stays open until an exchange closes it.
//
// Every failure of the line is a PortError thrown to the operation that sent; the link never
// retries. A device that vanishes while open leaves the port closed, so the operation after
// the one that reported it opens the port afresh.
//
// An exchange:  sendRequest(packet); drain(); <the answer wait, on a timer>; takeAnswer();
class Link {
public:
    // The wait after an address packet, a data packet after the first, and the closing packet,
    // before the answer is looked at.
    static constexpr std::chrono::milliseconds kAnswerWait{100};
    // The wait after the first data packet of a download.
    static constexpr std::chrono::milliseconds kFirstDataWait{500};
    // The longest a drain may take; far above the 71 ms line time of the largest packet.
    static constexpr std::chrono::milliseconds kDrainLimit{2000};

    explicit Link(SerialPort& port) : m_port(port) {}

    // The port the next open uses: label as the user reads it ("COM3"), and the device it
    // stood for when it was chosen (empty when there was none). An open port is closed, so
    // the next packet goes to the port now chosen.
    void choosePort(const QString& label, const QString& device);
    bool isOpen() const;
    // Opens the chosen port if it is closed; PortError when it cannot be opened.
    void open();

    // Opens the chosen port if it is closed, then writes the whole packet. Waits for nothing
    // and reads nothing: the way test packets and DownLoadEnd go out.
    void sendPacket(const QByteArray& packet);
    // sendPacket for a packet whose answer is awaited: bytes that were waiting before it (a
    // stray reaction to an earlier test packet) are dropped first, so they never pass for its
    // answer.
    void sendRequest(const QByteArray& packet);
    // Returns when every written byte has left the line; PortError after kDrainLimit.
    void drain();
    // One look at what arrived: every byte received and not yet read, or nullopt if none.
    std::optional<QByteArray> takeAnswer();
    void closePort();

private:
    SerialPort& m_port;
    QString m_label = QStringLiteral("COM1");
    QString m_device;
};
