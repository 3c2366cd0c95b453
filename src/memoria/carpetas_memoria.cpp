// The added folders in the bookmark file.
#include "carpetas_memoria.h"

#include <QDir>
#include <QFileInfo>

#include "carpeta_scripts.h"
#include "ini.h"

namespace {

const QString seccion = CarpetaScripts::seccionMemoria.toString();

QString Clave(qsizetype numero)
{
    return u"Carpeta" + QString::number(numero);
}

QString LeerClave(const QString& marcador, qsizetype numero, SistemaArchivos& sistema)
{
    QString clave = Clave(numero);
    return LeerIni(seccion, clave, marcador, sistema);
}

} // namespace

QStringList LeerCarpetasMemoria(const QString& carpeta, SistemaArchivos& sistema)
{
    const QString marcador = CarpetaScripts::RutaMarcador(carpeta);
    QStringList anadidas;
    if (!QFileInfo::exists(marcador))
        return anadidas;
    for (qsizetype numero = 1;; ++numero) {
        const QString valor = LeerClave(marcador, numero, sistema);
        if (valor.isEmpty())
            return anadidas;
        anadidas.append(valor);
    }
}

QString RutaAnadida(const QString& carpeta, const QString& valor)
{
    return QDir::cleanPath(QDir(carpeta).absoluteFilePath(valor));
}

void EscribirCarpetasMemoria(const QString& carpeta, const QStringList& anadidas, SistemaArchivos& sistema)
{
    const QString marcador = CarpetaScripts::RutaMarcador(carpeta);
    for (qsizetype i = 0; i < anadidas.size(); ++i)
        EscribirIni(seccion, Clave(i + 1), anadidas[i], marcador, sistema);
    const qsizetype siguiente = anadidas.size() + 1;
    if (!LeerClave(marcador, siguiente, sistema).isEmpty())
        EscribirIni(seccion, Clave(siguiente), QString(), marcador, sistema);
}
