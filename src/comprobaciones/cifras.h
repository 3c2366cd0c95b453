// The numbers of a script line, read so that the same quantity written in another way compares equal:
// "15,000", "15.000", "15 000" and "15000" are one number, and so are "3.5" and "3,5".
#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include "codigos.h"

struct Cifra
{
    int inicio = 0;
    int largo = 0;
    // The value written plainly: integer digits without leading zeros, and a point and the decimals
    // without trailing zeros when there are any ("1500", "3.5", "0.125").
    QString valor;
};

// The numbers of `linea` outside its `codigos` (in order, as the scanner gives them). A number is a run of
// decimal digits of any script (fullwidth ones too), with the groups a separator joins to it: a comma or a
// point, and a space before a group of exactly three digits (an ordinary one in numbers of five digits
// or more; a non-breaking, narrow or thin one in any). A separator read as decimal: the last one when
// two kinds appear; a lone one unless a group of three digits follows it after one to three digits other
// than "0" (then it groups thousands); several of one kind group thousands.
QList<Cifra> CifrasLinea(QStringView linea, const TramosCodigo& codigos);

// The same numbers' values as 64-bit hashes (FNV-1a of Cifra::valor), without building them: what the
// checks compare.
void HuellasCifras(QStringView linea, const TramosCodigo& codigos, QVarLengthArray<quint64, 8>& huellas);
