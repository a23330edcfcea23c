#pragma once

#include <QCommandLineParser>
#include <optional>

#include "cli/CliIo.h"

// The arguments of one subcommand: its options, its positional arguments, and -h/--help.
// Example: SubcommandParser p(help, {portOption}); if (auto code = p.parse(args, io, 1))
// return *code; then p.value("port"), p.positional().
class SubcommandParser {
public:
    SubcommandParser(const QString& help, const QList<QCommandLineOption>& options);

    // args: what follows the subcommand's name. Returns the exit code when the subcommand is
    // to end here: 0 after printing the help on out, BadInput after an unknown option, a
    // missing value or a count of positional arguments other than positionals. Otherwise
    // nullopt, and the values can be read.
    std::optional<int> parse(const QStringList& args, CliIo& io, int positionals);
    // The same with at least `least` positional arguments, and any number more.
    std::optional<int> parseAtLeast(const QStringList& args, CliIo& io, int least);

    bool isSet(const QString& name) const { return m_parser.isSet(name); }
    QString value(const QString& name) const { return m_parser.value(name); }
    QStringList positional() const { return m_parser.positionalArguments(); }
    // BadInput with "<option> is missing" when name was not given; nullopt when it was.
    std::optional<int> require(const QString& name, CliIo& io) const;

private:
    std::optional<int> parse(const QStringList& args, CliIo& io, int least, bool more);

    QCommandLineParser m_parser;
    QString m_help;
};
