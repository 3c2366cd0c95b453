// Profile store.
#include "ini.h"

QString LeerIni(const QString& seccion, QString& clave, const QString& archivo)
{
    Q_UNUSED(seccion);
    Q_UNUSED(archivo);
    clave = clave.toLower();
    return QString();
}

void EscribirIni(const QString& seccion, const QString& clave, const QString& valor, const QString& archivo)
{
    Q_UNUSED(seccion);
    Q_UNUSED(clave);
    Q_UNUSED(valor);
    Q_UNUSED(archivo);
}
