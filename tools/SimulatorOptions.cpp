#include "SimulatorOptions.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <cstdlib>

#include "CameraCommandLine.h"

namespace {

QCommandLineOption option(const QString& name, const QString& help, const QString& value = {}) {
    return value.isEmpty() ? QCommandLineOption(name, help) : QCommandLineOption(name, help, value);
}

[[noreturn]] void refuse(const QString& name, const QString& what) {
    QTextStream(stderr) << "--" << name << ' ' << what << '\n';
    std::exit(2);
}

int positiveNumber(const QCommandLineParser& parser, const QString& name) {
    bool ok = false;
    const int number = parser.value(name).toInt(&ok);
    if (!ok || number < 0) {
        refuse(name, QStringLiteral("needs a number of 0 or more"));
    }
    return number;
}

Level level(const QCommandLineParser& parser, const QString& name, Level unset) {
    if (!parser.isSet(name)) {
        return unset;
    }
    const QString value = parser.value(name);
    if (value != QLatin1String("1") && value != QLatin1String("2")) {
        refuse(name, QStringLiteral("needs 1 or 2, not \"%1\"").arg(value));
    }
    return value == QLatin1String("1") ? Level::One : Level::Two;
}

// "A,B": bit B of row address A.
std::optional<ModuleTruth::ChainPosition> deadLed(const QCommandLineParser& parser) {
    const QString name = QStringLiteral("dead-led");
    if (!parser.isSet(name)) {
        return std::nullopt;
    }
    const QStringList parts = parser.value(name).split(QLatin1Char(','));
    bool addressOk = false, bitOk = false;
    const int address = parts.value(0).toInt(&addressOk);
    const int bit = parts.value(1).toInt(&bitOk);
    if (parts.size() != 2 || !addressOk || !bitOk || address < 0 || bit < 0) {
        refuse(name, QStringLiteral("needs ADDRESS,BIT (numbers of 0 or more), not \"%1\"")
                         .arg(parser.value(name)));
    }
    return ModuleTruth::ChainPosition{address, bit};
}

Wiring wiring(const QCommandLineParser& parser) {
    const QString name = QStringLiteral("wiring");
    if (!parser.isSet(name)) {
        return {};
    }
    const std::optional<Wiring> chosen = Wiring::fromName(parser.value(name));
    if (!chosen) {
        refuse(name,
               QStringLiteral("needs one of %1 (SEED a number of 0 or more), not \"%2\"")
                   .arg(Wiring::familyNames().join(QStringLiteral(", ")), parser.value(name)));
    }
    return *chosen;
}

SimulatorFaults readFaults(const QCommandLineParser& parser) {
    SimulatorFaults faults;
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
    return faults;
}

const char* const kDescription =
    "A simulated LED display controller on a pseudo-terminal.\n"
    "Prints the device to open as the serial port, then one line for every packet it\n"
    "receives and every answer it sends. It answers SetAddress and every MapDataPacket\n"
    "with 06, ReadAddress with 40 bytes (5A first, screen number at byte 17, IP octets at\n"
    "bytes 22-25), and test packets and DownLoadEnd with nothing.\n\n"
    "It drives a virtual LED module: CellTest gives its size, the polarity, row and column\n"
    "steps light it as a real module would, and a complete download shows a test picture\n"
    "through the map (a frame on the top and left edges, a diagonal, an arrow pointing\n"
    "right): exact when the map matches the wiring. Wirings: straight, stripe, reversed,\n"
    "from-right, random:SEED.\n\n"
    "--module-out writes, after every packet, one line a row of LEDs, top row first, one\n"
    "character an LED ('#' lit, '.' dark), then one line with the module's state; before\n"
    "the first CellTest only the state line. The file is replaced whole, never half written.\n\n"
    "--camera-port films the module with a virtual camera and serves the pictures as\n"
    "Motion-JPEG over HTTP on 127.0.0.1 (a browser or media player shows them); the other\n"
    "--camera- options say where the camera stands, what kind it is and how it fails.\n\n"
    "Example: lumotrix-sim --link /tmp/lumotrix-com1 --window &\n"
    "         LUMOTRIX_COM1=/tmp/lumotrix-com1 lumotrix";

void addFaultOptions(QCommandLineParser& parser) {
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

void addModuleOptions(QCommandLineParser& parser) {
    parser.addOptions({
        option(QStringLiteral("wiring"),
               QStringLiteral("Wire the virtual module as <family>: straight (the default), "
                              "stripe, reversed, from-right or random:SEED."),
               QStringLiteral("family")),
        option(QStringLiteral("oe-lit"),
               QStringLiteral("The module lights when OE is in state <n> (1 or 2; default 2)."),
               QStringLiteral("n")),
        option(QStringLiteral("display-lit"),
               QStringLiteral("The module lights when the display polarity is in state <n> "
                              "(1 or 2; default 1)."),
               QStringLiteral("n")),
        option(QStringLiteral("module-out"),
               QStringLiteral("After every packet, write the module's LEDs and state to "
                              "<file> (format above)."),
               QStringLiteral("file")),
        option(QStringLiteral("window"),
               QStringLiteral("Show the virtual module in a window of its own.")),
        option(QStringLiteral("dead-led"),
               QStringLiteral("The LED that bit <BIT> of row address <ADDRESS> drives never "
                              "lights."),
               QStringLiteral("ADDRESS,BIT")),
    });
}

}  // namespace

void SimulatorOptions::addTo(QCommandLineParser& parser) {
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    addFaultOptions(parser);
    addModuleOptions(parser);
    CameraCommandLine::addTo(parser);
}

SimulatorOptions SimulatorOptions::read(const QCommandLineParser& parser) {
    SimulatorOptions options;
    options.linkPath = parser.value(QStringLiteral("link"));
    options.imagePath = parser.value(QStringLiteral("image"));
    options.moduleOutPath = parser.value(QStringLiteral("module-out"));
    options.window = parser.isSet(QStringLiteral("window"));
    options.truth.wiring = wiring(parser);
    options.truth.oeLit = level(parser, QStringLiteral("oe-lit"), Level::Two);
    options.truth.displayLit = level(parser, QStringLiteral("display-lit"), Level::One);
    options.truth.deadLed = deadLed(parser);
    options.faults = readFaults(parser);
    options.cameraPort = CameraCommandLine::port(parser);
    options.camera = CameraCommandLine::read(parser);
    return options;
}
