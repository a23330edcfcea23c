#include <QApplication>

#include "Lumotrix.h"
#include "MessageBoxNotifier.h"
#include "PortNames.h"
#include "QtFileDialogs.h"
#include "QtSerialPort.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumotrix"));

    QtSerialPort port;
    MessageBoxNotifier notifier(nullptr);
    QtFileDialogs dialogs(nullptr);
    const PortNames names;
    Lumotrix program({port, notifier, dialogs, [&names](int n) { return names.deviceName(n); }});
    program.showPortDevices(names);
    program.startUp();
    program.window().show();
    return QApplication::exec();
}
