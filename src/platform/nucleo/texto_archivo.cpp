// Text format of scripts and translations.
#include "texto_archivo.h"

#include <algorithm>
#include <array>
#include <limits>

#include <QStringDecoder>
#include <QStringEncoder>

#include <uchardet.h>

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

QByteArray CodificarWindows1252(QStringView texto)
{
    QByteArray bytes(texto.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < texto.size(); ++i)
        bytes[i] = char(ByteWindows1252(texto[i].unicode()));
    return bytes;
}

struct Pagina
{
    const char* nombre; // IANA, as ICU knows it
    const char* legible;
    // What uchardet calls it, for the code pages it may detect.
    std::array<const char*, 2> detectada;
};

// The supported code pages; `Codificacion` holds an index into this table.
const std::array<Pagina, 16> paginas = {{
    {"UTF-8", "Unicode (UTF-8)", {}},
    {"UTF-16LE", "Unicode (UTF-16 LE)", {}},
    {"UTF-16BE", "Unicode (UTF-16 BE)", {}},
    {"windows-1252", "Europa occidental (Windows-1252)", {}},
    {"ISO-8859-15", "Europa occidental (ISO-8859-15)", {}},
    {"windows-1250", "Europa central (Windows-1250)", {}},
    {"windows-1251", "Cirílico (Windows-1251)", {}},
    {"KOI8-R", "Cirílico (KOI8-R)", {}},
    {"windows-1253", "Griego (Windows-1253)", {}},
    {"windows-1254", "Turco (Windows-1254)", {}},
    {"windows-1257", "Báltico (Windows-1257)", {}},
    {"Shift_JIS", "Japonés (Shift-JIS)", {"SHIFT_JIS"}},
    {"EUC-JP", "Japonés (EUC-JP)", {"EUC-JP"}},
    {"GB18030", "Chino simplificado (GB18030)", {"GB18030", "GB2312"}},
    {"Big5", "Chino tradicional (Big5)", {"BIG5"}},
    // uchardet names Korean text UHC, the superset Windows writes; only files within EUC-KR count.
    {"EUC-KR", "Coreano (EUC-KR)", {"EUC-KR", "UHC"}},
}};

// UTF-8 and Windows-1252 are decoded line by line by the editor itself; the rest through ICU, whole.
bool PorIcu(Codificacion codificacion)
{
    return codificacion != Codificacion::Utf8 && codificacion != Codificacion::Windows1252;
}

