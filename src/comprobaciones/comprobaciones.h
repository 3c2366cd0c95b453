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
#include <span>

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

// A 64-bit hash of a text, the same in every run: its UTF-16 units taken four at a time, multiplied and
// folded.
quint64 Huella(QStringView texto);

// What the checks need to know about one line, original or translation: flags and hashes, no text.
// Most lines take 24 bytes; a line with codes, numbers, blanks at its edges or characters its code page
// lacks holds their hashes too. Moved, never copied.
class ResumenLinea
{
public:
    // Read from a line; a summary made empty stands for a line not read yet.
    bool leida() const { return !(banderas_ & SinLeer); }
    // A 64-bit hash of the text (see Huella).
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
    // How many different characters the code page cannot write.
    int noCodificables() const;

    // Hashes of the codes, in order, with the lowest bit set for an argument without position (see
    // EsArgumentoSinPosicion); of the numbers' values, in order; of the blanks that open and close the
    // line (0 for none).
    std::span<const quint64> codigos() const
    {
        return datos_ ? std::span<const quint64>(datos_.get() + posicionCodigos, CantidadCodigos())
                      : std::span<const quint64>();
    }
    std::span<const quint64> cifras() const
    {
        return datos_ ? std::span<const quint64>(datos_.get() + posicionCodigos + CantidadCodigos(),
                                                 std::size_t((datos_[0] >> 24) & 0xFFFFFF))
                      : std::span<const quint64>();
    }
    quint64 inicio() const { return datos_ ? datos_[posicionInicio] : 0; }
    quint64 fin() const { return datos_ ? datos_[posicionFin] : 0; }

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
        SinLeer = 1 << 15,
    };

    static constexpr std::size_t posicionInicio = 1;
    static constexpr std::size_t posicionFin = 2;
    static constexpr std::size_t posicionCodigos = 3;
    std::size_t CantidadCodigos() const { return std::size_t(datos_[0] & 0xFFFFFF); }

    quint64 huella_ = 0;
    int largo_ = 0;
    quint16 banderas_ = SinLeer;
    char16_t final_ = 0;
    // Nothing, or: the number of codes, of numbers and of characters the code page lacks (bits 0-23,
    // 24-47 and 48-63), the opening and closing blanks' hashes, and the codes' and numbers' hashes.
    std::unique_ptr<quint64[]> datos_;
};

// Reads a line for the checks, with `patron`'s codes; with a `probador`, counts the characters its code
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
    // The folder's own codes (the default ones when it is not esPropio()); used only while its check is on.
    PatronCodigos patron;
    // The readable name of the code page the translation is written in ("Europa occidental
    // (Windows-1252)"), for the characters it cannot write.
    QString nombreCodificacion;

    // The codes in use.
    const PatronCodigos& patronEnUso() const;
};

// How many problems translation line `linea` has against `original`, the summaries of its lines in
// `traduccion`; without reading any text. An empty translation line is only "Línea vacía": its other
// problems would say nothing new.
int ContarProblemas(const ResumenLinea& original, int linea, const LineasTraduccion& traduccion,
                    const OpcionesComprobacion& opciones);

// The same problems with their messages, in the order of the checks: the texts of the pair are read
// again to name what is missing. `probador` checks the translation's code page, as for its summary.
QList<Problema> ProblemasLinea(QStringView original, QStringView traduccion, int linea,
                               const LineasTraduccion& vecinas, const OpcionesComprobacion& opciones,
                               ProbadorCodificacion* probador);
