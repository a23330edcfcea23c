#include "Application.h"
#include "Language.h"
#include "MainWindow.h"
#include "MessageBoxNotifier.h"
#include "PortNames.h"
#include "QtFileDialogs.h"
#include "QtSerialPort.h"

int main(int argc, char* argv[]) {
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumotrix"));
    Languages::use(Language::Chinese);

    QtSerialPort port;
    MessageBoxNotifier notifier(nullptr);
    QtFileDialogs dialogs(nullptr);
    MainWindow window({port, notifier, dialogs, PortNames()});
    window.show();
    return QApplication::exec();
}
