#include "app/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zelkor {

bool installJapaneseQtTexts() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    // Dates and numbers in Qt's dialogs follow the language of the texts.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace zelkor
