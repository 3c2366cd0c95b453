// The sentences of the translation memory.
#include "resultados.h"

#include "numeros.h"

QString TextoPreparando(int hechos, int total)
{
    return QStringLiteral("Preparando la memoria: %1 de %2 %3")
        .arg(ConMiles(hechos), ConMiles(total),
             total == 1 ? QStringLiteral("script") : QStringLiteral("scripts"));
}

QString TextoManeras(qsizetype maneras)
{
    return QStringLiteral("Traducido de %1 maneras distintas en la carpeta").arg(maneras);
}

QString TextoNoDisponible(const QString& carpeta, bool propia, const QString& motivo)
{
    if (propia)
        return QStringLiteral("La memoria de traducción no está disponible: %1.").arg(motivo);
    return QStringLiteral("La memoria de la carpeta «%1» no está disponible: %2.").arg(carpeta, motivo);
}
