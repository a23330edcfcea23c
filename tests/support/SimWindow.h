#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "RecordingNotifier.h"
#include "ScriptedDialogs.h"
#include "SimulatorThread.h"
#include "TestBytes.h"
#include "link/QtSerialPort.h"
#include "ui/AddressPanel.h"
#include "ui/MainWindow.h"
#include "ui/ParameterPage.h"
#include "ui/PickGridView.h"
#include "ui/PickPage.h"
#include "ui/PolarityPage.h"
#include "ui/PortList.h"

// The captions of a download up to the acknowledgement of data packet n: "下载0" .. "下载<n>".
inline QStringList downloadCaptions(int n) {
    QStringList captions;
    for (int k = 0; k <= n; ++k) {
        captions.append(u("下载") + QString::number(k));
    }
    return captions;
}

// The whole program on a real serial port (a pseudo-terminal at a fixed path, so that it
// survives a hang-up) with the simulated controller at the other end, recording the captions
// of the status line. COM1 stands for the simulator's device unless useDevice() says otherwise.
// The simulator's virtual module is what truth says.
struct SimWindow {
    QTemporaryDir dir;
    QString device = dir.filePath(QStringLiteral("COM1"));
    std::unique_ptr<SimulatorThread> sim;
    QtSerialPort port;
    RecordingNotifier notifier;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    QStringList captions;

    explicit SimWindow(const SimulatorFaults& faults = {}, const ModuleTruth& truth = {})
        : sim(std::make_unique<SimulatorThread>(faults, device, truth)) {
        const PortNames names([] { return QStringList(); },
                              [this](const QString& name) {
                                  return name == QLatin1String("LUMOTRIX_COM1") ? device
                                                                                : QString();
                              });
        window = std::make_unique<MainWindow>(MainWindow::Seams{port, notifier, dialogs, names});
        QObject::connect(&window->commands(), &ControllerCommands::statusChanged,
                         [this](const QString& text) { captions.append(text); });
    }

    MappingSession& session() { return window->session(); }
    bool idle() { return !window->commands().isBusy(); }
    QPushButton* next() { return window->nextButton(); }
    QPushButton* setButton() { return window->addressPanel()->setAddressButton(); }
    QPushButton* readButton() { return window->addressPanel()->readAddressButton(); }
    QLineEdit* ip(int octet) { return window->addressPanel()->ipEdits()[octet]; }
    // COM1 now stands for path, chosen again as a user would.
    void useDevice(const QString& path) {
        device = path;
        window->portList()->choose(0);
    }
    void pick(PickGrid grid, int row, int col) {
        PickGridView* view = window->pickPage(grid)->grid();
        view->setCurrentIndex(view->model()->index(row - 1, col - 1));
        Q_EMIT view->clicked(view->currentIndex());
    }
    // Clicks b and waits (at most ms) until the command it started has ended.
    bool press(QPushButton* b, int ms = 3000) {
        b->click();
        return QTest::qWaitFor([this] { return idle(); }, ms);
    }
    // Waits until the controller has received at least n packets.
    bool waitForPackets(int n, int ms = 5000) {
        return QTest::qWaitFor([&] { return sim->packets().size() >= n; }, ms);
    }
};
