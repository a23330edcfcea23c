#include "cli/PortCommands.h"

#include <functional>

#include "cli/AddressArguments.h"
#include "cli/JobOutcomeText.h"
#include "cli/MapReportFormat.h"
#include "cli/PortJob.h"
#include "cli/PortTarget.h"
#include "cli/Progress.h"
#include "cli/SubcommandParser.h"
#include "cli/WorkerPool.h"
#include "core/Errors.h"
#include "core/MapLayout.h"
#include "mapfile/MapFile.h"

namespace {

const QString kPort = QStringLiteral("port");
const QString kScreen = QStringLiteral("screen");
const QString kIp = QStringLiteral("ip");

QCommandLineOption valueOption(const QString& name, const char* valueName) {
    return QCommandLineOption(name, QString(), QString::fromUtf8(valueName));
}

const char* const kPortHelp =
    "  --port PORT      COM1..COM12, or a serial device path such as /dev/ttyUSB0.\n"
    "                   COMn is the device in the environment variable LUMOTRIX_COMn when\n"
    "                   set, else the n-th serial device present, USB adapters first.\n";

struct Arguments {
    SubcommandParser& parser;
    const QStringList& args;
    int positionals = 0;
    QStringList required;
};
// Builds the job from the parsed arguments; throws InputError for a bad value or file.
using JobMaker = std::function<PortJob(const SubcommandParser&)>;
// Writes the result of a job that ended Done to io.out.
using DoneTeller = std::function<void(const PortJob&, const PortJobResult&, const PortTarget&)>;

// Runs job on target, showing download progress on io.err.
PortJobResult runOne(const PortTarget& target, const PortJob& job, CliIo& io) {
    Progress progress(io.err, io.errIsTerminal);
    const QHash<int, PortJobResult> results =
        WorkerPool::run({{target, job}}, [&progress](int, int n) { progress.acknowledged(n); }, {});
    progress.finish();
    return results.value(job.id);
}

// The exit code of result; a failure is also told on io.err.
int conclude(const PortJobResult& result, const PortTarget& target, CliIo& io) {
    const ExitCode code = JobOutcomeText::exitCode(result);
    if (code == ExitCode::Success) {
        return toInt(code);
    }
    return io.fail(code, JobOutcomeText::failure(result, target.describe()));
}

// The common course: arguments, job and port checked (BadInput before the port is touched), the
// job run, the outcome told.
int execute(const Arguments& a, CliIo& io, const JobMaker& makeJob, const DoneTeller& tellDone) {
    if (const auto code = a.parser.parse(a.args, io, a.positionals)) {
        return *code;
    }
    for (const QString& name : a.required) {
        if (const auto code = a.parser.require(name, io)) {
            return *code;
        }
    }
    PortJob job;
    PortTarget target;
    try {
        job = makeJob(a.parser);
        target = PortTarget::parse(a.parser.value(kPort), io.portNames);
    } catch (const InputError& e) {
        return io.fail(ExitCode::BadInput, QString::fromUtf8(e.what()));
    } catch (const FileError& e) {
        return io.fail(ExitCode::BadInput, QString::fromUtf8(e.what()));
    }
    if (!job.image.isEmpty()) {
        io.err << "sending " << a.parser.positional().constFirst() << " (CRC-32 "
               << MapReportFormat::crc32(job.image) << ") to " << target.describe() << '\n';
        io.err.flush();
    }
    const PortJobResult result = runOne(target, job, io);
    if (result.outcome.kind == ExchangeOutcome::Kind::Done) {
        tellDone(job, result, target);
        io.out.flush();
    }
    return conclude(result, target, io);
}

}  // namespace

QString PortCommands::downloadHelp() {
    return (QStringLiteral(
                "Usage: lumotrix-cli download FILE.bin --port PORT\n"
                "\n"
                "Sends a map file (exactly %1 bytes) to the controller on PORT, the way the\n"
                "window's download button does: 16 data packets of 128 bytes, each acknowledged\n"
                "by the controller (answer 06; looked at 500 ms after the first packet has left\n"
                "the line, 100 ms after each other one), then the closing packet and a 100 ms\n"
                "wait. No retry: the first packet not acknowledged ends the download. The port\n"
                "is closed at the end. Progress goes to standard error: a bar on a terminal,\n"
                "otherwise one line per acknowledged packet.\n"
                "\n"
                "Options:\n") +
            QString::fromUtf8(kPortHelp) +
            QStringLiteral(
                "  -h, --help       print this help\n"
                "\n"
                "Exit codes: 0 complete; 2 the controller did not acknowledge a data packet (the\n"
                "message names it); 3 the port could not be opened or failed; 4 bad arguments or\n"
                "a file that is not a readable %1-byte map file (nothing was sent).\n"
                "\n"
                "Example:\n"
                "  lumotrix-cli download p10-outdoor.bin --port COM1\n"
                "  lumotrix-cli download p10-outdoor.bin --port /dev/ttyUSB0\n"))
        .arg(MapLayout::kImageSize);
}

