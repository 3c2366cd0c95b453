// Filling repetitions: the lines of the box that take their translation from the memory, the choice
// among the ways an original was translated, and the message that tells how many lines were filled.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One way an original was translated: how many lines use it and when the newest of them was saved
// (nanoseconds since the epoch).
struct FormaTraduccion
{
    QString traduccion;
    int usos = 0;
    qint64 fecha = 0;
};

// The most used way; on a tie the most recently saved, then the first in text order.
const FormaTraduccion* ElegirForma(const QList<FormaTraduccion>& formas);

// The originals of the lines a fill may change: lines that are empty in the box, beyond its end or
// identical to their original, whose original is not empty. Each once.
QStringList OriginalesPorRellenar(const QStringList& originales, const QStringList& lineas);

struct Relleno
{
    QStringList lineas; // the box's lines after the fill
    int rellenadas = 0; // lines whose text changed
};

// The box after giving each line a fill may change the translation chosen for its original in `elegidas`.
// The box grows up to its last filled line.
Relleno Rellenar(const QStringList& originales, const QStringList& lineas,
                 const QHash<QString, QString>& elegidas);

// "Se han rellenado 37 líneas con traducciones de la memoria.", and its forms for one line and none.
QString TextoRelleno(int rellenadas);
