#include <QApplication>

#include "Lumotrix.h"
#include "MessageBoxNotifier.h"
#include "QtSerialPort.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumotrix"));

    QtSerialPort port;
    MessageBoxNotifier notifier(nullptr);
    Lumotrix program(port, notifier, [](int n) { return QStringLiteral("COM%1").arg(n); });
    program.startUp();
    program.window().show();
    return QApplication::exec();
}
