// Fuzz target: the profile store. Any bookmark file reads without crashing; a value written reads back;
// and the write changes no byte of the file outside the line it writes (or the lines it adds).
#include <cstdint>
#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ini.h"

namespace {

QByteArray Leer(const QString& ruta)
{
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    static QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("Velarto.vrk"));
    const QByteArray antes(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    {
        QFile archivo(ruta);
        if (!archivo.open(QIODevice::WriteOnly | QIODevice::Truncate) || archivo.write(antes) != antes.size())
            return 0;
    }
    QString clave = QStringLiteral("Indice");
    LeerIni(QStringLiteral("Marcador"), clave, ruta);
    if (clave != u"indice")
        std::abort();

    const QString valor = QString::number(tamano % 1000);
    EscribirIni(QStringLiteral("Marcador"), QStringLiteral("Indice"), valor, ruta);
    clave = QStringLiteral("Indice");
    if (LeerIni(QStringLiteral("Marcador"), clave, ruta) != valor)
        std::abort();

    // What differs between the old and the new file lies inside one line of the old one.
    const QByteArray despues = Leer(ruta);
    qsizetype prefijo = 0;
    while (prefijo < antes.size() && prefijo < despues.size() && antes[prefijo] == despues[prefijo])
        ++prefijo;
    qsizetype sufijo = 0;
    while (sufijo < antes.size() - prefijo && sufijo < despues.size() - prefijo &&
           antes[antes.size() - 1 - sufijo] == despues[despues.size() - 1 - sufijo])
        ++sufijo;
    const QByteArray cambiado = antes.mid(prefijo, antes.size() - prefijo - sufijo);
    if (cambiado.contains('\r') || cambiado.contains('\n'))
        std::abort();
    return 0;
}
