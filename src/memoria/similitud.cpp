// Tokens, similarity and differences between lines.
#include "similitud.h"

#include <algorithm>
#include <vector>

namespace {

// Token lists longer than this are compared for identity only: a full table of distances between two
// lines of thousands of words would hold a lookup far longer than a caret line can wait.
constexpr qsizetype maximoFichas = 2000;

enum class Clase { Blanco, Letra, Ideograma, Otro };

Clase ClaseDe(char32_t c)
{
    if (QChar::isSpace(c))
        return Clase::Blanco;
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Bopomofo:
        return Clase::Ideograma;
    default:
        break;
    }
    if (QChar::isLetterOrNumber(c) || QChar::isMark(c))
        return Clase::Letra;
    return Clase::Otro;
}

struct Ficha
{
    Tramo tramo;
    Clase clase = Clase::Otro;
};

// Splits a text into tokens with their places, code point by code point.
std::vector<Ficha> Partir(QStringView texto)
{
    std::vector<Ficha> fichas;
    qsizetype i = 0;
    while (i < texto.size()) {
        const qsizetype inicio = i;
        const auto leer = [&](qsizetype& j) {
            char32_t c = texto[j].unicode();
            if (QChar::isHighSurrogate(c) && j + 1 < texto.size() && texto[j + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(texto[j], texto[j + 1]);
                ++j;
            }
            ++j;
            return c;
        };
        const Clase clase = ClaseDe(leer(i));
        if (clase == Clase::Blanco)
            continue;
        if (clase == Clase::Letra) {
            for (qsizetype j = i; j < texto.size();) {
                qsizetype siguiente = j;
                if (ClaseDe(leer(siguiente)) != Clase::Letra)
                    break;
                i = j = siguiente;
            }
        }
        fichas.push_back({{inicio, i - inicio}, clase});
    }
    return fichas;
}

QStringList Textos(QStringView texto, const std::vector<Ficha>& fichas, bool conOtras)
{
    QStringList textos;
    textos.reserve(qsizetype(fichas.size()));
    for (const Ficha& ficha : fichas) {
        if (conOtras || ficha.clase != Clase::Otro)
            textos.append(texto.sliced(ficha.tramo.inicio, ficha.tramo.largo).toString().toCaseFolded());
    }
    return textos;
}

qsizetype CodigosDe(QStringView texto)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < texto.size(); ++i)
        n += texto[i].isLowSurrogate() ? 0 : 1;
    return n;
}

} // namespace

QStringList Palabras(QStringView texto)
{
    return Textos(texto, Partir(texto), false);
}

QStringList Fichas(QStringView texto)
{
    return Textos(texto, Partir(texto), true);
}

int Porcentaje(const QStringList& a, const QStringList& b)
{
    const qsizetype mayor = std::max(a.size(), b.size());
    if (mayor == 0)
        return 100;
    if (mayor > maximoFichas)
        return a == b ? 100 : 0;
    // Two rows of the table of distances between prefixes.
    std::vector<qsizetype> anterior(size_t(b.size() + 1));
    std::vector<qsizetype> actual(size_t(b.size() + 1));
    for (qsizetype j = 0; j <= b.size(); ++j)
        anterior[size_t(j)] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        actual[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype cambio = anterior[size_t(j - 1)] + (a[i - 1] == b[j - 1] ? 0 : 1);
            actual[size_t(j)] = std::min({anterior[size_t(j)] + 1, actual[size_t(j - 1)] + 1, cambio});
        }
        std::swap(anterior, actual);
    }
    return int(100 * (mayor - anterior[size_t(b.size())]) / mayor);
}

QList<Tramo> Diferencias(QStringView recordado, QStringView actual)
{
    const std::vector<Ficha> fichas = Partir(recordado);
    const QStringList a = Textos(recordado, fichas, true);
    const QStringList b = Fichas(actual);
    if (a.size() > maximoFichas || b.size() > maximoFichas)
        return a == b ? QList<Tramo>{} : QList<Tramo>{{0, recordado.size()}};
    // The longest common subsequence, from the ends, then walked from the start.
    const size_t ancho = size_t(b.size() + 1);
    std::vector<qsizetype> comun(size_t(a.size() + 1) * ancho, 0);
    for (qsizetype i = a.size() - 1; i >= 0; --i) {
        for (qsizetype j = b.size() - 1; j >= 0; --j) {
            const size_t k = size_t(i) * ancho + size_t(j);
            comun[k] = a[i] == b[j] ? comun[k + ancho + 1] + 1 : std::max(comun[k + ancho], comun[k + 1]);
        }
    }
    const auto largo = [&](qsizetype i, qsizetype j) {
        return comun[size_t(i) * ancho + size_t(j)];
    };
    QList<Tramo> tramos;
    qsizetype i = 0;
    qsizetype j = 0;
    qsizetype finAnterior = -1; // where the previous differing token ended
    while (i < a.size()) {
        if (j < b.size() && a[i] == b[j] && largo(i, j) == largo(i + 1, j + 1) + 1) {
            ++i;
            ++j;
        } else if (j < b.size() && largo(i, j + 1) >= largo(i + 1, j)) {
            ++j;
        } else {
            const Tramo& tramo = fichas[size_t(i)].tramo;
            // Joined to the previous stretch when only blanks lie between them.
            if (i > 0 &&
                finAnterior == fichas[size_t(i - 1)].tramo.inicio + fichas[size_t(i - 1)].tramo.largo)
                tramos.last().largo = tramo.inicio + tramo.largo - tramos.last().inicio;
            else
                tramos.append(tramo);
            finAnterior = tramo.inicio + tramo.largo;
            ++i;
        }
    }
    return tramos;
}

Piezas PiezasDe(QStringView texto, qsizetype maximo)
{
    const std::vector<Ficha> fichas = Partir(texto);
    Piezas piezas;
    QString ideogramas;
    const auto cerrarIdeogramas = [&] {
        // Pieces of three, the last one taking the leftover characters back into a full three.
        const QStringView resto(ideogramas);
        for (qsizetype i = 0; i + 3 <= resto.size(); i += 3)
            piezas.ideogramas.append(resto.sliced(i, 3).toString());
        if (resto.size() % 3 != 0 && resto.size() > 3)
            piezas.ideogramas.append(resto.last(3).toString());
        ideogramas.clear();
    };
    qsizetype anteriorFin = -1;
    for (const Ficha& ficha : fichas) {
        const QStringView trozo = texto.sliced(ficha.tramo.inicio, ficha.tramo.largo);
        if (ficha.clase != Clase::Ideograma || anteriorFin != ficha.tramo.inicio)
            cerrarIdeogramas();
        if (ficha.clase == Clase::Ideograma)
            ideogramas += trozo;
        else if (ficha.clase == Clase::Letra && CodigosDe(trozo) >= 2)
            piezas.palabras.append(trozo.toString().toCaseFolded());
        if (ficha.clase != Clase::Otro)
            ++piezas.total;
        anteriorFin = ficha.tramo.inicio + ficha.tramo.largo;
    }
    cerrarIdeogramas();
    for (QStringList* lista : {&piezas.palabras, &piezas.ideogramas}) {
        lista->removeDuplicates();
        std::stable_sort(lista->begin(), lista->end(),
                         [](const QString& x, const QString& y) { return x.size() > y.size(); });
        if (lista->size() > maximo)
            lista->resize(maximo);
    }
    return piezas;
}
