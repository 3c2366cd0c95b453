// Profile store: a reader and writer of INI files that reads what the Windows profile functions read,
// in files written there, by hand or by this editor, and that changes no byte of a file but the line it
// writes.
#include "ini.h"

#include <QList>

#include "archivos.h"
#include "errores.h"
#include "texto_archivo.h"

namespace {

constexpr char finLinea[] = "\r\n";

enum class TipoLinea { Otra, Seccion, Clave };

// One line of the file: its text is datos[inicio, finTexto), its line end datos[finTexto, finLinea).
struct Linea
{
    qsizetype inicio = 0;
    qsizetype finTexto = 0;
    qsizetype finLinea = 0;
    TipoLinea tipo = TipoLinea::Otra;
    bool enBlanco = false;
    QString nombre; // of the section or key, without the blanks around it
    QString valor;  // of a key, as read
};

struct Perfil
{
    Codificacion codificacion = Codificacion::Utf8;
    QList<Linea> lineas;
};

// NUL counts as a blank: files cut short by a crash on Windows are often padded with NULs.
bool EsBlanco(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\0';
}

QStringView Recortar(QStringView texto)
{
    while (!texto.isEmpty() && EsBlanco(texto.front()))
        texto = texto.sliced(1);
    while (!texto.isEmpty() && EsBlanco(texto.back()))
        texto.chop(1);
    return texto;
}

// A value as the profile functions return it: up to the first NUL, trimmed, without one pair of
// matching quotes around it.
QString ValorLeido(QStringView texto)
{
    if (const qsizetype nul = texto.indexOf(u'\0'); nul >= 0)
        texto.truncate(nul);
    texto = Recortar(texto);
    if (texto.size() >= 2 && (texto.front() == u'"' || texto.front() == u'\'') &&
        texto.back() == texto.front())
        texto = texto.sliced(1, texto.size() - 2);
    return texto.toString();
}

void Clasificar(Linea& linea, const QString& texto)
{
    const QStringView recortada = Recortar(texto);
    linea.enBlanco = recortada.isEmpty();
    if (recortada.startsWith(u'[')) {
        // A line opening a bracket is never a key; it names a section only when the bracket closes.
        if (const qsizetype cierre = recortada.lastIndexOf(u']'); cierre > 0) {
            linea.tipo = TipoLinea::Seccion;
            linea.nombre = Recortar(recortada.sliced(1, cierre - 1)).toString();
        }
        return;
    }
    if (recortada.startsWith(u';'))
        return;
    const qsizetype igual = recortada.indexOf(u'=');
    if (igual < 0)
        return;
    linea.tipo = TipoLinea::Clave;
    linea.nombre = Recortar(recortada.first(igual)).toString();
    linea.valor = ValorLeido(recortada.sliced(igual + 1));
}

// Lines end at CR LF, a lone CR or LF, whichever the file uses, as on Windows.
Perfil Analizar(const QByteArray& datos)
{
    // A byte-order mark makes the file UTF-8 even with a stray invalid byte further on, so that replacing
    // that byte's line never turns the mark into text and hides the first section.
    Perfil perfil;
    const bool conBom = datos.startsWith(bomUtf8);
    perfil.codificacion = conBom || EsUtf8Valido(datos) ? Codificacion::Utf8 : Codificacion::Windows1252;
    qsizetype i = conBom ? bomUtf8.size() : 0;
    while (i < datos.size()) {
        Linea linea;
        linea.inicio = i;
        while (i < datos.size() && datos[i] != '\r' && datos[i] != '\n')
            ++i;
        linea.finTexto = i;
        if (i < datos.size())
            i += datos[i] == '\r' && i + 1 < datos.size() && datos[i + 1] == '\n' ? 2 : 1;
        linea.finLinea = i;
        const QByteArrayView bytes =
            QByteArrayView(datos).sliced(linea.inicio, linea.finTexto - linea.inicio);
        Clasificar(linea, DecodificarLinea(bytes, perfil.codificacion, false));
        perfil.lineas.append(std::move(linea));
    }
    return perfil;
}

bool MismoNombre(const QString& nombre, QStringView buscado)
{
    return QStringView(nombre).compare(buscado, Qt::CaseInsensitive) == 0;
}

// The header of the first section of that name, or -1: later sections of the same name are never read.
qsizetype BuscarSeccion(const Perfil& perfil, QStringView seccion)
{
    for (qsizetype i = 0; i < perfil.lineas.size(); ++i) {
        const Linea& linea = perfil.lineas[i];
        if (linea.tipo == TipoLinea::Seccion && MismoNombre(linea.nombre, seccion))
            return i;
    }
    return -1;
}

// The line after the section that starts at `encabezado`: the next header, or the end of the file.
qsizetype FinSeccion(const Perfil& perfil, qsizetype encabezado)
{
    qsizetype i = encabezado + 1;
    while (i < perfil.lineas.size() && perfil.lineas[i].tipo != TipoLinea::Seccion)
        ++i;
    return i;
}

qsizetype BuscarClave(const Perfil& perfil, qsizetype encabezado, QStringView clave)
{
    const qsizetype fin = FinSeccion(perfil, encabezado);
    for (qsizetype i = encabezado + 1; i < fin; ++i) {
        const Linea& linea = perfil.lineas[i];
        if (linea.tipo == TipoLinea::Clave && MismoNombre(linea.nombre, clave))
            return i;
    }
    return -1;
}

// The bytes of a text in the file's code page; a character the code page lacks, or a line break that
// would split the line, becomes "?", as the ANSI profile functions write it.
QByteArray Codificar(const QString& texto, Codificacion codificacion)
{
    const FormatoTexto formato{codificacion, false, FinLinea::Lf};
    QString escribible;
    escribible.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const qsizetype largo = texto[i].isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
        const QString caracter = texto.sliced(i, largo);
        escribible += LineaNoCodificable({caracter}, formato) < 0 ? caracter : QStringLiteral("?");
        i += largo - 1;
    }
    QByteArray bytes = CodificarLineas({escribible}, formato);
    bytes.chop(1); // the format's LF
    return bytes;
}

