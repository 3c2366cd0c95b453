// The checks of a translation line against the same line of the original: what each one looks at, the
// problems they report in the words a translator reads, and the settings that turn them on or off.
//
// A line is read once into a summary of what the checks look at (its codes, numbers, edge spaces,
// punctuation, the characters its code page lacks); a pair of lines is checked by comparing the two
// summaries, so that lines shifted against the original by a line break are checked again without being
// read again.
#pragma once

#include <functional>
#include <memory>

#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>

#include "cifras.h"
#include "codigos.h"

class QSettings;
class ProbadorCodificacion;

enum class Comprobacion : quint16 {
    Codigos = 1 << 0,        // codes missing, in excess or in another order
    CodigosCarpeta = 1 << 1, // the folder's own codes instead of the default ones
    Numeros = 1 << 2,
    Espacios = 1 << 3,
    Puntuacion = 1 << 4,  // ¿?, ¡! and the final punctuation
    SinTraducir = 1 << 5, // the same as the original, or empty
    Codificacion = 1 << 6,
    LineasFaltantes = 1 << 7, // the translation has fewer lines than the original
};
Q_DECLARE_FLAGS(Comprobaciones, Comprobacion)
Q_DECLARE_OPERATORS_FOR_FLAGS(Comprobaciones)

// Every check.
inline constexpr Comprobaciones todasComprobaciones = Comprobaciones::fromInt(0xFF);
// The checks a translator turns on and off one by one, in the order a menu lists them.
QList<Comprobacion> ComprobacionesElegibles();
// A check's name for a menu: "Códigos", "Números"…
QString NombreComprobacion(Comprobacion comprobacion);

// The checks kept in the user's settings, group "Comprobaciones", one boolean key per check; a check
// never set is on.
Comprobaciones LeerComprobaciones(QSettings& ajustes);
void EscribirComprobaciones(QSettings& ajustes, Comprobaciones comprobaciones);

// One problem of a line: which check found it and what it says ("Falta «%s»").
struct Problema
{
    Comprobacion comprobacion = Comprobacion::Codigos;
    QString texto;
    // Ignored on this line, shown only while the ignored warnings are.
    bool ignorado = false;

    friend bool operator==(const Problema&, const Problema&) = default;
};

// "12 problemas en 9 líneas", "1 problema en 1 línea", "Ningún problema".
QString TextoResumen(int problemas, int lineas);
// "Faltan 3 líneas (de la 198 a la 200)", "Falta 1 línea (la 200)"; `primera` counts from 1.
QString TextoLineasFaltantes(int primera, int cantidad);

// What the checks need to know about one line, original or translation. Cheap to copy.
class ResumenLinea
{
public:
    // A 64-bit hash of the text, the same in every run (FNV-1a over its UTF-16 units).
    quint64 huella() const { return huella_; }
    int largo() const { return largo_; }
    // Nothing but blanks, or nothing at all.
    bool enBlanco() const { return banderas_ & EnBlanco; }
    // At least two runs of letters outside codes.
    bool dosPalabras() const { return banderas_ & DosPalabras; }
    // Two spaces in a row between the first and the last character that is no blank.
    bool dobleEspacio() const { return banderas_ & DobleEspacio; }
    // The final punctuation, behind closing blanks, codes and quotes: one of . ! ? : … (the fullwidth
    // forms and "..." read as these), or 0.
    char16_t final() const { return final_; }
    // The sentence visibly goes on in the next line: the line holds text and does not end in . ! ? or …
    bool continua() const;
    // More "¿" than "?" (with `pregunta`) or more "¡" than "!" outside codes; and the other way round.
    bool sobraApertura(bool pregunta) const;
    bool sobraCierre(bool pregunta) const;

    // The codes, in order.
    const QStringList& codigos() const { return detalle().codigos; }
    // The numbers' values (see Cifra::valor) and their text as written, in order.
    const QStringList& cifras() const { return detalle().cifras; }
    const QStringList& textosCifras() const { return detalle().textosCifras; }
    // The blanks that open and close the line ("" for a blank line).
    const QString& inicio() const { return detalle().inicio; }
    const QString& fin() const { return detalle().fin; }
    // The characters the code page cannot write, each once, in order.
    const QStringList& noCodificables() const { return detalle().noCodificables; }

private:
    friend ResumenLinea Resumir(QStringView linea, const PatronCodigos& patron,
                                ProbadorCodificacion* probador);

    enum Bandera : quint16 {
        EnBlanco = 1 << 0,
        DosPalabras = 1 << 1,
        DobleEspacio = 1 << 2,
        SobraAbrePregunta = 1 << 3,
        SobraCierraPregunta = 1 << 4,
        SobraAbreExclamacion = 1 << 5,
        SobraCierraExclamacion = 1 << 6,
    };
    // What only some lines have, kept apart: most lines carry none of it.
    struct Detalle
    {
        QStringList codigos;
        QStringList cifras;
        QStringList textosCifras;
        QString inicio;
        QString fin;
        QStringList noCodificables;
    };

    const Detalle& detalle() const;

    quint64 huella_ = 0;
    int largo_ = 0;
    quint16 banderas_ = 0;
    char16_t final_ = 0;
    std::shared_ptr<const Detalle> detalle_;
};

// Reads a line for the checks, with `patron`'s codes; with a `probador`, notes the characters its code
// page cannot write.
ResumenLinea Resumir(QStringView linea, const PatronCodigos& patron,
                     ProbadorCodificacion* probador = nullptr);

// How far the checks of "¿…?" and "¡…!" look for the other half of a sentence split over lines: a line's
// problems depend on the translation lines up to this far on either side.
inline constexpr int alcanceSignos = 3;

// The summary of translation line k, or nullptr outside the translation.
using LineasTraduccion = std::function<const ResumenLinea*(int)>;

struct OpcionesComprobacion
{
    Comprobaciones comprobaciones = todasComprobaciones;
    // The readable name of the code page the translation is written in ("Europa occidental
    // (Windows-1252)"), for the characters it cannot write.
    QString nombreCodificacion;
};

// The problems of translation line `linea` against its original, in the order of the checks. An empty
// translation line is only "Línea vacía": its other problems would say nothing new.
QList<Problema> ProblemasLinea(const ResumenLinea& original, int linea, const LineasTraduccion& traduccion,
                               const OpcionesComprobacion& opciones);
