#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quillory {

namespace {

QTranslator& ours() {
    static QTranslator translator;
    return translator;
}

QTranslator& qts() {
    static QTranslator translator;
    return translator;
}

} // namespace

bool installTranslations(const QLocale& locale) {
    removeTranslations();
    if (qts().load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qts());
    if (!ours().load(locale, QStringLiteral("quillory"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        return false;
    QCoreApplication::installTranslator(&ours());
    return true;
}

void removeTranslations() {
    QCoreApplication::removeTranslator(&ours());
    QCoreApplication::removeTranslator(&qts());
}

} // namespace quillory