// The file after writing one key: only the key's line changes, or one line (or a section) is added.
QByteArray ConClave(const QByteArray& datos, QStringView seccion, const QString& clave, const QString& valor)
{
    const Perfil perfil = Analizar(datos);
    const auto linea = [&](const QString& texto) -> QByteArray {
        return Codificar(texto, perfil.codificacion) + finLinea;
    };
    QByteArray resultado = datos;
    const qsizetype encabezado = BuscarSeccion(perfil, seccion);
    if (encabezado < 0) {
        if (!perfil.lineas.isEmpty() && perfil.lineas.last().finLinea == perfil.lineas.last().finTexto)
            resultado += finLinea;
        resultado += linea(u'[' + seccion.toString() + u']') + linea(clave + u'=' + valor);
        return resultado;
    }
    if (const qsizetype i = BuscarClave(perfil, encabezado, clave); i >= 0) {
        const Linea& existente = perfil.lineas[i];
        resultado.replace(existente.inicio, existente.finTexto - existente.inicio,
                          Codificar(existente.nombre + u'=' + valor, perfil.codificacion));
        return resultado;
    }
    // A new key follows the section's last non-blank line, so blank lines between sections stay put.
    qsizetype ultima = encabezado;
    for (qsizetype i = encabezado + 1; i < FinSeccion(perfil, encabezado); ++i) {
        if (!perfil.lineas[i].enBlanco)
            ultima = i;
    }
    const Linea& anterior = perfil.lineas[ultima];
    QByteArray nueva = linea(clave + u'=' + valor);
    if (anterior.finLinea == anterior.finTexto)
        nueva.prepend(finLinea);
    resultado.insert(anterior.finLinea, nueva);
    return resultado;
}

// The value of `clave` in `seccion`, or "".
QString Valor(const Perfil& perfil, const QString& seccion, const QString& clave)
{
    const qsizetype encabezado = BuscarSeccion(perfil, Recortar(seccion));
    if (encabezado < 0)
        return QString();
    const qsizetype i = BuscarClave(perfil, encabezado, Recortar(clave));
    return i < 0 ? QString() : perfil.lineas[i].valor;
}

} // namespace

QString LeerIni(const QString& seccion, QString& clave, const QString& archivo, SistemaArchivos& sistema)
{
    clave = clave.toLower();
    try {
        return LeerClaves(seccion, {clave}, archivo, sistema).constFirst();
    } catch (const ErrorEjecucion&) {
        return QString();
    }
}

QStringList LeerClaves(const QString& seccion, const QStringList& claves, const QString& archivo,
                       SistemaArchivos& sistema)
{
    QByteArray datos;
    try {
        datos = LeerArchivo(archivo, sistema, maximoPerfil);
    } catch (const ErrorEjecucion& error) {
        if (error.numero() != Errores::ArchivoNoEncontrado)
            throw;
    }
    const Perfil perfil = Analizar(datos);
    QStringList valores;
    for (const QString& clave : claves)
        valores.append(Valor(perfil, seccion, clave));
    return valores;
}

void EscribirIni(const QString& seccion, const QString& clave, const QString& valor, const QString& archivo,
                 SistemaArchivos& sistema)
{
    EscribirClaves(seccion, {{clave, valor}}, archivo, sistema);
}

void EscribirClaves(const QString& seccion, const QList<std::pair<QString, QString>>& valores,
                    const QString& archivo, SistemaArchivos& sistema)
{
    QByteArray datos;
    try {
        datos = LeerArchivo(archivo, sistema, maximoPerfil);
    } catch (const ErrorEjecucion& error) {
        // Only a missing file starts empty; a file that exists but cannot be read is left alone.
        if (error.numero() != Errores::ArchivoNoEncontrado)
            return;
    }
    QByteArray nuevos = datos;
    for (const auto& [clave, valor] : valores)
        nuevos = ConClave(nuevos, Recortar(seccion), Recortar(clave).toString().toUpper(), valor);
    if (nuevos == datos)
        return;
    try {
        EscribirArchivoAtomico(archivo, nuevos, sistema);
    } catch (const ErrorEjecucion&) {
        // A failed write is silent; the atomic replacement has left the old file whole.
    }
}
