#include "cli/SubcommandParser.h"

SubcommandParser::SubcommandParser(const QString& help, const QList<QCommandLineOption>& options)
    : m_help(help) {
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOptions(options);
    m_parser.addOption(
        QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
}

std::optional<int> SubcommandParser::parse(const QStringList& args, CliIo& io, int positionals) {
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
    if (given.size() != positionals) {
        return io.fail(ExitCode::BadInput,
                       QStringLiteral("expected %1 argument(s) besides the options, got %2: "
                                      "\"%3\" (see --help)")
                           .arg(positionals)
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
