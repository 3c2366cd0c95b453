// Text format of scripts and translations.
#include "texto_archivo.h"

#include <array>

#include <QStringDecoder>

#include "archivos.h"

namespace {

// Windows-1252 from 0x80 to 0x9F. The five bytes the code page leaves undefined map to the control
// characters of the same value, so that every byte reads and writes back unchanged.
constexpr std::array<char16_t, 32> windows1252Alto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Windows-1252 byte of a character, or -1 when the code page has none.
int ByteWindows1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (size_t i = 0; i < windows1252Alto.size(); ++i) {
        if (windows1252Alto[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

QString DecodificarWindows1252(QByteArrayView bytes)
{
    QString texto(bytes.size(), Qt::Uninitialized);
    QChar* destino = texto.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *destino++ = QChar(u >= 0x80 && u < 0xA0 ? windows1252Alto[u - 0x80] : char16_t(u));
    }
    return texto;
}

// A U+FEFF at the start of a line is a character of that line: only the file's first bytes can be a
// byte-order mark, and the reader has taken those off already.
QString DecodificarUtf8(QByteArrayView bytes)
{
    QStringDecoder decodificador(QStringDecoder::Utf8, QStringConverter::Flag::Stateless |
                                                           QStringConverter::Flag::ConvertInitialBom);
    return decodificador.decode(bytes);
}

QByteArrayView Terminador(FinLinea fin)
{
    switch (fin) {
    case FinLinea::Cr:
        return "\r";
    case FinLinea::Lf:
        return "\n";
    case FinLinea::CrLf:
        break;
    }
    return "\r\n";
}

// Whether a character can stand in a line written in this format.
bool EsCodificable(const QString& linea, qsizetype i, const FormatoTexto& formato)
{
    const QChar c = linea[i];
    if (c == u'\r' || c == u'\n')
        return false;
    if (c == saltoVisible && formato.finLinea != FinLinea::Lf)
        return true;
    if (formato.codificacion == Codificacion::Windows1252)
        return ByteWindows1252(c.unicode()) >= 0;
    if (c.isHighSurrogate())
        return i + 1 < linea.size() && linea[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i > 0 && linea[i - 1].isHighSurrogate();
    return true;
}

QByteArray CodificarLinea(const QString& linea, const FormatoTexto& formato)
{
    const bool saltoEsCaracter = formato.finLinea != FinLinea::Lf;
    QString texto = linea;
    if (saltoEsCaracter)
        texto.replace(saltoVisible, u'\n');
    if (formato.codificacion == Codificacion::Utf8)
        return texto.toUtf8();
    QByteArray bytes(texto.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < texto.size(); ++i)
        bytes[i] = char(ByteWindows1252(texto[i].unicode()));
    return bytes;
}

} // namespace

bool EsUtf8Valido(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* fin = p + bytes.size();
    while (p < fin) {
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        int continuaciones;
        unsigned minimo;
        unsigned valor;
        if ((b & 0xE0) == 0xC0) {
            continuaciones = 1, minimo = 0x80, valor = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            continuaciones = 2, minimo = 0x800, valor = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            continuaciones = 3, minimo = 0x10000, valor = b & 0x07;
        } else {
            return false;
        }
        if (fin - p <= continuaciones)
            return false;
        for (int i = 1; i <= continuaciones; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            valor = (valor << 6) | (p[i] & 0x3F);
        }
        if (valor < minimo || valor > 0x10FFFF || (valor >= 0xD800 && valor <= 0xDFFF))
            return false;
        p += continuaciones + 1;
    }
    return true;
}

QString DecodificarLinea(QByteArrayView bytes, Codificacion codificacion, bool saltoEsCaracter)
{
    QString linea =
        codificacion == Codificacion::Utf8 ? DecodificarUtf8(bytes) : DecodificarWindows1252(bytes);
    if (saltoEsCaracter)
        linea.replace(u'\n', saltoVisible);
    return linea;
}

LectorLineas::LectorLineas(QByteArray datos) : datos_(std::move(datos))
{
    if (EsUtf8Valido(datos_)) {
        formato_.codificacion = Codificacion::Utf8;
        formato_.bom = datos_.startsWith(bomUtf8);
        posicion_ = formato_.bom ? bomUtf8.size() : 0;
    } else {
        formato_.codificacion = Codificacion::Windows1252;
    }
    // Lone CR is the style only of a file that has no CR LF at all: in a mixed file a line feed after a
    // lone CR could not be written back apart from a CR LF.
    if (datos_.contains("\r\n"))
        formato_.finLinea = FinLinea::CrLf;
    else if (datos_.contains('\r'))
        formato_.finLinea = FinLinea::Cr;
    else
        formato_.finLinea = datos_.contains('\n') ? FinLinea::Lf : FinLinea::CrLf;
}

QString LectorLineas::siguiente()
{
    const bool finEnLf = formato_.finLinea == FinLinea::Lf;
    qsizetype fin = datos_.indexOf(finEnLf ? '\n' : '\r', posicion_);
    if (fin < 0)
        fin = datos_.size();
    const QByteArrayView bytes = QByteArrayView(datos_).sliced(posicion_, fin - posicion_);
    posicion_ = fin + 1;
    if (!finEnLf && posicion_ < datos_.size() && datos_[posicion_] == '\n')
        ++posicion_;
    return DecodificarLinea(bytes, formato_.codificacion, !finEnLf);
}

QStringList LeerLineas(const QString& ruta, FormatoTexto* formato)
{
    LectorLineas lector(LeerArchivo(ruta));
    QStringList lineas;
    while (!lector.fin())
        lineas.append(lector.siguiente());
    if (formato)
        *formato = lector.formato();
    return lineas;
}

qsizetype LineaNoCodificable(const QStringList& lineas, const FormatoTexto& formato)
{
    for (qsizetype n = 0; n < lineas.size(); ++n) {
        // Where lines end at a lone CR, a line feed right after one would read back as part of a CR LF.
        if (formato.finLinea == FinLinea::Cr && n > 0 && lineas[n].startsWith(saltoVisible))
            return n;
        // At the very start of a UTF-8 file, U+FEFF would read back as a byte-order mark.
        const bool pareceBom = formato.codificacion == Codificacion::Utf8 && !formato.bom && n == 0;
        if (pareceBom && lineas[n].startsWith(QChar(0xFEFF)))
            return n;
        for (qsizetype i = 0; i < lineas[n].size(); ++i) {
            if (!EsCodificable(lineas[n], i, formato))
                return n;
        }
    }
    return -1;
}

QByteArray CodificarLineas(const QStringList& lineas, const FormatoTexto& formato)
{
    QByteArray bytes;
    if (formato.bom && formato.codificacion == Codificacion::Utf8)
        bytes.append(bomUtf8);
    const QByteArrayView terminador = Terminador(formato.finLinea);
    for (const QString& linea : lineas) {
        bytes.append(CodificarLinea(linea, formato));
        bytes.append(terminador);
    }
    return bytes;
}
