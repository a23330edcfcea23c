#pragma once

#include <QStringList>
#include <functional>

#include "cli/CliIo.h"
#include "cli/PortJob.h"
#include "cli/PortTarget.h"

class SubcommandParser;

// The subcommands that talk to one controller: download, set-address and read-address. Each
// checks every argument and file before the port is touched, runs one PortJob on the port's
// own worker thread, and says how it ended. Exit codes as ExitCode lists them.
class PortCommands {
public:
    static int download(const QStringList& args, CliIo& io);
    static int setAddress(const QStringList& args, CliIo& io);
    static int readAddress(const QStringList& args, CliIo& io);

    static QString downloadHelp();
    static QString setAddressHelp();
    static QString readAddressHelp();

private:
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

    // The common course: arguments, job and port checked (BadInput before the port is
    // touched), the job run, the outcome told.
    static int execute(const Arguments& a, CliIo& io, const JobMaker& makeJob,
                       const DoneTeller& tellDone);
    // Runs job on target, showing download progress on io.err.
    static PortJobResult runOne(const PortTarget& target, const PortJob& job, CliIo& io);
    // The exit code of result; a failure is also told on io.err.
    static int conclude(const PortJobResult& result, const PortTarget& target, CliIo& io);
};
