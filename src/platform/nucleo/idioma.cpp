#include "idioma.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstalarTraduccionQt()
{
    const QLocale espanol(QLocale::Spanish, QLocale::Spain);
    QLocale::setDefault(espanol);
    auto* traduccion = new QTranslator(QCoreApplication::instance());
    if (!traduccion->load(espanol, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traduccion;
        return false;
    }
    return QCoreApplication::installTranslator(traduccion);
}