// Returned as a prvalue, never moved: see LineaNoCodificable.
QStringDecoder Decodificador(Codificacion codificacion)
{
    // The reader takes off a byte-order mark itself: what follows it is text.
    return QStringDecoder(codificacion.nombre().toLatin1().constData(),
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
}

QStringEncoder Codificador(Codificacion codificacion)
{
    return QStringEncoder(codificacion.nombre().toLatin1().constData(), QStringConverter::Flag::Stateless);
}

QByteArray Codificar(QStringView texto, Codificacion codificacion)
{
    if (codificacion == Codificacion::Utf8)
        return texto.toUtf8();
    if (codificacion == Codificacion::Windows1252)
        return CodificarWindows1252(texto);
    QStringEncoder codificador = Codificador(codificacion);
    return codificador.encode(texto);
}

QByteArrayView MarcaDeOrden(Codificacion codificacion)
{
    if (codificacion == Codificacion::Utf8)
        return bomUtf8;
    if (codificacion == Codificacion::Utf16Le)
        return "\xFF\xFE";
    if (codificacion == Codificacion::Utf16Be)
        return "\xFE\xFF";
    return {};
}

// The whole of `bytes` in an ICU code page, or nothing when they do not decode without error or do not
// encode back to the same bytes (a code page that maps two byte sequences to one character).
std::optional<QString> DecodificarExacto(QByteArrayView bytes, Codificacion codificacion)
{
    QStringDecoder decodificador = Decodificador(codificacion);
    QString texto = decodificador.decode(bytes);
    if (decodificador.hasError())
        return std::nullopt;
    QStringEncoder codificador = Codificador(codificacion);
    const QByteArray vuelta = codificador.encode(texto);
    if (codificador.hasError() || QByteArrayView(vuelta) != bytes)
        return std::nullopt;
    return texto;
}

// How much of a file uchardet looks at. Its single-byte probers take about a second for a 5 MB Spanish
// script, while a few pages of lines tell an East Asian code page plainly; the strict decode of the whole
// file then confirms it.
constexpr qsizetype muestraDeteccion = 32 * 1024;

// The lines that hold a byte above 127, whole, up to about `muestraDeteccion` bytes.
QByteArray MuestraDeteccion(QByteArrayView bytes)
{
    if (bytes.size() <= muestraDeteccion)
        return bytes.toByteArray();
    QByteArray muestra;
    qsizetype inicio = 0;
    while (inicio < bytes.size() && muestra.size() < muestraDeteccion) {
        const auto salto =
            std::find_if(bytes.begin() + inicio, bytes.end(), [](char b) { return b == '\n' || b == '\r'; });
        const qsizetype fin = salto == bytes.end() ? bytes.size() : salto - bytes.begin() + 1;
        const QByteArrayView linea = bytes.sliced(inicio, fin - inicio);
        if (TieneByteAlto(linea))
            muestra.append(linea);
        inicio = fin;
    }
    return muestra;
}

// The multi-byte East Asian code page uchardet sees in the bytes, if any.
std::optional<Codificacion> Detectar(QByteArrayView bytes)
{
    const uchardet_t detector = uchardet_new();
    if (!detector)
        return std::nullopt;
    const QByteArray muestra = MuestraDeteccion(bytes);
    uchardet_handle_data(detector, muestra.constData(), size_t(muestra.size()));
    uchardet_data_end(detector);
    const QByteArray nombre = uchardet_get_charset(detector);
    uchardet_delete(detector);
    if (nombre.isEmpty())
        return std::nullopt;
    for (const Pagina& pagina : paginas) {
        for (const char* detectada : pagina.detectada) {
            if (detectada && nombre.compare(detectada, Qt::CaseInsensitive) == 0)
                return Codificacion::PorNombre(QString::fromLatin1(pagina.nombre));
        }
    }
    return std::nullopt;
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

// The line as the file holds it: a visible line feed is an ordinary one where lines end at CR.
QString TextoEscrito(QStringView linea, const FormatoTexto& formato)
{
    QString texto = linea.toString();
    if (formato.finLinea != FinLinea::Lf)
        texto.replace(saltoVisible, u'\n');
    return texto;
}

// Whether a character can stand in a line written in UTF-8 or Windows-1252.
bool EsCodificable(QStringView linea, qsizetype i, const FormatoTexto& formato)
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

// Whether the start of line `n` would read back as something else: where lines end at a lone CR, a line
// feed right after one would read back as part of a CR LF; at the very start of a Unicode file without a
// mark, U+FEFF (or, in UTF-16, U+FFFE) would read back as a byte-order mark.
bool ComienzoNoCodificable(const QList<QStringView>& lineas, qsizetype n, const FormatoTexto& formato)
{
    const QStringView linea = lineas[n];
    if (formato.finLinea == FinLinea::Cr && n > 0 && linea.startsWith(saltoVisible))
        return true;
    const bool conMarcaPosible = !MarcaDeOrden(formato.codificacion).isEmpty() && !formato.bom;
    return conMarcaPosible && n == 0 &&
           (linea.startsWith(QChar(0xFEFF)) ||
            (formato.codificacion.esUtf16() && linea.startsWith(QChar(0xFFFE))));
}

// Whether a line can be written in an ICU code page: it encodes without error and decodes back the same.
bool EsCodificableIcu(QStringView linea, const FormatoTexto& formato, QStringEncoder& codificador,
                      QStringDecoder& decodificador)
{
    if (linea.contains(u'\r') || linea.contains(u'\n'))
        return false;
    const QString texto = TextoEscrito(linea, formato);
    const QByteArray bytes = codificador.encode(texto);
    if (codificador.hasError())
        return false;
    const QString vuelta = decodificador.decode(bytes);
    return !decodificador.hasError() && vuelta == texto;
}

} // namespace

bool TieneByteAlto(QByteArrayView bytes)
{
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80)
            return true;
    }
    return false;
}

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
    QString linea;
    if (codificacion == Codificacion::Utf8) {
        linea = DecodificarUtf8(bytes);
    } else if (codificacion == Codificacion::Windows1252) {
        linea = DecodificarWindows1252(bytes);
    } else {
        QStringDecoder decodificador = Decodificador(codificacion);
        linea = decodificador.decode(bytes);
    }
    if (saltoEsCaracter)
        linea.replace(u'\n', saltoVisible);
    return linea;
}

