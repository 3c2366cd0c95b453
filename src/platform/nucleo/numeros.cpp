// Number conversions: leading number of a text and rounding into 16 bits.
#include "numeros.h"

#include <cmath>

#include <QLocale>

#include "errores.h"

namespace {

bool EsBlanco(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool EsDigito(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype SaltarDigitos(QStringView t, qsizetype i)
{
    while (i < t.size() && EsDigito(t[i]))
        ++i;
    return i;
}

} // namespace

double NumeroInicial(QStringView texto)
{
    qsizetype i = 0;
    while (i < texto.size() && EsBlanco(texto[i]))
        ++i;
    const qsizetype inicio = i;
    if (i < texto.size() && (texto[i] == u'+' || texto[i] == u'-'))
        ++i;
    const qsizetype inicioDigitos = i;
    i = SaltarDigitos(texto, i);
    qsizetype digitos = i - inicioDigitos;
    if (i < texto.size() && texto[i] == u'.') {
        const qsizetype j = SaltarDigitos(texto, i + 1);
        digitos += j - i - 1;
        i = j;
    }
    if (digitos == 0)
        return 0.0;
    if (i < texto.size() && (texto[i] == u'e' || texto[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < texto.size() && (texto[j] == u'+' || texto[j] == u'-'))
            ++j;
        const qsizetype finExponente = SaltarDigitos(texto, j);
        if (finExponente > j)
            i = finExponente;
    }
    const QStringView numero = texto.sliced(inicio, i - inicio);
    // The syntax was checked above, so the converter can only fail on a value beyond a double's range,
    // where it gives infinity for too large a value and 0 for too small a one, as wanted.
    return QLocale::c().toDouble(numero);
}

qint16 AEntero16(double valor)
{
    if (!std::isfinite(valor))
        throw ErrorEjecucion(Errores::Desbordamiento);
    const double redondeado = std::nearbyint(valor); // the default rounding mode: ties to even
    if (redondeado < -32768.0 || redondeado > 32767.0)
        throw ErrorEjecucion(Errores::Desbordamiento);
    return static_cast<qint16>(redondeado);
}

QString ConMiles(qint64 numero)
{
    QString cifras = QString::number(numero).remove(u'-');
    for (qsizetype i = cifras.size() - 3; i > 0; i -= 3)
        cifras.insert(i, u'.');
    return numero < 0 ? u'-' + cifras : cifras;
}
