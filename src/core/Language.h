#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

// The language the program speaks. Its texts are written in Simplified Chinese; an English
// translation is built into the program.
enum class Language { Chinese, English };

namespace Languages {

// The language of a locale: English for a locale whose language is English, Chinese for any
// other (en_US and en_GB speak English; zh_CN, de_DE and C speak Chinese).
Language ofLocale(const QLocale& locale);

// The language a program started with these arguments speaks: the one "--lang en" or
// "--lang zh" (also "--lang=en") names, the last one counting, else the locale's. Nothing when
// --lang names another value or none.
std::optional<Language> choose(const QStringList& arguments, const QLocale& locale);

// The refusal of a --lang that names no known language, in the language spoken now.
QString unknownLanguageMessage();

// Makes every text of the program, the buttons and dialogs Qt draws itself, and the default
// QLocale (dates and sizes) speak language from now on, in place of the language used before.
// Needs a QCoreApplication.
void use(Language language);

// The language last passed to use(); Chinese before any call.
Language current();

}  // namespace Languages
