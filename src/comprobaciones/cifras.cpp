// The number reader.
#include "cifras.h"

#include <vector>

namespace {

int ValorDigito(QChar c)
{
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

struct Grupos
{
    std::vector<QString> digitos;
    std::vector<char16_t> separadores; // separadores[k] stands before digitos[k + 1]
};

QString SinCerosIniciales(const QString& digitos)
{
    qsizetype i = 0;
    while (i + 1 < digitos.size() && digitos[i] == u'0')
        ++i;
    return digitos.sliced(i);
}

// Which separator, if any, is the decimal one (an index into `separadores`), or -1.
int SeparadorDecimal(const Grupos& grupos)
{
    const auto& separadores = grupos.separadores;
    if (separadores.empty() || EsBlanco(separadores.back()))
        return -1;
    const int ultimo = int(separadores.size()) - 1;
    char16_t otro = 0;
    int mismos = 0;
    for (const char16_t s : separadores) {
        if (s == separadores.back())
            ++mismos;
        else if (!EsBlanco(s))
            otro = s;
    }
    if (otro != 0)
        return ultimo;
    if (mismos > 1)
        return -1;
    const QString& primero = grupos.digitos.front();
    const bool miles = grupos.digitos.back().size() == 3 && primero.size() <= 3 &&
                       SinCerosIniciales(primero) != u"0" && separadores.size() == 1;
    // "1 000,5" has a blank before: the comma is decimal whatever follows.
    return miles ? -1 : ultimo;
}

// Whether a blank before `siguientes` groups thousands: only before exactly three digits, after other
// groups of three joined by blanks or after a first group of at most three digits. An ordinary space
// joins only numbers of five digits or more, as Spanish writes them: "10 000 años" is one number, "los
// 3 100 puntos" two; a non-breaking one was typed on purpose, "1\u00A0000" is one.
bool AgrupaMiles(const Grupos& grupos, char16_t separador, const QString& siguientes)
{
    if (siguientes.size() != 3)
        return false;
    if (!grupos.separadores.empty())
        return EsBlanco(grupos.separadores.back()) && grupos.digitos.back().size() == 3;
    const qsizetype primero = grupos.digitos.front().size();
    return primero <= 3 && primero >= (separador == u' ' ? 2 : 1);
}

QString Valor(const Grupos& grupos)
{
    const int decimal = SeparadorDecimal(grupos);
    QString entero;
    QString decimales;
    for (int k = 0; k < int(grupos.digitos.size()); ++k)
        (decimal >= 0 && k > decimal ? decimales : entero) += grupos.digitos[std::size_t(k)];
    while (decimales.endsWith(u'0'))
        decimales.chop(1);
    entero = SinCerosIniciales(entero);
    return decimales.isEmpty() ? entero : entero + u'.' + decimales;
}

} // namespace

QList<Cifra> CifrasLinea(QStringView linea, const QList<TramoCodigo>& codigos)
{
    QList<Cifra> cifras;
    const qsizetype n = linea.size();
    // Where the code at or after a position starts: numbers stop there.
    auto codigo = codigos.cbegin();
    const auto finTexto = [&](qsizetype i) {
        while (codigo != codigos.cend() && codigo->inicio + codigo->largo <= i)
            ++codigo;
        return codigo == codigos.cend() ? n : qsizetype(codigo->inicio);
    };
    qsizetype i = 0;
    while (i < n) {
        qsizetype limite = finTexto(i);
        if (i >= limite) {
            i = limite + codigo->largo;
            continue;
        }
        if (ValorDigito(linea[i]) < 0) {
            ++i;
            continue;
        }
        const qsizetype inicio = i;
        Grupos grupos;
        const auto leerGrupo = [&](qsizetype desde) {
            QString digitos;
            qsizetype j = desde;
            for (int d; j < limite && (d = ValorDigito(linea[j])) >= 0; ++j)
                digitos += QChar(u'0' + d);
            return std::pair{digitos, j};
        };
        auto [digitos, fin] = leerGrupo(i);
        grupos.digitos.push_back(digitos);
        while (fin + 1 < limite && Separador(linea[fin]) != 0 && ValorDigito(linea[fin + 1]) >= 0) {
            const char16_t separador = Separador(linea[fin]);
            auto [siguientes, despues] = leerGrupo(fin + 1);
            if (EsBlanco(separador) && !AgrupaMiles(grupos, separador, siguientes))
                break;
            grupos.separadores.push_back(separador);
            grupos.digitos.push_back(siguientes);
            fin = despues;
        }
        cifras.append({int(inicio), int(fin - inicio), Valor(grupos)});
        i = fin;
    }
    return cifras;
}
