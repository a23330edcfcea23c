// lumotrix-sim: a simulated LED controller on a pseudo-terminal, so that the program (or a
// person with a terminal tool) can be tried without hardware.

#include <sys/socket.h>
#include <unistd.h>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTime>
#include <csignal>

#include "PtyController.h"

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

struct Options {
    QString linkPath;
    QString imagePath;
    SimulatorFaults faults;
};

QCommandLineOption option(const QString& name, const QString& help, const QString& value = {}) {
    return value.isEmpty() ? QCommandLineOption(name, help) : QCommandLineOption(name, help, value);
}

int positiveNumber(const QCommandLineParser& parser, const QString& name) {
    bool ok = false;
    const int number = parser.value(name).toInt(&ok);
    if (!ok || number < 0) {
        QTextStream(stderr) << "--" << name << " needs a number of 0 or more\n";
        std::exit(2);
    }
    return number;
}

void addOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "A simulated LED display controller on a pseudo-terminal.\n"
        "Prints the device to open as the serial port, then one line for every packet it\n"
        "receives and every answer it sends. It answers SetAddress and every MapDataPacket\n"
        "with 06, ReadAddress with 40 bytes (5A first, screen number at byte 17, IP octets at\n"
        "bytes 22-25), and test packets and DownLoadEnd with nothing.\n\n"
        "Example: lumotrix-sim --link /tmp/lumotrix-com1 &\n"
        "         LUMOTRIX_COM1=/tmp/lumotrix-com1 lumotrix"));
    parser.addHelpOption();
    parser.addOptions({
        option(QStringLiteral("link"),
               QStringLiteral("Make a symbolic link at <path> to the device."),
               QStringLiteral("path")),
        option(QStringLiteral("image"),
               QStringLiteral("Write the received 2048-byte image to <file> on DownLoadEnd."),
               QStringLiteral("file")),
        option(QStringLiteral("no-answer"), QStringLiteral("Never answer any packet.")),
        option(QStringLiteral("nak"),
               QStringLiteral("Answer 15 instead of 06 to data packet <k> (1-16)."),
               QStringLiteral("k")),
        option(QStringLiteral("silent"),
               QStringLiteral("Answer nothing to data packet <k> (1-16)."), QStringLiteral("k")),
        option(QStringLiteral("late"), QStringLiteral("Answer <ms> milliseconds late."),
               QStringLiteral("ms")),
        option(QStringLiteral("short-read"),
               QStringLiteral("Answer ReadAddress with only its first 10 bytes.")),
        option(QStringLiteral("garbage"),
               QStringLiteral("Answer every request with meaningless bytes (A5 13 FF 00 C3).")),
        option(QStringLiteral("stray"),
               QStringLiteral("Send the bytes <hex> (e.g. 06) after every test packet."),
               QStringLiteral("hex")),
        option(QStringLiteral("hang-up"),
               QStringLiteral("Hang up at data packet <k> (1-16) instead of answering; a fresh "
                              "device is offered right after."),
               QStringLiteral("k")),
        option(QStringLiteral("line-time"),
               QStringLiteral("Emulate 19200 bit/s: requests and answers take their line time.")),
    });
}

Options readOptions(const QCommandLineParser& parser) {
    Options options;
    options.linkPath = parser.value(QStringLiteral("link"));
    options.imagePath = parser.value(QStringLiteral("image"));
    SimulatorFaults& faults = options.faults;
    faults.neverAnswer = parser.isSet(QStringLiteral("no-answer"));
    faults.shortAddressAnswer = parser.isSet(QStringLiteral("short-read"));
    faults.garbageAnswer = parser.isSet(QStringLiteral("garbage"));
    faults.lineTime = parser.isSet(QStringLiteral("line-time"));
    faults.strayAfterTest = QByteArray::fromHex(parser.value(QStringLiteral("stray")).toLatin1());
    if (parser.isSet(QStringLiteral("nak"))) {
        faults.nakDataPacket = positiveNumber(parser, QStringLiteral("nak"));
    }
    if (parser.isSet(QStringLiteral("silent"))) {
        faults.silentDataPacket = positiveNumber(parser, QStringLiteral("silent"));
    }
    if (parser.isSet(QStringLiteral("late"))) {
        faults.answerDelay =
            std::chrono::milliseconds(positiveNumber(parser, QStringLiteral("late")));
    }
    if (parser.isSet(QStringLiteral("hang-up"))) {
        faults.hangUpAtDataPacket = positiveNumber(parser, QStringLiteral("hang-up"));
    }
    return options;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumotrix-sim"));
    QCommandLineParser parser;
    addOptions(parser);
    parser.process(app);
    const Options options = readOptions(parser);

    PtyController controller(options.linkPath);
    controller.model().setFaults(options.faults);
    controller.model().setImagePath(options.imagePath);
    QTextStream out(stdout);
    QObject::connect(&controller, &PtyController::logged, &app, [&out](const QString& line) {
        out << QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) << ' ' << line
            << Qt::endl;
    });
    if (!controller.start()) {
        QTextStream(stderr) << controller.errorString() << '\n';
        return 1;
    }
    out << controller.devicePath() << Qt::endl;
    quitOnSignals(app);
    return QCoreApplication::exec();
}
