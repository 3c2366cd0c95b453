// Number conversions the window uses on counters and stored values.
#pragma once

#include <QString>

// The number at the start of a text, as a double: leading blanks are skipped, an optional sign, digits,
// a decimal point and an exponent are taken; whatever follows is ignored. "" or no digits give 0.
double NumeroInicial(QStringView texto);

// Rounds to the nearest integer, ties to even, into 16 bits; error 6 outside -32768 ... 32767.
qint16 AEntero16(double valor);

// A count in the Spanish way, with "." between thousands from the fourth digit on: "1.023", "412".
QString ConMiles(qint64 numero);
