#include "core/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace {

const char* const kUnknownLanguage =
    QT_TRANSLATE_NOOP("Languages", "--lang 只能是 en（英文）或 zh（中文）");
const QString kOption = QStringLiteral("--lang");

Language g_current = Language::Chinese;
QTranslator* g_translator = nullptr;

std::optional<Language> named(const QString& value) {
    if (value == QLatin1String("en")) {
        return Language::English;
    }
    if (value == QLatin1String("zh")) {
        return Language::Chinese;
    }
    return std::nullopt;
}

}  // namespace

Language Languages::ofLocale(const QLocale& locale) {
    return locale.language() == QLocale::English ? Language::English : Language::Chinese;
}

std::optional<Language> Languages::choose(const QStringList& arguments, const QLocale& locale) {
    std::optional<Language> chosen = ofLocale(locale);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == kOption) {
            chosen = named(arguments.value(++i));
        } else if (argument.startsWith(kOption + QLatin1Char('='))) {
            chosen = named(argument.mid(kOption.size() + 1));
        } else {
            continue;
        }
        if (!chosen) {
            return std::nullopt;
        }
    }
    return chosen;
}

QString Languages::unknownLanguageMessage() {
    return QCoreApplication::translate("Languages", kUnknownLanguage);
}

void Languages::use(Language language) {
    if (g_translator != nullptr) {
        QCoreApplication::removeTranslator(g_translator);
        delete g_translator;
        g_translator = nullptr;
    }
    g_current = language;
    auto translator = std::make_unique<QTranslator>();
    // English needs only the program's own texts: Qt speaks English by itself.
    const bool loaded = language == Language::English
                            ? translator->load(QStringLiteral(":/translations/lumotrix_en.qm"))
                            : translator->load(QStringLiteral("qtbase_zh_CN"),
                                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    QLocale::setDefault(language == Language::English
                            ? QLocale(QLocale::English, QLocale::UnitedStates)
                            : QLocale(QLocale::Chinese, QLocale::China));
    if (loaded && QCoreApplication::installTranslator(translator.get())) {
        g_translator = translator.release();
    }
}

Language Languages::current() {
    return g_current;
}
