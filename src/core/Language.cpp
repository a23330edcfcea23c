#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void Languages::use(Language language) {
    QCoreApplication* app = QCoreApplication::instance();
    auto* translator = new QTranslator(app);
    const bool loaded = language == Language::English
                            ? translator->load(QStringLiteral(":/translations/lumotrix_en.qm"))
                            // Qt's own buttons and dialogs, when its translations are installed.
                            : translator->load(QStringLiteral("qtbase_zh_CN"),
                                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}
