#include "cli/SubcommandParser.h"

SubcommandParser::SubcommandParser(const QString& help, const QList<QCommandLineOption>& options)
    : m_help(help) {
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOptions(options);
    m_parser.addOption(
        QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
}

std::optional<int> SubcommandParser::parse(const QStringList& args, CliIo& io, int positionals) {
    return parse(args, io, positionals, false);
}

std::optional<int> SubcommandParser::parseAtLeast(const QStringList& args, CliIo& io, int least) {
    return parse(args, io, least, true);
}

std::optional<int> SubcommandParser::parse(const QStringList& args, CliIo& io, int least,
                                           bool more) {
    // QCommandLineParser takes the program's name first.
    if (!m_parser.parse(QStringList{QStringLiteral("lumotrix-cli")} + args)) {
        return io.fail(ExitCode::BadInput, m_parser.errorText() + QStringLiteral(" (see --help)"));
    }
    if (m_parser.isSet(QStringLiteral("help"))) {
        io.out << m_help;
        io.out.flush();
        return toInt(ExitCode::Success);
    }
    const QStringList given = m_parser.positionalArguments();
    if (given.size() < least || (!more && given.size() > least)) {
        return io.fail(ExitCode::BadInput,
                       QStringLiteral("expected %1%2 argument(s) besides the options, got %3: "
                                      "\"%4\" (see --help)")
                           .arg(more ? QStringLiteral("at least ") : QString())
                           .arg(least)
                           .arg(given.size())
                           .arg(given.join(QStringLiteral("\" \""))));
    }
    return std::nullopt;
}

std::optional<int> SubcommandParser::require(const QString& name, CliIo& io) const {
    if (m_parser.isSet(name)) {
        return std::nullopt;
    }
    return io.fail(ExitCode::BadInput, QStringLiteral("--%1 is missing (see --help)").arg(name));
}
