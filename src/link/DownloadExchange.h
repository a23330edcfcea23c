#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include "link/ExchangeOutcome.h"

class PortError;

class Link;

// Sends a map image to the controller: 16 data packets of 128 bytes, numbered 0..15
// in byte 4, each acknowledged with 06 before the next goes out, then the closing packet
// (number 16, its bytes 9..135 as the last data packet left them). The answer to data packet 1
// is looked at 500 ms after it has left the line, every other one after 100 ms; after the
// closing packet the exchange waits 100 ms and reads nothing. No retry: a missing or negative
// answer ends the download. The port is closed at every end, also when it failed.
// Runs on the event loop: start returns at once, the first packet goes out on the next turn of
// the loop, and the window keeps painting between packets.
class DownloadExchange : public QObject {
    Q_OBJECT
public:
    // The image travels in this many data packets; the closing packet is number kDataPackets + 1.
    static constexpr int kDataPackets = 16;

    explicit DownloadExchange(Link& link, QObject* parent = nullptr);
    ~DownloadExchange() override;

    bool isRunning() const { return m_running; }
    // image must hold exactly a map image (MapLayout::kImageSize bytes), else RangeError and
    // nothing starts.
    void start(const QByteArray& image);
    // Stops a running download at once and closes the port; no finished signal follows.
    void cancel();

Q_SIGNALS:
    // Data packet n (1..16) was acknowledged.
    void acknowledged(int n);
    void finished(const ExchangeOutcome& outcome);

private:
    void sendDataPacket();
    void onAnswerDue();
    void sendClosingPacket();
    void end(ExchangeOutcome outcome);
    void failPort(const PortError& e);

    Link& m_link;
    QTimer m_wait;
    QByteArray m_image;
    QByteArray m_lastPacket;
    int m_packet = 0;  // the packet being sent or awaited: 1..16 data, 17 the closing packet
    bool m_running = false;
};