QList<Codificacion> Codificacion::Todas()
{
    QList<Codificacion> todas;
    for (int i = 0; i < int(paginas.size()); ++i)
        todas.append(Codificacion(i));
    return todas;
}

std::optional<Codificacion> Codificacion::PorNombre(QStringView nombre)
{
    const auto buscar = [](QStringView buscado) -> std::optional<Codificacion> {
        for (int i = 0; i < int(paginas.size()); ++i) {
            if (buscado.compare(QLatin1StringView(paginas[size_t(i)].nombre), Qt::CaseInsensitive) == 0)
                return Codificacion(i);
        }
        return std::nullopt;
    };
    if (const auto directa = buscar(nombre.trimmed()))
        return directa;
    // An alias ("cp932", "windows-31j", "utf8"): the converter ICU opens for it tells its IANA name.
    const QByteArray latin1 = nombre.trimmed().toLatin1();
    if (latin1.isEmpty())
        return std::nullopt;
    const QStringDecoder decodificador(latin1.constData());
    if (!decodificador.isValid())
        return std::nullopt;
    return buscar(QString::fromLatin1(decodificador.name()));
}

QString Codificacion::nombre() const
{
    return QString::fromLatin1(paginas[size_t(indice_)].nombre);
}

QString Codificacion::nombreLegible() const
{
    return QString::fromUtf8(paginas[size_t(indice_)].legible);
}

bool Codificacion::esUnicode() const
{
    return *this == Utf8 || esUtf16() || *this == Gb18030;
}

QString NombreFinLinea(FinLinea fin)
{
    switch (fin) {
    case FinLinea::Cr:
        return QStringLiteral("CR");
    case FinLinea::Lf:
        return QStringLiteral("LF");
    case FinLinea::CrLf:
        break;
    }
    return QStringLiteral("CR LF");
}

LectorLineas::LectorLineas(QByteArray datos, std::optional<Codificacion> eleccion) : datos_(std::move(datos))
{
    const bool alto = TieneByteAlto(datos_);
    // Takes the file to be in `codificacion` when the bytes after `marca` are exactly that code page.
    const auto probar = [&](Codificacion codificacion, QByteArrayView marca) {
        const QByteArrayView resto = QByteArrayView(datos_).sliced(marca.size());
        if (PorIcu(codificacion)) {
            std::optional<QString> texto = DecodificarExacto(resto, codificacion);
            if (!texto)
                return false;
            texto_ = std::move(*texto);
            decodificado_ = true;
        } else if (codificacion == Codificacion::Utf8 && !EsUtf8Valido(resto)) {
            return false;
        }
        formato_.codificacion = codificacion;
        formato_.bom = !marca.isEmpty();
        formato_.evidencia = formato_.bom || alto;
        posicion_ = decodificado_ ? 0 : marca.size();
        return true;
    };
    const auto conMarca = [&](Codificacion codificacion) {
        const QByteArrayView marca = MarcaDeOrden(codificacion);
        return datos_.startsWith(marca) && probar(codificacion, marca);
    };
    const bool leido = conMarca(Codificacion::Utf8) || conMarca(Codificacion::Utf16Le) ||
                       conMarca(Codificacion::Utf16Be) || (alto && probar(Codificacion::Utf8, {})) ||
                       (eleccion && !eleccion->esUtf16() && probar(*eleccion, {}));
    if (!leido && alto) {
        const std::optional<Codificacion> detectada = Detectar(datos_);
        if (!detectada || !probar(*detectada, {}))
            probar(Codificacion::Windows1252, {});
    } else if (!leido) {
        // ASCII only: read as UTF-8, and as what it is, a file whose code page is unknown.
        probar(Codificacion::Utf8, {});
    }

    // Lone CR is the style only of a file that has no CR LF at all: in a mixed file a line feed after a
    // lone CR could not be written back apart from a CR LF.
    const auto contiene = [this](QStringView fin) {
        return decodificado_ ? QStringView(texto_).contains(fin) : datos_.contains(fin.toLatin1());
    };
    if (contiene(u"\r\n"))
        formato_.finLinea = FinLinea::CrLf;
    else if (contiene(u"\r"))
        formato_.finLinea = FinLinea::Cr;
    else
        formato_.finLinea = contiene(u"\n") ? FinLinea::Lf : FinLinea::CrLf;
    // Decoded whole, the bytes are no longer needed: a long file is not held twice over.
    if (decodificado_)
        datos_ = QByteArray();
}

