// How alike two lines are, as a translation memory measures it: the edit distance between their words,
// with case set aside, as a share of the longer one (the token-based ratio OmegaT shows); the stretches
// of a remembered original that differ from the current one; and the pieces a lookup asks the index for.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A stretch of a text, in UTF-16 units.
struct Tramo
{
    qsizetype inicio = 0;
    qsizetype largo = 0;
    friend bool operator==(const Tramo&, const Tramo&) = default;
};

// The words of a text, case-folded: runs of letters, digits and combining marks, each Chinese or
// Japanese character a word of its own (those scripts do not separate words). Punctuation and blanks are
// left out.
QStringList Palabras(QStringView texto);
// The words, and every other non-blank character as a token of its own.
QStringList Fichas(QStringView texto);

// The similarity of two token lists in percent, rounded down: 100 × (1 − distance ÷ the longer length),
// the distance counting inserted, removed and replaced tokens. Two empty lists are 100 % alike.
int Porcentaje(const QStringList& a, const QStringList& b);

// The stretches of `recordado` whose tokens (see Fichas) are not among those it shares, in order, with
// `actual`; a stretch runs over the blanks between differing tokens.
QList<Tramo> Diferencias(QStringView recordado, QStringView actual);

// What a lookup asks the indexes for: the distinct words of at least two characters, longest first,
// and runs of Chinese or Japanese characters in pieces of three (those scripts put no blanks between
// words); at most `maximo` of each.
struct Piezas
{
    QStringList palabras;
    QStringList ideogramas;
    // How many words the text has in all (see Palabras), short and repeated ones included.
    qsizetype total = 0;
};
Piezas PiezasDe(QStringView texto, qsizetype maximo = 12);
