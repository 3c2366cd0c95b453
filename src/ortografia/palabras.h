// How a line of a translation is cut into the words the spelling check looks at.
#pragma once

#include <QList>
#include <QStringView>

// A word of a line: where it starts and how many UTF-16 units it takes.
struct TramoPalabra
{
    int inicio = 0;
    int largo = 0;

    friend bool operator==(const TramoPalabra&, const TramoPalabra&) = default;
};

// The words of `linea` that are checked, in order. A word is a run of letters (with their combining
// marks) that may hold apostrophes or hyphens between letters. Left out: words in capitals only,
// runs that hold a digit or an underscore (codes, identifiers), and everything inside the
// placeholders game scripts use: {…}, <…>, […], printf-style %s %5.2f %1 %1$s, and backslash escapes.
QList<TramoPalabra> PalabrasRevisables(QStringView linea);

// The checked word of `linea` that holds the column `columna` (a caret just after a word still
// touches it); a zero-length span when there is none.
TramoPalabra PalabraEn(QStringView linea, int columna);
