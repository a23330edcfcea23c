#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "FlexGrid.h"
#include "IntervalTimer.h"
#include "Lumotrix.h"
#include "QtSerialPort.h"
#include "RecordingNotifier.h"
#include "ScriptedDialogs.h"
#include "SimulatorThread.h"
#include "StatusLabel.h"

// The whole program on a real serial port (a pseudo-terminal) with the simulated controller at
// the other end, started up, recording the captions of the status line.
struct SimWindow {
    std::unique_ptr<SimulatorThread> sim;
    QtSerialPort port;
    RecordingNotifier notifier;
    ScriptedDialogs dialogs;
    std::unique_ptr<Lumotrix> program;
    QStringList captions;
    // Where each port number leads; by default the simulator's device, asked at every open.
    std::function<QString()> device;

    explicit SimWindow(const SimulatorFaults& faults = {})
        : sim(std::make_unique<SimulatorThread>(faults)) {
        device = [this] { return sim->devicePath(); };
        program = std::make_unique<Lumotrix>(
            Lumotrix::Seams{port, notifier, dialogs, [this](int) { return device(); }});
        program->startUp();
        QObject::connect(qobject_cast<StatusLabel*>(c().Label6), &StatusLabel::captionChanged,
                         [this](const QString& text) { captions.append(text); });
    }

    const OEControls& c() { return program->window().controls(); }
    WindowState& state() { return program->window().state(); }
    bool idle() { return !program->commands().isBusy(); }
    void pick(FlexGrid* grid, int row, int col) {
        grid->setCurrentIndex(grid->model()->index(row - 1, col - 1));
        Q_EMIT grid->clicked(grid->currentIndex());
    }
    // Packets the controller has received so far, waiting until there are at least n.
    bool waitForPackets(int n, int ms = 5000) {
        QElapsedTimer t;
        t.start();
        while (sim->packets().size() < n && t.elapsed() < ms) {
            QTest::qWait(5);
        }
        return sim->packets().size() >= n;
    }
};

inline QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}
inline QString u(const char* text) {
    return QString::fromUtf8(text);
}
