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

QByteArray TraduccionGrande(char marca)
{
    return ScriptDePrueba(200000, 50, marca == 'A' ? "Traduccion A" : "Traduccion B");
}

QString TextoDeScript(const QByteArray& bytes)
{
    QString texto = QString::fromUtf8(bytes);
    if (texto.endsWith(u"\r\n"))
        texto.chop(2);
    return texto.replace(u"\r\n"_qs, u"\n"_qs);
}

QByteArray ArchivoCrLf(const QStringList& lineas)
{
    QByteArray datos;
    for (const QString& linea : lineas)
        datos += linea.toUtf8() + "\r\n";
    return datos;
}
