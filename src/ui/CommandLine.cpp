#include "ui/CommandLine.h"

#include <QCoreApplication>

namespace {

const QString kLang = QStringLiteral("--lang");
const QString kCamera = QStringLiteral("--camera");
const QString kListCameras = QStringLiteral("--list-cameras");

// The value given with `option` at arguments[i] ("--option value" or "--option=value"), and
// where the next argument is; nothing when arguments[i] is not that option.
std::optional<std::pair<QString, int>> valueAt(const QStringList& arguments, int i,
                                               const QString& option) {
    if (arguments[i] == option) {
        return std::pair(arguments.value(i + 1), i + 2);
    }
    if (arguments[i].startsWith(option + QLatin1Char('='))) {
        return std::pair(arguments[i].mid(option.size() + 1), i + 1);
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> CommandLine::unknownArgument(const QStringList& arguments) {
    for (int i = 1; i < arguments.size();) {
        const auto lang = valueAt(arguments, i, kLang);
        const auto camera = valueAt(arguments, i, kCamera);
        if (lang || camera) {
            i = (lang ? lang : camera)->second;  // the value is judged where it is used
        } else if (arguments[i] == kListCameras) {
            ++i;
        } else {
            return arguments[i];
        }
    }
    return std::nullopt;
}

std::optional<QString> CommandLine::camera(const QStringList& arguments) {
    std::optional<QString> source;
    for (int i = 1; i < arguments.size(); ++i) {
        if (const auto value = valueAt(arguments, i, kCamera)) {
            source = value->first;
        }
    }
    return source;
}

bool CommandLine::listCameras(const QStringList& arguments) {
    return arguments.contains(kListCameras);
}

QString CommandLine::usage() {
    return QCoreApplication::translate(
        "CommandLine",
        "用法：lumotrix [--lang en|zh] [--camera 相机] [--list-cameras] [Qt 的选项，如 -platform]\n"
        "  --camera 相机     打开相机窗口：http:// 地址，或 --list-cameras 列出的相机编号或名称\n"
        "  --list-cameras    列出找到的相机后结束\n");
}
