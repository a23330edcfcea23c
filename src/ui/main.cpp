#include <cstdio>

#include "camera/LocalCameras.h"
#include "camera/SourceChoice.h"
#include "core/Language.h"
#include "link/PortNames.h"
#include "link/QtSerialPort.h"
#include "ui/Application.h"
#include "ui/CameraControl.h"
#include "ui/CommandLine.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxNotifier.h"
#include "ui/QtFileDialogs.h"

// Exit code of a command line the program does not understand.
constexpr int kBadArguments = 2;

int main(int argc, char* argv[]) {
    Application app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Lumotrix"));
    QApplication::setApplicationName(QStringLiteral("Lumotrix"));
    // The locale the system speaks messages in (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
    const QLocale system(QLocale::system().uiLanguages().value(0));
    const std::optional<Language> language =
        Languages::choose(QCoreApplication::arguments(), system);
    Languages::use(language.value_or(Languages::ofLocale(system)));
    if (!language) {
        std::fprintf(stderr, "%s\n%s", qUtf8Printable(Languages::unknownLanguageMessage()),
                     qUtf8Printable(CommandLine::usage()));
        return kBadArguments;
    }
    if (const std::optional<QString> unknown =
            CommandLine::unknownArgument(QCoreApplication::arguments())) {
        const QString refusal =
            QCoreApplication::translate("CommandLine", "未知的选项：%1").arg(*unknown);
        std::fprintf(stderr, "%s\n%s", qUtf8Printable(refusal),
                     qUtf8Printable(CommandLine::usage()));
        return kBadArguments;
    }

    if (CommandLine::listCameras(QCoreApplication::arguments())) {
        LocalCameras local;
        const QString list = SourceChoice::listText(local.cameras());
        std::fputs(qUtf8Printable(list.isEmpty() ? local.unavailableReason() + u'\n' : list),
                   list.isEmpty() ? stderr : stdout);
        return 0;
    }

    QtSerialPort port;
    MessageBoxNotifier notifier(nullptr);
    QtFileDialogs dialogs(nullptr);
    MainWindow window({port, notifier, dialogs, PortNames()});
    window.show();
    if (const std::optional<QString> source = CommandLine::camera(QCoreApplication::arguments())) {
        window.camera()->showWindow();
        window.camera()->useSource(*source);
    }
    return QApplication::exec();
}
