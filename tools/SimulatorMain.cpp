// lumotrix-sim: a simulated LED controller on a pseudo-terminal, so that the program (or a
// person with a terminal tool) can be tried without hardware.

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTime>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <memory>

#include "CameraStream.h"
#include "ModuleWindow.h"
#include "PtyController.h"
#include "SimulatorOptions.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    (void)!::write(g_signalPipe[0], &byte, 1);
}

// Ctrl+C and kill end the event loop normally, so the link made with --link is removed.
void quitOnSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

bool wantsWindow(int argc, char* argv[]) {
    return std::any_of(argv + 1, argv + argc,
                       [](const char* argument) { return std::strcmp(argument, "--window") == 0; });
}

// Replaced whole, so that a reader never sees half a module.
bool writeModule(const QString& path, const ModuleSnapshot& module) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(module.toText()) >= 0 && file.commit();
}

// Shows the module now and after every packet, in the file and the window when asked for.
void followModule(PtyController& controller, const QString& moduleOut, ModuleWindow* window) {
    bool reported = false;
    auto show = [&controller, moduleOut, window, reported]() mutable {
        const ModuleSnapshot module = controller.model().moduleSnapshot();
        if (!moduleOut.isEmpty() && !writeModule(moduleOut, module) && !reported) {
            QTextStream(stderr) << "cannot write the module to " << moduleOut << '\n';
            reported = true;
        }
        if (window != nullptr) {
            window->showModule(module);
        }
    };
    show();
    QObject::connect(&controller, &PtyController::received, &controller, show);
}

}  // namespace

int main(int argc, char* argv[]) {
    // A plain QtCore program unless the module is to be shown.
    const std::unique_ptr<QCoreApplication> app =
        wantsWindow(argc, argv) ? std::make_unique<QApplication>(argc, argv)
                                : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumotrix-sim"));
    QCommandLineParser parser;
    SimulatorOptions::addTo(parser);
    parser.process(*app);
    const SimulatorOptions options = SimulatorOptions::read(parser);

    PtyController controller(options.linkPath);
    controller.model().setFaults(options.faults);
    controller.model().setImagePath(options.imagePath);
    controller.model().setModuleTruth(options.truth);
    QTextStream out(stdout);
    QObject::connect(&controller, &PtyController::logged, app.get(), [&out](const QString& line) {
        out << QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) << ' ' << line
            << Qt::endl;
    });
    if (!controller.start()) {
        QTextStream(stderr) << controller.errorString() << '\n';
        return 1;
    }
    const std::unique_ptr<ModuleWindow> window =
        options.window ? std::make_unique<ModuleWindow>() : nullptr;
    followModule(controller, options.moduleOutPath, window.get());
    std::unique_ptr<CameraStream> camera;
    if (options.cameraPort) {
        camera = std::make_unique<CameraStream>(options.camera);
        camera->watch(controller);
        if (!camera->start(*options.cameraPort)) {
            QTextStream(stderr) << "camera: " << camera->errorString() << '\n';
            return 1;
        }
        out << "camera http://127.0.0.1:" << camera->port() << '/' << Qt::endl;
    }
    // Last, as the sign that everything asked for is in place.
    out << controller.devicePath() << Qt::endl;
    if (window) {
        window->show();
    }
    quitOnSignals(*app);
    return QCoreApplication::exec();
}
