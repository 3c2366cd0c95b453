// Paths inside a script folder.
#include "carpeta_scripts.h"

#include <QDir>

namespace CarpetaScripts {

QString RutaTraducidos(const QString& carpeta)
{
    return QDir(carpeta).filePath(QStringLiteral("Traducidos"));
}

QString RutaOriginal(const QString& carpeta, const QString& nombre)
{
    return QDir(carpeta).filePath(nombre);
}

QString RutaTraduccion(const QString& carpeta, const QString& nombre)
{
    return QDir(RutaTraducidos(carpeta)).filePath(nombre);
}

QString RutaMarcador(const QString& carpeta)
{
    return QDir(carpeta).filePath(QStringLiteral("Velarto.vrk"));
}

} // namespace CarpetaScripts
