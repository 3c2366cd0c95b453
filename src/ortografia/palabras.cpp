// Word splitting for the spelling check: one pass over the line, skipping the codes the checks
// recognise.
#include "palabras.h"

#include "codigos.h"

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
    const TramosCodigo codigos = CodigosPredeterminados(linea);
    auto siguienteCodigo = codigos.cbegin();
    const qsizetype n = linea.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = linea[i];
        if (siguienteCodigo != codigos.cend() && siguienteCodigo->inicio == i) {
            i += siguienteCodigo->largo;
            ++siguienteCodigo;
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
