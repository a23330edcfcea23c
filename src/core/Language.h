#pragma once

#include <QLocale>
#include <QStringList>

// The language the program speaks. Its texts are written in Simplified Chinese; an English
// translation is built into the program.
enum class Language { Chinese, English };

namespace Languages {

// Makes every text of the program, and the buttons and dialogs Qt draws itself, speak
// language from now on. Needs a QCoreApplication.
void use(Language language);

}  // namespace Languages