bool LectorLineas::fin() const
{
    return posicion_ >= (decodificado_ ? texto_.size() : datos_.size());
}

QString LectorLineas::siguiente()
{
    const bool finEnLf = formato_.finLinea == FinLinea::Lf;
    if (decodificado_) {
        qsizetype fin = texto_.indexOf(finEnLf ? u'\n' : u'\r', posicion_);
        if (fin < 0)
            fin = texto_.size();
        QString linea = texto_.sliced(posicion_, fin - posicion_);
        posicion_ = fin + 1;
        if (!finEnLf && posicion_ < texto_.size() && texto_[posicion_] == u'\n')
            ++posicion_;
        if (!finEnLf)
            linea.replace(u'\n', saltoVisible);
        return linea;
    }
    qsizetype fin = datos_.indexOf(finEnLf ? '\n' : '\r', posicion_);
    if (fin < 0)
        fin = datos_.size();
    const QByteArrayView bytes = QByteArrayView(datos_).sliced(posicion_, fin - posicion_);
    posicion_ = fin + 1;
    if (!finEnLf && posicion_ < datos_.size() && datos_[posicion_] == '\n')
        ++posicion_;
    return DecodificarLinea(bytes, formato_.codificacion, !finEnLf);
}

QStringList LeerLineas(const QString& ruta, FormatoTexto* formato, std::optional<Codificacion> eleccion)
{
    LectorLineas lector(LeerArchivo(ruta), eleccion);
    QStringList lineas;
    while (!lector.fin())
        lineas.append(lector.siguiente());
    if (formato)
        *formato = lector.formato();
    return lineas;
}

std::optional<Codificacion> CodificacionMostrada(const QString& ruta, std::optional<Codificacion> eleccion,
                                                 SistemaArchivos& sistema)
{
    const auto esAlto = [](char b) {
        return static_cast<unsigned char>(b) >= 0x80;
    };
    const auto esFin = [](char b) {
        return b == '\n' || b == '\r';
    };
    // Until the first byte above 127 only the line under way is kept, with the line end before it, so that
    // a sample from inside the file never starts with what would read as a byte-order mark.
    QByteArray muestra;
    bool alto = false;
    bool completa = false;
    const auto anadir = [&](QByteArrayView bloque) {
        const qsizetype antes = muestra.size();
        muestra.append(bloque);
        if (!alto) {
            const auto primero = std::find_if(muestra.cbegin() + antes, muestra.cend(), esAlto);
            alto = primero != muestra.cend();
            const auto fin = std::find_if(std::make_reverse_iterator(primero), muestra.crend(), esFin);
            muestra.remove(0, fin == muestra.crend() ? 0 : muestra.crend() - fin - 1);
            // A huge line of ASCII: only its end can matter.
            if (!alto && muestra.size() > muestraCodificacion)
                muestra.remove(0, muestra.size() - muestraCodificacion);
        }
        completa = alto && muestra.size() >= muestraCodificacion;
        return !completa;
    };
    RecorrerArchivo(ruta, {}, anadir, sistema);
    if (!alto)
        return std::nullopt;
    // A mark of UTF-16 is read by itself: a sample cut anywhere would not decode.
    for (const Codificacion utf16 : {Codificacion::Utf16Le, Codificacion::Utf16Be}) {
        if (muestra.startsWith(MarcaDeOrden(utf16)))
            return utf16;
    }
    // A sample cut short ends at its last line end, or else after its last byte below 128 (a space, say),
    // so that no character of a multi-byte code page is split; never so short that it shows nothing.
    if (completa) {
        auto fin = std::find_if(muestra.crbegin(), muestra.crend(), esFin);
        if (fin == muestra.crend())
            fin = std::find_if_not(muestra.crbegin(), muestra.crend(), esAlto);
        const qsizetype largo = muestra.crend() - fin;
        if (std::any_of(muestra.cbegin(), muestra.cbegin() + largo, esAlto))
            muestra.truncate(largo);
    }
    return LectorLineas(std::move(muestra), eleccion).formato().codificacion;
}

