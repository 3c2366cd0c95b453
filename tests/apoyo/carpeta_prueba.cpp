#include "carpeta_prueba.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void EscribirBytes(const QString& ruta, const QByteArray& datos)
{
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile archivo(ruta);
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        archivo.write(datos);
}

QByteArray LeerBytes(const QString& ruta)
{
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

QByteArray ScriptDePrueba(int lineas, int ancho, const char* prefijo)
{
    QByteArray datos;
    datos.reserve(qsizetype(lineas) * (ancho + 2));
    for (int i = 0; i < lineas; ++i) {
        QByteArray linea = prefijo + QByteArray(" ") + QByteArray::number(i) + " ";
        while (linea.size() < ancho)
            linea += "texto del guion ";
        linea.truncate(ancho - (i % 7));
        datos += linea + "\r\n";
    }
    return datos;
}
