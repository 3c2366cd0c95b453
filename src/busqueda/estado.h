// Where each script of the folder stands: its figures from the lines the memory indexed and from the
// script checks, the folder's total, the one-line summary of the file list's tooltip and the table as
// CSV for a team's spreadsheet.
#pragma once

#include <functional>
#include <optional>

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QSet>
#include <QString>
#include <QStringList>

#include "comprobaciones.h"

class LectorCarpeta;
class TextosPar;

struct FigurasScript
{
    QString nombre{};
    qint64 lineasOriginal = 0;
    qint64 lineasTraduccion = 0;
    // Non-empty translation lines within the original's count.
    qint64 traducidas = 0;
    // Translation lines longer than the same line of the original.
    qint64 largas = 0;
    // Translation lines with a problem the checks find (the missing lines apart: see `diferencia`).
    qint64 problemas = 0;
    // Scripts with unsaved text in a draft: 0 or 1 for a script, how many for the total.
    qint64 sinGuardar = 0;
    // When its translation was last written; invalid without one.
    QDateTime guardada{};

    // Translation lines beyond the original's (above 0) or missing (below 0).
    qint64 diferencia() const { return lineasTraduccion - lineasOriginal; }
    // The share of the original's lines translated, rounded down: 100 only when every one is.
    int porcentaje() const;
    friend bool operator==(const FigurasScript&, const FigurasScript&) = default;
};

// What the checks look for in the folder's lines.
struct OpcionesEstado
{
    Comprobaciones comprobaciones = todasComprobaciones;
    PatronCodigos patron{};
};

// The figures of a pair of texts; the time and unsaved text are the caller's.
FigurasScript CalcularFiguras(const QString& nombre, const TextosPar& textos, const OpcionesEstado& opciones);
// The same of a pair held as the original's lines and a translation's text, its lines joined by '\n'.
FigurasScript CalcularFiguras(const QString& nombre, const QStringList& original, const QString& traduccion,
                              const OpcionesEstado& opciones);

// Every script of the folder as its index holds it, by name; `conBorrador` names the scripts with unsaved
// text. Nothing when `cancelado` says so on the way.
std::optional<QList<FigurasScript>> CalcularEstado(LectorCarpeta& lector, const OpcionesEstado& opciones,
                                                   const QSet<QString>& conBorrador,
                                                   const std::function<bool()>& cancelado);

// The folder's row: sums, the newest time, "Total" as its name.
FigurasScript TotalCarpeta(const QList<FigurasScript>& figuras);

// "120 de 200 líneas traducidas; 3 demasiado largas; 1 problema", and what else the row says, only what
// there is of it.
QString TextoFiguras(const FigurasScript& figuras);

// The column titles, and a row's cells, as the window and the CSV show them.
QStringList TitulosEstado();
QStringList CeldasEstado(const FigurasScript& figuras);
// The table with a header row and the total last, comma-separated, in UTF-8, CR LF after each row.
QByteArray CsvEstado(const QList<FigurasScript>& figuras);

Q_DECLARE_METATYPE(FigurasScript)
