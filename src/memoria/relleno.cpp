// Filling repetitions from the memory.
#include "relleno.h"

#include <QSet>

#include "numeros.h"

namespace {

bool PorRellenar(const QStringList& originales, const QStringList& lineas, qsizetype i)
{
    const QString& original = originales[i];
    if (original.isEmpty())
        return false;
    const QString linea = lineas.value(i);
    return linea.isEmpty() || linea == original;
}

} // namespace

const FormaTraduccion* ElegirForma(const QList<FormaTraduccion>& formas)
{
    const FormaTraduccion* mejor = nullptr;
    for (const FormaTraduccion& forma : formas) {
        if (!mejor || forma.usos > mejor->usos ||
            (forma.usos == mejor->usos &&
             (forma.fecha > mejor->fecha ||
              (forma.fecha == mejor->fecha && forma.traduccion < mejor->traduccion))))
            mejor = &forma;
    }
    return mejor;
}

QStringList OriginalesPorRellenar(const QStringList& originales, const QStringList& lineas)
{
    QStringList buscados;
    QSet<QString> vistos;
    for (qsizetype i = 0; i < originales.size(); ++i) {
        if (PorRellenar(originales, lineas, i) && !vistos.contains(originales[i])) {
            vistos.insert(originales[i]);
            buscados.append(originales[i]);
        }
    }
    return buscados;
}

Relleno Rellenar(const QStringList& originales, const QStringList& lineas,
                 const QHash<QString, QString>& elegidas)
{
    Relleno relleno{lineas, 0};
    for (qsizetype i = 0; i < originales.size(); ++i) {
        if (!PorRellenar(originales, lineas, i))
            continue;
        const auto elegida = elegidas.constFind(originales[i]);
        if (elegida == elegidas.cend() || *elegida == lineas.value(i))
            continue;
        while (relleno.lineas.size() <= i)
            relleno.lineas.append(QString());
        relleno.lineas[i] = *elegida;
        ++relleno.rellenadas;
    }
    return relleno;
}

QString TextoRelleno(int rellenadas)
{
    if (rellenadas == 0)
        return QStringLiteral("No hay líneas que rellenar desde la memoria.");
    if (rellenadas == 1)
        return QStringLiteral("Se ha rellenado 1 línea con traducciones de la memoria.");
    return QStringLiteral("Se han rellenado %1 líneas con traducciones de la memoria.")
        .arg(ConMiles(rellenadas));
}
