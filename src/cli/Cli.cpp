#include "cli/Cli.h"

#include <exception>

#include "cli/BatchCommand.h"
#ifdef LUMOTRIX_CLI_LOCATE
#include "cli/LocateCommand.h"
#endif
#include "cli/PortCommands.h"
#include "cli/ShowCommand.h"

namespace {

using Runner = int (*)(const QStringList&, CliIo&);
using HelpText = QString (*)();

struct Subcommand {
    const char* name;
    Runner run;
    HelpText help;
};

constexpr Subcommand kSubcommands[] = {
    {"show", &ShowCommand::run, &ShowCommand::help},
    {"download", &PortCommands::download, &PortCommands::downloadHelp},
    {"set-address", &PortCommands::setAddress, &PortCommands::setAddressHelp},
    {"read-address", &PortCommands::readAddress, &PortCommands::readAddressHelp},
    {"batch", &BatchCommand::run, &BatchCommand::help},
#ifdef LUMOTRIX_CLI_LOCATE
    {"locate", &LocateCommand::run, &LocateCommand::help},
#endif
};

const Subcommand* find(const QString& name) {
    for (const Subcommand& s : kSubcommands) {
        if (name == QLatin1String(s.name)) {
            return &s;
        }
    }
    return nullptr;
}

bool isHelp(const QString& arg) {
    return arg == QLatin1String("--help") || arg == QLatin1String("-h") ||
           arg == QLatin1String("help");
}

}  // namespace

QString Cli::help() {
    return QStringLiteral(
        "Usage: lumotrix-cli COMMAND [ARGUMENTS]\n"
        "\n"
        "Looks inside LED module map files and sends them, and screen addresses, to LED\n"
        "display controllers over RS-232 (19200 bit/s, 8N1), exactly as the Lumotrix window\n"
        "does, without the window; and finds a module's lit LED in a camera's pictures.\n"
        "\n"
        "Commands:\n"
        "  show FILE.bin [--json]                       print a map file decoded, and what\n"
        "                                               looks wrong in it\n"
        "  download FILE.bin --port PORT                send a map file to a controller\n"
        "  set-address --port PORT --screen N --ip A.B.C.D\n"
        "                                               set a controller's screen number and\n"
        "                                               IP address\n"
        "  read-address --port PORT                     print a controller's screen number\n"
        "                                               and IP address\n"
        "  batch PLAN.csv [--report REPORT.csv]         download to many controllers at once\n"
        "  locate --module WxH --dark D.jpg --lit L.jpg STEP.jpg...\n"
        "                                               tell from a camera's pictures which\n"
        "                                               LED each step picture shows lit\n"
        "\n"
        "PORT is COM1..COM12 or a serial device path (/dev/ttyUSB0). On Linux and macOS COMn\n"
        "is the device named by the environment variable LUMOTRIX_COMn when it is set,\n"
        "otherwise the n-th serial device present, USB adapters (ttyUSB*, ttyACM*,\n"
        "cu.usbserial*) first, as in the window's port list.\n"
        "\n"
        "Exit codes:\n"
        "  0  success\n"
        "  1  an unexpected error inside the program\n"
        "  2  a controller did not acknowledge a packet (the message names which)\n"
        "  3  a serial port could not be opened, or failed during the exchange\n"
        "  4  bad input: arguments, a map file, a plan (nothing was sent); for show, also a\n"
        "     map in which something looks wrong; for locate, also a picture that cannot\n"
        "     be read or a refused calibration\n"
        "  5  locate: a step picture in doubt (not one LED clearly lit)\n"
        "  batch returns the worst code of its lines, locate that of its pictures.\n"
        "\n"
        "Results go to standard output; progress and errors to standard error.\n"
        "Run \"lumotrix-cli COMMAND --help\" for the details of a command.\n");
}

int Cli::run(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        m_io.err << help();
        return m_io.fail(ExitCode::BadInput, QStringLiteral("no command given"));
    }
    try {
        return dispatch(arguments.constFirst(), arguments.mid(1));
    } catch (const std::exception& e) {
        return m_io.fail(ExitCode::Internal,
                         QStringLiteral("unexpected error: ") + QString::fromUtf8(e.what()));
    }
}

int Cli::dispatch(const QString& command, const QStringList& rest) {
    if (isHelp(command)) {
        const Subcommand* about = rest.isEmpty() ? nullptr : find(rest.constFirst());
        m_io.out << (about != nullptr ? about->help() : help());
        m_io.out.flush();
        return toInt(ExitCode::Success);
    }
    if (command == QLatin1String("--version")) {
        m_io.out << "lumotrix-cli " << LUMOTRIX_VERSION << '\n';
        m_io.out.flush();
        return toInt(ExitCode::Success);
    }
    const Subcommand* subcommand = find(command);
    if (subcommand == nullptr) {
        return m_io.fail(
            ExitCode::BadInput,
            QStringLiteral("unknown command \"%1\" (see lumotrix-cli --help)").arg(command));
    }
    return subcommand->run(rest, m_io);
}
