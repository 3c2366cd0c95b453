// The folder's own code pattern in the bookmark file.
#include "codigos_carpeta.h"

#include "carpeta_scripts.h"
#include "ini.h"

namespace {

const QString seccion = CarpetaScripts::seccionComprobaciones.toString();
const QString clave = QStringLiteral("Codigos");

} // namespace

QString LeerCodigosCarpeta(const QString& carpeta, SistemaArchivos& sistema)
{
    QString nombre = clave;
    return LeerIni(seccion, nombre, CarpetaScripts::RutaMarcador(carpeta), sistema);
}

void EscribirCodigosCarpeta(const QString& carpeta, const QString& expresion, SistemaArchivos& sistema)
{
    if (expresion.isEmpty() && LeerCodigosCarpeta(carpeta, sistema).isEmpty())
        return;
    const QString valor = expresion.isEmpty() ? QString() : u'"' + expresion + u'"';
    EscribirIni(seccion, clave, valor, CarpetaScripts::RutaMarcador(carpeta), sistema);
}