QList<QStringView> VistasDe(const QStringList& lineas)
{
    QList<QStringView> vistas;
    vistas.reserve(lineas.size());
    for (const QString& linea : lineas)
        vistas.append(linea);
    return vistas;
}

qsizetype LineaNoCodificable(const QList<QStringView>& lineas, const FormatoTexto& formato)
{
    const bool icu = PorIcu(formato.codificacion);
    std::optional<QStringEncoder> codificador;
    std::optional<QStringDecoder> decodificador;
    if (icu) {
        // Built in place: an ICU converter counts its errors through a pointer to the object it was made
        // in, so a moved converter would report none.
        const QByteArray nombre = formato.codificacion.nombre().toLatin1();
        codificador.emplace(nombre.constData(), QStringConverter::Flag::Stateless);
        decodificador.emplace(nombre.constData(),
                              QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    }
    // Most lines of most scripts are plain ASCII, which UTF-8, UTF-16 and Windows-1252 write as it is.
    const auto ascii = [](QStringView linea) {
        for (const QChar c : linea) {
            const char16_t u = c.unicode();
            if (u >= 0x80 || u == u'\r' || u == u'\n')
                return false;
        }
        return true;
    };
    for (qsizetype n = 0; n < lineas.size(); ++n) {
        if (ComienzoNoCodificable(lineas, n, formato))
            return n;
        if (!icu && ascii(lineas[n]))
            continue;
        if (icu) {
            if (!EsCodificableIcu(lineas[n], formato, *codificador, *decodificador))
                return n;
            continue;
        }
        for (qsizetype i = 0; i < lineas[n].size(); ++i) {
            if (!EsCodificable(lineas[n], i, formato))
                return n;
        }
    }
    return -1;
}

qsizetype ProbadorCodificacion::noCodificable(QStringView linea, qsizetype desde)
{
    for (qsizetype i = std::max<qsizetype>(desde, 0); i < linea.size(); ++i) {
        const QChar c = linea[i];
        if (c.unicode() < 0x80)
            continue;
        if (c.isHighSurrogate() && i + 1 < linea.size() && linea[i + 1].isLowSurrogate()) {
            if (!Puede(QChar::surrogateToUcs4(c, linea[i + 1])))
                return i;
            ++i;
            continue;
        }
        if (c.isSurrogate() || !Puede(c.unicode()))
            return i;
    }
    return -1;
}

qsizetype CaracterNoCodificable(const QList<QStringView>& lineas, qsizetype linea,
                                const FormatoTexto& formato)
{
    if (ComienzoNoCodificable(lineas, linea, formato))
        return 0;
    const QStringView texto = lineas[linea];
    if (!PorIcu(formato.codificacion)) {
        for (qsizetype i = 0; i < texto.size(); ++i) {
            if (!EsCodificable(texto, i, formato))
                return i;
        }
        return -1;
    }
    const QByteArray nombre = formato.codificacion.nombre().toLatin1();
    QStringEncoder codificador(nombre.constData(), QStringConverter::Flag::Stateless);
    QStringDecoder decodificador(nombre.constData(), QStringConverter::Flag::Stateless |
                                                         QStringConverter::Flag::ConvertInitialBom);
    // The code pages ICU writes here keep no state between characters: each one is tried alone.
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const qsizetype largo = texto[i].isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
        if (!EsCodificableIcu(texto.sliced(i, largo), formato, codificador, decodificador))
            return i;
        i += largo - 1;
    }
    return -1;
}

