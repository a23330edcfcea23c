#include "ui/CommandLine.h"

#include <QCoreApplication>

namespace {

const QString kLang = QStringLiteral("--lang");

}  // namespace

std::optional<QString> CommandLine::unknownArgument(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == kLang) {
            ++i;  // its value, which Languages::choose judges
        } else if (!argument.startsWith(kLang + QLatin1Char('='))) {
            return argument;
        }
    }
    return std::nullopt;
}

QString CommandLine::usage() {
    return QCoreApplication::translate("CommandLine",
                                       "用法：lumotrix [--lang en|zh] [Qt 的选项，如 -platform]\n");
}
