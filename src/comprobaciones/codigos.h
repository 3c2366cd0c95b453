// The control codes of a script line: placeholders, tags and escapes that the game reads and a
// translation must keep. One scanner serves the checks and the spelling, which skips what it finds.
#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

// A code of a line: where it starts and how many UTF-16 units it takes.
struct TramoCodigo
{
    int inicio = 0;
    int largo = 0;

    friend bool operator==(const TramoCodigo&, const TramoCodigo&) = default;
};
// The codes of a line, in order; most lines hold a few.
using TramosCodigo = QVarLengthArray<TramoCodigo, 8>;

// The codes recognised by default, in order, none inside another: {…}, <…> and […] closed on the line
// (nested the same kind); printf conversions with flags, width, precision and length (%s %5.2f %-10s
// %ld %%) and positional ones (%1$s); numbered arguments %1, %2…; backslash escapes (\n \t \" \\,
// \x with up to two hex digits, \u with four, \U with eight).
TramosCodigo CodigosPredeterminados(QStringView linea);

// Whether a code is an argument taken in order of appearance, without a position of its own: a
// printf conversion without "n$" (not %%), or "{}". Among these the order of the codes matters.
bool EsArgumentoSinPosicion(QStringView codigo);

// What counts as a code in a folder: the default codes, or every non-empty match of the folder's own
// regular expression. An invalid expression is kept, with its error, and the defaults apply.
class PatronCodigos final
{
public:
    // The defaults.
    PatronCodigos() = default;
    // The folder's expression; an empty or blank one means the defaults.
    explicit PatronCodigos(const QString& expresion);

    const QString& expresion() const { return expresion_; }
    // An expression of the folder's own that is valid and in use.
    bool esPropio() const { return propio_; }
    bool esValido() const { return error_.isEmpty(); }
    // Why the expression is not valid, in Spanish; "" when it is.
    const QString& error() const { return error_; }

    TramosCodigo codigos(QStringView linea) const;

    friend bool operator==(const PatronCodigos& a, const PatronCodigos& b)
    {
        return a.expresion_ == b.expresion_;
    }

private:
    QString expresion_;
    QRegularExpression regex_;
    bool propio_ = false;
    QString error_;
};