int PortCommands::download(const QStringList& args, CliIo& io) {
    SubcommandParser parser(downloadHelp(), {valueOption(kPort, "PORT")});
    const auto makeJob = [](const SubcommandParser& p) {
        PortJob job;
        job.image = MapFile::load(p.positional().constFirst()).toBytes();
        return job;
    };
    const auto tellDone = [&io](const PortJob&, const PortJobResult&, const PortTarget& target) {
        io.out << "download complete: 16 data packets acknowledged and the closing packet "
                  "sent to "
               << target.describe() << '\n';
    };
    return execute({parser, args, 1, {kPort}}, io, makeJob, tellDone);
}

QString PortCommands::setAddressHelp() {
    return QStringLiteral(
               "Usage: lumotrix-cli set-address --port PORT --screen N --ip A.B.C.D\n"
               "\n"
               "Writes a screen number and an IP address to the controller on PORT (one\n"
               "SetAddress packet; the controller's answer is looked at 100 ms after the packet\n"
               "has left the line and must begin with 06). The port is closed at the end.\n"
               "Each value is read as the window reads its boxes: the number the text begins\n"
               "with, rounded half to even (\"7\", \"7.0\" and \"7abc\" are 7), and must then\n"
               "be 0..255. Values are checked before the port is touched.\n"
               "\n"
               "Options:\n") +
           QString::fromUtf8(kPortHelp) +
           QStringLiteral(
               "  --screen N       the screen number, 0..255\n"
               "  --ip A.B.C.D     the IP address, four numbers 0..255 separated by dots\n"
               "  -h, --help       print this help\n"
               "\n"
               "Exit codes: 0 the controller took the values; 2 it did not acknowledge them;\n"
               "3 the port could not be opened or failed; 4 bad arguments (nothing was sent).\n"
               "\n"
               "Example:\n"
               "  lumotrix-cli set-address --port COM2 --screen 3 --ip 192.168.0.103\n");
}

int PortCommands::setAddress(const QStringList& args, CliIo& io) {
    SubcommandParser parser(setAddressHelp(), {valueOption(kPort, "PORT"),
                                               valueOption(kScreen, "N"), valueOption(kIp, "IP")});
    const auto makeJob = [](const SubcommandParser& p) {
        PortJob job;
        job.setAddress = AddressArguments::parse(p.value(kScreen), p.value(kIp));
        return job;
    };
    const auto tellDone = [&io](const PortJob& job, const PortJobResult&,
                                const PortTarget& target) {
        io.out << "screen number " << int{job.setAddress->screen} << " and IP address "
               << job.setAddress->ipText() << " set on " << target.describe() << '\n';
    };
    return execute({parser, args, 0, {kPort, kScreen, kIp}}, io, makeJob, tellDone);
}

QString PortCommands::readAddressHelp() {
    return QStringLiteral(
               "Usage: lumotrix-cli read-address --port PORT\n"
               "\n"
               "Asks the controller on PORT for its screen number and IP address (one\n"
               "ReadAddress packet; the answer is looked at 100 ms after the packet has left\n"
               "the line, must begin with 5A and hold at least 26 bytes) and prints them on\n"
               "standard output as two lines:\n"
               "  screen 7\n"
               "  ip 192.168.1.10\n"
               "The port is closed at the end.\n"
               "\n"
               "Options:\n") +
           QString::fromUtf8(kPortHelp) +
           QStringLiteral(
               "  -h, --help       print this help\n"
               "\n"
               "Exit codes: 0 read; 2 no usable answer; 3 the port could not be opened or\n"
               "failed; 4 bad arguments (nothing was sent).\n"
               "\n"
               "Example:\n"
               "  lumotrix-cli read-address --port COM1\n");
}

int PortCommands::readAddress(const QStringList& args, CliIo& io) {
    SubcommandParser parser(readAddressHelp(), {valueOption(kPort, "PORT")});
    const auto makeJob = [](const SubcommandParser&) {
        PortJob job;
        job.readAddress = true;
        return job;
    };
    const auto tellDone = [&io](const PortJob&, const PortJobResult& result, const PortTarget&) {
        io.out << "screen " << int{result.address.screen} << '\n'
               << "ip " << result.address.ipText() << '\n';
    };
    return execute({parser, args, 0, {kPort}}, io, makeJob, tellDone);
}