bool ProbadorCodificacion::Puede(char32_t caracter)
{
    if (codificacion_ == Codificacion::Windows1252)
        return caracter <= 0xFFFF && ByteWindows1252(char16_t(caracter)) >= 0;
    if (codificacion_.esUnicode())
        return true;
    if (const auto conocido = conocidos_.constFind(caracter); conocido != conocidos_.cend())
        return *conocido;
    // Converters made for this character alone: an ICU converter carries its errors from one call to
    // the next.
    const QString texto = QString::fromUcs4(&caracter, 1);
    const FormatoTexto formato{codificacion_, false, FinLinea::Lf};
    QStringEncoder codificador = Codificador(codificacion_);
    QStringDecoder decodificador = Decodificador(codificacion_);
    const bool puede = EsCodificableIcu(texto, formato, codificador, decodificador);
    conocidos_.insert(caracter, puede);
    return puede;
}

QByteArray CodificarLineas(const QList<QStringView>& lineas, const FormatoTexto& formato)
{
    // One stretch of every line, in one buffer sized at once for the most they can take (its untouched
    // end costs no memory): a long translation is never copied whole into one more text first, nor its
    // bytes moved as they grow.
    CodificacionPorTramos tramos(lineas, formato, std::numeric_limits<qsizetype>::max());
    QByteArray bytes;
    tramos.Siguiente(bytes);
    return bytes;
}

CodificacionPorTramos::CodificacionPorTramos(const QList<QStringView>& lineas, const FormatoTexto& formato,
                                             qsizetype caracteresPorTramo)
    : lineas_(lineas), caracteresPorTramo_(caracteresPorTramo),
      enWindows1252_(formato.codificacion == Codificacion::Windows1252),
      conSalto_(formato.finLinea != FinLinea::Lf),
      codificador_(Codificador(enWindows1252_ ? Codificacion::Utf8 : formato.codificacion)),
      terminador_(Codificar(QString::fromLatin1(Terminador(formato.finLinea)), formato.codificacion)),
      marca_(formato.bom ? MarcaDeOrden(formato.codificacion) : QByteArrayView())
{
}

bool CodificacionPorTramos::Siguiente(QByteArray& tramo)
{
    if (empezada_ && siguiente_ == lineas_.size())
        return false;
    qsizetype hasta = siguiente_;
    qsizetype caracteres = 0;
    while (hasta < lineas_.size() && (hasta == siguiente_ || caracteres < caracteresPorTramo_))
        caracteres += lineas_[hasta++].size();
    const qsizetype marca = empezada_ ? 0 : marca_.size();
    // Sized for the most the lines can take; a buffer of the last stretch that is large enough is kept.
    tramo.resize(marca + (hasta - siguiente_) * terminador_.size() +
                 (enWindows1252_ ? caracteres : codificador_.requiredSpace(caracteres)));
    char* destino = tramo.data();
    if (!std::exchange(empezada_, true))
        destino = std::copy(marca_.begin(), marca_.end(), destino);
    for (; siguiente_ < hasta; ++siguiente_)
        destino = CodificarLinea(destino, lineas_[siguiente_]);
    tramo.truncate(destino - tramo.constData());
    byteAlto_ = byteAlto_ || TieneByteAlto(tramo);
    return true;
}

char* CodificacionPorTramos::CodificarLinea(char* destino, QStringView linea)
{
    const auto codificar = [&](QStringView texto) {
        if (!enWindows1252_)
            return codificador_.appendToBuffer(destino, texto);
        for (const QChar c : texto)
            *destino++ = char(ByteWindows1252(c.unicode()));
        return destino;
    };
    if (conSalto_ && linea.contains(saltoVisible))
        destino = codificar(linea.toString().replace(saltoVisible, u'\n'));
    else
        destino = codificar(linea);
    return std::copy(terminador_.begin(), terminador_.end(), destino);
}

qsizetype BytesLinea(const QString& linea, const FormatoTexto& formato)
{
    return Codificar(TextoEscrito(linea, formato), formato.codificacion).size();
}
