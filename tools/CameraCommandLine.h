#pragma once

#include <QtGlobal>
#include <optional>

#include "CameraOptions.h"

class QCommandLineParser;

// lumotrix-sim's options for the virtual camera: --camera-port turns it on, the others set
// CameraOptions' members (ranges as CameraView gives them). A value out of range is named on
// stderr and ends the program with exit code 2.
namespace CameraCommandLine {

void addTo(QCommandLineParser& parser);
// The port asked for (0: a free one), or nullopt when the camera is not wanted.
std::optional<quint16> port(const QCommandLineParser& parser);
CameraOptions read(const QCommandLineParser& parser);

}  // namespace CameraCommandLine
