// The number reader: one pass over the line; a number's groups are kept as spans of the line, and its
// value is written out (or hashed) digit by digit from them.
#include "cifras.h"

#include <algorithm>

namespace {

// A run of digits of a number and the separator before it (0 for the first).
struct Grupo
{
    qsizetype inicio = 0;
    qsizetype largo = 0;
    char16_t separador = 0;
};
using Grupos = QVarLengthArray<Grupo, 8>;

int ValorDigito(QChar c)
{
    if (c.unicode() < 0x80)
        return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
    return c.isDigit() ? c.digitValue() : -1;
}

// ',' or '.' for the separators that may be decimal; ' ' for an ordinary space and '_' for the
// non-breaking, narrow and thin ones, which only group thousands; 0 for anything else.
char16_t Separador(QChar c)
{
    switch (c.unicode()) {
    case u',':
    case 0xFF0C: // fullwidth comma
        return u',';
    case u'.':
    case 0xFF0E: // fullwidth full stop
        return u'.';
    case u' ':
        return u' ';
    case 0x00A0:
    case 0x2009:
    case 0x202F:
        return u'_';
    default:
        return 0;
    }
}

bool EsBlanco(char16_t separador)
{
    return separador == u' ' || separador == u'_';
}

// Whether a group is all zeros.
bool EsCero(QStringView linea, const Grupo& grupo)
{
    for (qsizetype i = grupo.inicio; i < grupo.inicio + grupo.largo; ++i) {
        if (ValorDigito(linea[i]) != 0)
            return false;
    }
    return true;
}

// Which group the decimal separator stands before, or -1 when there is none.
qsizetype GrupoDecimal(QStringView linea, const Grupos& grupos)
{
    const char16_t ultimo = grupos.back().separador;
    if (grupos.size() < 2 || EsBlanco(ultimo))
        return -1;
    bool otro = false;
    int mismos = 0;
    for (qsizetype k = 1; k < grupos.size(); ++k) {
        if (grupos[k].separador == ultimo)
            ++mismos;
        else if (!EsBlanco(grupos[k].separador))
            otro = true;
    }
    if (otro)
        return grupos.size() - 1;
    if (mismos > 1)
        return -1;
    // "1 000,500" has a blank before: the comma is decimal whatever follows.
    const bool miles = grupos.size() == 2 && grupos.back().largo == 3 && grupos.front().largo <= 3 &&
                       !EsCero(linea, grupos.front());
    return miles ? -1 : grupos.size() - 1;
}

// Whether a blank groups thousands before a group of `siguientes` digits: only before exactly three
// digits, after other groups of three joined by blanks or after a first group of at most three digits.
// An ordinary space joins only numbers of five digits or more, as Spanish writes them: "10 000 años" is
// one number, "los 3 100 puntos" two; a non-breaking one was typed on purpose, "1\u00A0000" is one.
bool AgrupaMiles(const Grupos& grupos, char16_t separador, qsizetype siguientes)
{
    if (siguientes != 3)
        return false;
    if (grupos.size() > 1)
        return EsBlanco(grupos.back().separador) && grupos.back().largo == 3;
    const qsizetype primero = grupos.front().largo;
    return primero <= 3 && primero >= (separador == u' ' ? 2 : 1);
}

// Hands each character of the number's plain value to `escribir`.
template <typename Escribir> void EscribirValor(QStringView linea, const Grupos& grupos, Escribir escribir)
{
    const qsizetype decimal = GrupoDecimal(linea, grupos);
    const qsizetype finEntero = decimal < 0 ? grupos.size() : decimal;
    bool cifras = false;
    for (qsizetype k = 0; k < finEntero; ++k) {
        for (qsizetype i = grupos[k].inicio; i < grupos[k].inicio + grupos[k].largo; ++i) {
            const int d = ValorDigito(linea[i]);
            if (d == 0 && !cifras)
                continue;
            cifras = true;
            escribir(QChar(u'0' + d));
        }
    }
    if (!cifras)
        escribir(QChar(u'0'));
    if (decimal < 0)
        return;
    // The decimals up to their last digit other than zero.
    qsizetype ultimoGrupo = -1;
    qsizetype ultimaCifra = -1;
    for (qsizetype k = decimal; k < grupos.size(); ++k) {
        for (qsizetype i = grupos[k].inicio; i < grupos[k].inicio + grupos[k].largo; ++i) {
            if (ValorDigito(linea[i]) != 0) {
                ultimoGrupo = k;
                ultimaCifra = i;
            }
        }
    }
    if (ultimoGrupo < 0)
        return;
    escribir(QChar(u'.'));
    for (qsizetype k = decimal; k <= ultimoGrupo; ++k) {
        const qsizetype fin = k == ultimoGrupo ? ultimaCifra + 1 : grupos[k].inicio + grupos[k].largo;
        for (qsizetype i = grupos[k].inicio; i < fin; ++i)
            escribir(QChar(u'0' + ValorDigito(linea[i])));
    }
}

// Calls `alEncontrar(inicio, fin, grupos)` for each number of the line, in order.
template <typename AlEncontrar>
void RecorrerCifras(QStringView linea, const TramosCodigo& codigos, AlEncontrar alEncontrar)
{
    qsizetype i = 0;
    // The text between one code and the next: numbers stop where a code starts, and none is read inside one.
    for (qsizetype k = 0; k <= codigos.size(); ++k) {
        const qsizetype limite = k < codigos.size() ? qsizetype(codigos[k].inicio) : linea.size();
        while (i < limite) {
            // Most characters are no digit of any script: ASCII ones are told apart without asking.
            const char16_t c = linea[i].unicode();
            if ((c < 0x80 && (c < u'0' || c > u'9')) || ValorDigito(linea[i]) < 0) {
                ++i;
                continue;
            }
            const auto finGrupo = [&](qsizetype desde) {
                qsizetype j = desde;
                while (j < limite && ValorDigito(linea[j]) >= 0)
                    ++j;
                return j;
            };
            Grupos grupos;
            qsizetype fin = finGrupo(i);
            grupos.append({i, fin - i, 0});
            while (fin + 1 < limite && Separador(linea[fin]) != 0 && ValorDigito(linea[fin + 1]) >= 0) {
                const char16_t separador = Separador(linea[fin]);
                const qsizetype despues = finGrupo(fin + 1);
                if (EsBlanco(separador) && !AgrupaMiles(grupos, separador, despues - fin - 1))
                    break;
                grupos.append({fin + 1, despues - fin - 1, separador});
                fin = despues;
            }
            alEncontrar(i, fin, grupos);
            i = fin;
        }
        if (k < codigos.size())
            i = std::max(i, qsizetype(codigos[k].inicio + codigos[k].largo));
    }
}

} // namespace

QList<Cifra> CifrasLinea(QStringView linea, const TramosCodigo& codigos)
{
    QList<Cifra> cifras;
    RecorrerCifras(linea, codigos, [&](qsizetype inicio, qsizetype fin, const Grupos& grupos) {
        QString valor;
        EscribirValor(linea, grupos, [&](QChar c) { valor += c; });
        cifras.append({int(inicio), int(fin - inicio), valor});
    });
    return cifras;
}

void HuellasCifras(QStringView linea, const TramosCodigo& codigos, QVarLengthArray<quint64, 8>& huellas)
{
    RecorrerCifras(linea, codigos, [&](qsizetype, qsizetype, const Grupos& grupos) {
        quint64 huella = 14695981039346656037ull;
        EscribirValor(linea, grupos, [&](QChar c) {
            huella ^= c.unicode();
            huella *= 1099511628211ull;
        });
        huellas.append(huella);
    });
}
