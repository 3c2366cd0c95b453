// Searching the folder's lines: what is looked for and where, the matches in one text, and the search of
// the whole folder through its memory's index, with its rows and the sentence that counts them.
#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QMetaType>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include "similitud.h"

class LectorCarpeta;

enum class Ambito { Originales, Traducciones, Ambos };

struct OpcionesBusqueda
{
    QString texto{};
    Ambito ambito = Ambito::Ambos;
    bool mayusculas = false; // "Mayúsculas y minúsculas"
    bool palabra = false;    // "Palabra completa"
    bool expresion = false;  // "Expresión regular"
};

// The matches in a text, as stretches of it (the memory's own, see similitud.h).
using Tramos = QList<Tramo>;

// What a search looks for, ready to find it in texts. Texts and the searched text are compared in their
// composed form (NFC), case aside with Unicode's case folding unless asked for, so "Ñandú" finds
// "ÑANDÚ" but never "Nandu"; a whole word is one no letter, digit, mark or "_" touches, accented
// letters and "ñ" included.
class PatronBusqueda final
{
public:
    explicit PatronBusqueda(const OpcionesBusqueda& opciones);

    // An empty search or a regular expression that cannot be used finds nothing; error() says why.
    bool valido() const { return valido_; }
    const QString& error() const { return error_; }
    // A piece every match holds, for the index to look for ignoring case; empty when there is none.
    const QString& pieza() const { return pieza_; }

    Tramos Buscar(const QString& texto) const;
    // The text with every match replaced: `reemplazo` as it is, or for a regular expression with \0 … \9
    // standing for its groups; how many were replaced.
    QString Reemplazar(const QString& texto, const QString& reemplazo, int& cuantas) const;

private:
    QRegularExpression expresion_;
    QString pieza_;
    bool literal_ = true;
    bool valido_ = false;
    QString error_;
};

// One line of a script that matches.
struct FilaBusqueda
{
    QString script{};
    qint64 linea = 0; // from 0
    QString original{};
    QString traduccion{};
    Tramos enOriginal{};
    Tramos enTraduccion{};
};

struct ResultadoBusqueda
{
    quint64 numero = 0;
    OpcionesBusqueda opciones{};
    // The first matching lines, by script and line; `lineas` counts them all.
    QList<FilaBusqueda> filas{};
    qint64 lineas = 0;
    qint64 scripts = 0;
    // The scripts with a match in their translation, by name: what a replacement looks at.
    QStringList conTraduccion{};
    // Why nothing was looked for: an invalid regular expression, a memory not ready.
    QString error{};
};

// "143 resultados en 27 scripts", "1 resultado en 1 script", "Ningún resultado".
QString TextoResultados(qint64 lineas, qint64 scripts);

// Searches the folder whose index `lector` reads, keeping at most `maximoFilas` rows. `cancelado` is
// asked now and then; when it says yes, the search stops and returns nothing.
std::optional<ResultadoBusqueda> BuscarEnCarpeta(LectorCarpeta& lector, const OpcionesBusqueda& opciones,
                                                 qsizetype maximoFilas,
                                                 const std::function<bool()>& cancelado);

Q_DECLARE_METATYPE(OpcionesBusqueda)
Q_DECLARE_METATYPE(ResultadoBusqueda)
