#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "Lumotrix.h"
#include "MessageBoxNotifier.h"
#include "PortNames.h"
#include "QtFileDialogs.h"
#include "QtSerialPort.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumotrix"));
    // The window speaks Simplified Chinese whatever the system's language, and so do the
    // buttons and dialogs that Qt draws itself (when its translations are installed).
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

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
