#pragma once

#include <QString>
#include <optional>

#include "CameraOptions.h"
#include "SimulatorFaults.h"
#include "VirtualModule.h"

class QCommandLineParser;

// What lumotrix-sim was asked to do on its command line.
struct SimulatorOptions {
    QString linkPath;
    QString imagePath;
    // Rewritten after every packet with the module's LEDs (ModuleSnapshot::toText()).
    QString moduleOutPath;
    bool window = false;
    SimulatorFaults faults;
    ModuleTruth truth;
    // The virtual camera's port (0: a free one); nullopt: no camera.
    std::optional<quint16> cameraPort;
    CameraOptions camera;

    static void addTo(QCommandLineParser& parser);
    // The options the parser has read. A bad value is named on stderr and ends the program
    // with exit code 2.
    static SimulatorOptions read(const QCommandLineParser& parser);
};
