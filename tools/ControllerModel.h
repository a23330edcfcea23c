#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

#include "ModuleSnapshot.h"
#include "SimulatorFaults.h"
#include "VirtualModule.h"

// What the simulated controller does with one framed packet: checks its checksum over the span
// of its kind, remembers what it carries, and decides the answer. No I/O and no timing.
//
// Answers: SetAddress -> 06; ReadAddress -> 40 bytes 5A A5 28 FF FF 0A cs 00 10 ... with the
// screen number at byte 17 and the IP octets at bytes 22..25; every MapDataPacket -> 06;
// test packets and DownLoadEnd -> nothing. A packet with a wrong checksum gets no answer.
//
// Every good test packet drives the virtual module; a download shows its map there once
// DownLoadEnd follows all 16 data packets (sequence bytes 0..15, each taken: not refused with
// 15 and not hung up on), counted from the last data packet with sequence byte 0.
class ControllerModel {
public:
    struct Reaction {
        // One readable line: the kind and its fields, e.g. "HangTest count=16". Download
        // packets are numbered from 1: sequence byte 0 is "MapDataPacket #1", and the closing
        // packet (sequence byte 16) is "DownLoadEnd #17".
        QString log;
        QByteArray answer;
        // Bytes sent on their own after a test packet (the strayAfterTest fault).
        QByteArray stray;
        // Close the line instead of answering (the hangUpAtDataPacket fault).
        bool hangUp = false;
    };

    static constexpr int kImageSize = 2048;

    void setFaults(const SimulatorFaults& faults) { m_faults = faults; }
    const SimulatorFaults& faults() const { return m_faults; }

    Reaction handle(const QByteArray& packet);

    int screen() const { return m_screen; }
    std::array<std::uint8_t, 4> ip() const { return m_ip; }
    // The image as the data packets have filled it; zero where none arrived.
    QByteArray image() const { return m_image; }
    // Where the image is written when DownLoadEnd arrives; empty = nowhere.
    void setImagePath(const QString& path) { m_imagePath = path; }
    // Writes the image as it stands; false when the file cannot be written.
    bool writeImage(const QString& path) const;

    // Starts the virtual module afresh with what it really is.
    void setModuleTruth(const ModuleTruth& truth) { m_module = VirtualModule(truth); }
    // The module now; its state line ends with " | last: " and the last packet's log line.
    ModuleSnapshot moduleSnapshot() const;

private:
    Reaction handleTest(const QByteArray& packet);
    void driveModule(const QByteArray& packet);
    Reaction handleSetting(const QByteArray& packet);
    Reaction handleMapData(const QByteArray& packet);
    Reaction handleDownLoadEnd(const QByteArray& packet);
    QByteArray addressAnswer() const;
    QByteArray answerOrFault(QByteArray answer) const;

    SimulatorFaults m_faults;
    int m_screen = 0;
    std::array<std::uint8_t, 4> m_ip{192, 168, 0, 100};
    QByteArray m_image = QByteArray(kImageSize, '\0');
    QString m_imagePath;
    // Bit n set: the data packet with sequence byte n was taken in the current download.
    std::uint32_t m_dataPacketsTaken = 0;
    VirtualModule m_module;
    QString m_lastPacket;
};
