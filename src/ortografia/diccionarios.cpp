// Dictionary discovery: pairs of .aff and .dic files named by their locale.
#include "diccionarios.h"

#include <algorithm>

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

namespace {

const QString preferido = QStringLiteral("es_ES");

bool EsEspanol(const QString& codigo)
{
    return codigo == u"es" || codigo.startsWith(u"es_") || codigo.startsWith(u"es-");
}

QString Mayuscula(QString texto)
{
    if (!texto.isEmpty())
        texto[0] = texto[0].toUpper();
    return texto;
}

} // namespace

QStringList CarpetasDiccionarios()
{
    QStringList carpetas;
    for (const QString& carpeta : qEnvironmentVariable("DICPATH").split(u':', Qt::SkipEmptyParts))
        carpetas.append(carpeta);
    for (const QString& datos : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        carpetas.append(QDir(datos).filePath(QStringLiteral("hunspell")));
    carpetas.append(QStringLiteral("/usr/share/hunspell"));
    carpetas.append(QStringLiteral("/usr/share/myspell"));
    carpetas.append(QStringLiteral("/usr/share/myspell/dicts"));
    carpetas.removeDuplicates();
    return carpetas;
}

QList<Diccionario> BuscarDiccionarios(const QStringList& carpetas)
{
    QList<Diccionario> encontrados;
    QSet<QString> codigos;
    for (const QString& carpeta : carpetas) {
        const QDir dir(carpeta);
        const QStringList afijos =
            dir.entryList({QStringLiteral("*.aff")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& nombreAfijos : afijos) {
            const QString codigo = nombreAfijos.chopped(4);
            if (!EsEspanol(codigo) || codigos.contains(codigo))
                continue;
            // Both files, readable, through any links (a broken link is no dictionary).
            const QFileInfo palabras(dir.filePath(codigo + u".dic"));
            if (!palabras.isFile() || !palabras.isReadable())
                continue;
            codigos.insert(codigo);
            encontrados.append(
                {codigo, NombreLegible(codigo), dir.filePath(nombreAfijos), palabras.filePath()});
        }
    }
    QCollator orden{QLocale(QLocale::Spanish, QLocale::Spain)};
    std::sort(encontrados.begin(), encontrados.end(), [&](const Diccionario& a, const Diccionario& b) {
        if ((a.codigo == preferido) != (b.codigo == preferido))
            return a.codigo == preferido;
        const int comparacion = orden.compare(a.nombre, b.nombre);
        return comparacion != 0 ? comparacion < 0 : a.codigo < b.codigo;
    });
    return encontrados;
}

QString NombreLegible(const QString& codigo)
{
    static const QRegularExpression forma(QStringLiteral("^([a-z]{2,3})(?:[_-]([A-Z]{2}|[0-9]{3}))?$"));
    const QRegularExpressionMatch partes = forma.match(codigo);
    if (!partes.hasMatch())
        return codigo;
    const QLocale idioma(partes.captured(1));
    if (idioma.language() == QLocale::C)
        return codigo;
    // The locale data names Spanish after a country ("español de España"); the country comes apart.
    const QString lengua = idioma.language() == QLocale::Spanish ? QStringLiteral("Español")
                                                                 : Mayuscula(idioma.nativeLanguageName());
    if (partes.captured(2).isEmpty())
        return lengua;
    const QLocale local(partes.captured(1) + u'_' + partes.captured(2));
    // Codes the locale data does not know keep their country code: "Español (XX)".
    const QLocale::Territory territorio = QLocale::codeToTerritory(partes.captured(2));
    const bool conocido = territorio != QLocale::AnyTerritory && local.territory() == territorio &&
                          local.language() == idioma.language();
    const QString pais = conocido ? local.nativeTerritoryName() : partes.captured(2);
    return lengua + u" (" + pais + u')';
}
