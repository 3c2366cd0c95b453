// Word splitting for the spelling check: one pass over the line, skipping placeholders.
#include "palabras.h"

namespace {

bool EsLetra(QChar c)
{
    return c.isLetter() || c.isMark();
}

// Parts of a code rather than of a word.
bool EsParteDeCodigo(QChar c)
{
    return c.isDigit() || c == u'_';
}

bool EsUnion(QChar c)
{
    // Straight and typographic apostrophes, hyphen-minus and the Unicode hyphens.
    return c == u'\'' || c == u'\u2019' || c == u'-' || c == u'\u2010' || c == u'\u2011';
}

bool EsHexadecimal(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Where a bracketed placeholder opened at `i` ends (one past its closing mark), or -1 when the line
// never closes it: a lone "<" or "[" is punctuation, not a placeholder.
qsizetype FinDeMarcador(QStringView linea, qsizetype i)
{
    const QChar abre = linea[i];
    const QChar cierra = abre == u'{' ? u'}' : abre == u'<' ? u'>' : u']';
    int profundidad = 0;
    for (qsizetype j = i; j < linea.size(); ++j) {
        if (linea[j] == abre) {
            ++profundidad;
        } else if (linea[j] == cierra && --profundidad == 0) {
            return j + 1;
        }
    }
    return -1;
}

// Where a printf-style or numbered placeholder opened by the '%' at `i` ends, or -1 when the '%' starts
// none: %s %d %5.2f %-10s %ld %% %1 %1$s.
qsizetype FinDePorcentaje(QStringView linea, qsizetype i)
{
    qsizetype j = i + 1;
    const auto hay = [&](auto prueba) {
        return j < linea.size() && prueba(linea[j]);
    };
    const auto digito = [](QChar c) {
        return c >= u'0' && c <= u'9';
    };
    if (hay([](QChar c) { return c == u'%'; }))
        return j + 1;
    if (hay(digito)) {
        while (hay(digito))
            ++j;
        if (!hay([](QChar c) { return c == u'$'; }))
            return j; // %1, %2: numbered arguments
        ++j;
    }
    // No space flag: "al 100% seguro" is a percentage before a word.
    while (hay([](QChar c) { return c == u'-' || c == u'+' || c == u'#' || c == u'0'; }))
        ++j;
    while (hay(digito) || hay([](QChar c) { return c == u'*'; }))
        ++j;
    if (hay([](QChar c) { return c == u'.'; })) {
        ++j;
        while (hay(digito) || hay([](QChar c) { return c == u'*'; }))
            ++j;
    }
    while (hay(
        [](QChar c) { return c == u'h' || c == u'l' || c == u'L' || c == u'z' || c == u'j' || c == u't'; }))
        ++j;
    static constexpr QStringView conversiones = u"diouxXeEfFgGaAcspnS@";
    if (hay([](QChar c) { return conversiones.contains(c); }))
        return j + 1;
    return -1;
}

// Where a backslash escape opened at `i` ends: \n \t \" \\, \x41, \u00e9, \U0001F600.
qsizetype FinDeEscape(QStringView linea, qsizetype i)
{
    qsizetype j = i + 1;
    if (j >= linea.size())
        return j;
    const QChar tipo = linea[j++];
    const qsizetype maximo = tipo == u'x' ? 2 : tipo == u'u' ? 4 : tipo == u'U' ? 8 : 0;
    for (qsizetype n = 0; n < maximo && j < linea.size() && EsHexadecimal(linea[j]); ++n)
        ++j;
    return j;
}

// Whether the word has no lower-case letter: a speaker's name or an abbreviation.
bool SoloMayusculas(QStringView palabra)
{
    for (const QChar c : palabra)
        if (c.isLower())
            return false;
    return true;
}

// Calls `alEncontrar(inicio, largo)` for each checked word of the line; stops when it returns false.
template <typename AlEncontrar> void RecorrerPalabras(QStringView linea, AlEncontrar alEncontrar)
{
    const qsizetype n = linea.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = linea[i];
        if (c == u'{' || c == u'<' || c == u'[') {
            const qsizetype fin = FinDeMarcador(linea, i);
            i = fin > 0 ? fin : i + 1;
            continue;
        }
        if (c == u'%') {
            const qsizetype fin = FinDePorcentaje(linea, i);
            i = fin > 0 ? fin : i + 1;
            continue;
        }
        if (c == u'\\') {
            i = FinDeEscape(linea, i);
            continue;
        }
        if (!EsLetra(c) && !EsParteDeCodigo(c)) {
            ++i;
            continue;
        }
        // A run of letters and code characters, joined by apostrophes and hyphens between them.
        const qsizetype inicio = i;
        bool codigo = false;
        while (i < n) {
            const QChar d = linea[i];
            if (EsLetra(d)) {
                ++i;
            } else if (EsParteDeCodigo(d)) {
                codigo = true;
                ++i;
            } else if (EsUnion(d) && i + 1 < n && EsLetra(linea[i + 1]) && EsLetra(linea[i - 1])) {
                ++i;
            } else {
                break;
            }
        }
        const QStringView palabra = linea.sliced(inicio, i - inicio);
        if (!codigo && !SoloMayusculas(palabra) && !alEncontrar(int(inicio), int(i - inicio)))
            return;
    }
}

} // namespace

QList<TramoPalabra> PalabrasRevisables(QStringView linea)
{
    QList<TramoPalabra> palabras;
    RecorrerPalabras(linea, [&](int inicio, int largo) {
        palabras.append({inicio, largo});
        return true;
    });
    return palabras;
}

TramoPalabra PalabraEn(QStringView linea, int columna)
{
    TramoPalabra encontrada;
    RecorrerPalabras(linea, [&](int inicio, int largo) {
        if (columna < inicio)
            return false;
        if (columna <= inicio + largo) {
            encontrada = {inicio, largo};
            return false;
        }
        return true;
    });
    return encontrada;
}
