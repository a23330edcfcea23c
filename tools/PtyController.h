#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>

#include "ControllerModel.h"
#include "PacketFramer.h"

class QSocketNotifier;

// The simulated controller on a pseudo-terminal. The program under test opens the slave side
// (devicePath()) as its serial port; this object reads the master side in its thread's event
// loop, frames and handles packets, and writes the answers, with the timing faults applied.
//
// A hang-up closes both ends held here, so the other side's port fails as a vanished device;
// a fresh pseudo-terminal is opened right after (with a new slave path, or the same link
// path when one was given), so that a later open succeeds again.
class PtyController : public QObject {
    Q_OBJECT

public:
    // linkPath: when not empty, a symbolic link made there always points at the slave.
    explicit PtyController(QString linkPath = {}, QObject* parent = nullptr);
    ~PtyController() override;

    // Opens the pseudo-terminal; false (with errorString()) when the system refuses.
    bool start();
    // The path to open: the link path when given, else the slave device.
    QString devicePath() const;
    QString slavePath() const { return m_slavePath; }
    QString errorString() const { return m_error; }

    ControllerModel& model() { return m_model; }
    // The packets framed so far.
    int packetCount() const { return m_packetCount; }
    // Closes the line now, as a pulled cable would, then offers a fresh one.
    void hangUp();

Q_SIGNALS:
    // One line for each packet, answer, stray byte run and hang-up.
    void logged(const QString& line);
    // Every framed packet, byte for byte, once it has arrived (before its log line).
    void received(const QByteArray& packet);
    // Packet number `packet` (counted from 1) has been handled: from `arrived` on the module
    // shows `module`. Emitted as the packet is framed, before it is due to arrive when the
    // line takes time, so that the arrival time is exact.
    void moduleChanged(int packet, std::chrono::steady_clock::time_point arrived,
                       const ModuleSnapshot& module);

private:
    void onReadable();
    void handlePacket(const QByteArray& packet, std::chrono::steady_clock::time_point arrived);
    void sendLater(const QByteArray& bytes, std::chrono::steady_clock::time_point arrived);
    std::chrono::steady_clock::time_point arrivalOf(int byteCount);
    void closeLine();
    bool openLine();

    QString m_linkPath;
    QString m_slavePath;
    QString m_error;
    int m_master = -1;
    int m_slave = -1;
    QSocketNotifier* m_notifier = nullptr;
    PacketFramer m_framer;
    ControllerModel m_model;
    std::chrono::steady_clock::time_point m_lineBusyUntil{};
    // Bumped on every hang-up, so answers scheduled for the old line are dropped.
    int m_lineGeneration = 0;
    int m_packetCount = 0;
};
