// Fuzz target: the code scanner and the number reader. The input's first line is an original line and the
// rest a translation line, read as UTF-8. Codes lie in the line in order, none inside another, each opening
// with a code's own mark; numbers lie outside codes, open with a digit and read as a plain value whose hash
// is the one the checks compare; counting a pair's problems agrees with listing them.
#include <cstdint>
#include <cstdlib>

#include <QVarLengthArray>

#include "cifras.h"
#include "comprobaciones.h"
#include "texto_archivo.h"

namespace {

void ComprobarCodigos(QStringView linea, const TramosCodigo& codigos)
{
    qsizetype fin = 0;
    for (const TramoCodigo& codigo : codigos) {
        if (codigo.inicio < fin || codigo.largo <= 0 || codigo.inicio + codigo.largo > linea.size())
            std::abort();
        if (!QStringView(u"{<[%\\").contains(linea[codigo.inicio]))
            std::abort();
        fin = codigo.inicio + codigo.largo;
    }
}

// A plain value: digits without a leading zero (or a lone one), then maybe a point and digits that do not
// end in zero.
bool EsValorLlano(const QString& valor)
{
    const qsizetype punto = valor.indexOf(u'.');
    const QStringView entero = QStringView(valor).first(punto < 0 ? valor.size() : punto);
    const QStringView decimales = punto < 0 ? QStringView() : QStringView(valor).sliced(punto + 1);
    const auto digitos = [](QStringView texto) {
        for (const QChar c : texto)
            if (c < u'0' || c > u'9')
                return false;
        return !texto.isEmpty();
    };
    if (!digitos(entero) || (entero.size() > 1 && entero.front() == u'0'))
        return false;
    return punto < 0 || (digitos(decimales) && decimales.back() != u'0');
}

void ComprobarCifras(QStringView linea, const TramosCodigo& codigos)
{
    const QList<Cifra> cifras = CifrasLinea(linea, codigos);
    QVarLengthArray<quint64, 8> huellas;
    HuellasCifras(linea, codigos, huellas);
    if (huellas.size() != cifras.size())
        std::abort();
    qsizetype fin = 0;
    for (qsizetype k = 0; k < cifras.size(); ++k) {
        const Cifra& cifra = cifras[k];
        if (cifra.inicio < fin || cifra.largo <= 0 || cifra.inicio + cifra.largo > linea.size())
            std::abort();
        if (!linea[cifra.inicio].isDigit() || !EsValorLlano(cifra.valor))
            std::abort();
        for (const TramoCodigo& codigo : codigos)
            if (cifra.inicio < codigo.inicio + codigo.largo && codigo.inicio < cifra.inicio + cifra.largo)
                std::abort();
        quint64 huella = 14695981039346656037ull;
        for (const QChar c : cifra.valor) {
            huella ^= c.unicode();
            huella *= 1099511628211ull;
        }
        if (huella != huellas[k])
            std::abort();
        fin = cifra.inicio + cifra.largo;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    const qsizetype salto = texto.indexOf(u'\n');
    const QString original = salto < 0 ? texto : texto.first(salto);
    const QString traduccion = salto < 0 ? QString() : texto.sliced(salto + 1);
    for (const QString& linea : {original, traduccion}) {
        const TramosCodigo codigos = CodigosPredeterminados(linea);
        ComprobarCodigos(linea, codigos);
        ComprobarCifras(linea, codigos);
    }

    ProbadorCodificacion probador(Codificacion::Windows1252);
    const ResumenLinea resumenOriginal = Resumir(original, PatronCodigos());
    const ResumenLinea resumenTraduccion = Resumir(traduccion, PatronCodigos(), &probador);
    const LineasTraduccion vecinas = [&](int k) {
        return k == 0 ? &resumenTraduccion : nullptr;
    };
    OpcionesComprobacion opciones;
    opciones.nombreCodificacion = Codificacion::Windows1252.nombreLegible();
    const int cantidad = ContarProblemas(resumenOriginal, 0, vecinas, opciones);
    if (ProblemasLinea(original, traduccion, 0, vecinas, opciones, &probador).size() != cantidad)
        std::abort();
    return 0;
}
