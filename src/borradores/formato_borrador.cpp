// The draft file format, version 2:
//
//   velarto-borrador 2
//   ruta /home/ana/juego/Traducidos/intro.txt        (percent-encoded bytes of the local path)
//   fecha 2026-05-04T10:20:30.123Z                    (ISO 8601, UTC)
//   escritor 4242-123456-1a2b3c4d                     (the editor that kept it, see IdentidadProceso)
//   largo 1234                                        (bytes of text that follow the blank line)
//
//   <the text in UTF-8>
//
// Version 1 is the same without the "escritor" line. Every line ends with '\n'. A reader that meets
// anything else ignores the whole file.
#include "formato_borrador.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStringDecoder>

#include "errores.h"

namespace {

const QByteArray primeraLinea = QByteArrayLiteral("velarto-borrador 1");
const QByteArray primeraLineaConEscritor = QByteArrayLiteral("velarto-borrador 2");
const QByteArray campoEscritor = QByteArrayLiteral("escritor ");
const QByteArray campoRuta = QByteArrayLiteral("ruta ");
const QByteArray campoFecha = QByteArrayLiteral("fecha ");
const QByteArray campoLargo = QByteArrayLiteral("largo ");
const QString extension = QStringLiteral(".borrador");
constexpr qsizetype largoHash = 16;
constexpr qsizetype largoRaiz = 40;

// The value of `campo` on the line that starts at `desde`; `desde` moves past the line.
std::optional<QByteArray> Campo(const QByteArray& datos, qsizetype& desde, const QByteArray& campo)
{
    const qsizetype fin = datos.indexOf('\n', desde);
    if (fin < 0 || fin > largoMaximoCabecera)
        return std::nullopt;
    const QByteArray linea = datos.sliced(desde, fin - desde);
    desde = fin + 1;
    if (!linea.startsWith(campo))
        return std::nullopt;
    return linea.sliced(campo.size());
}

} // namespace

QString ClaveBorrador(const QString& rutaTraduccion)
{
    return QDir::cleanPath(QFileInfo(rutaTraduccion).absoluteFilePath());
}

QString CarpetaBorradores(const QString& carpetaDatos)
{
    return QDir(carpetaDatos).filePath(QStringLiteral("borradores"));
}

QString NombreArchivoBorrador(const QString& rutaTraduccion)
{
    const QString clave = ClaveBorrador(rutaTraduccion);
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(clave), QCryptographicHash::Sha256).toHex();
    // Only plain characters from the script's name, so that the name is safe in any shell or listing.
    QString raiz;
    for (const QChar c : QFileInfo(clave).completeBaseName()) {
        if (raiz.size() == largoRaiz)
            break;
        const bool simple = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                            (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        raiz.append(simple ? c : u'_');
    }
    return raiz + u'.' + QString::fromLatin1(hash.left(largoHash)) + extension;
}

bool EsNombreBorrador(const QString& nombre)
{
    return nombre.endsWith(extension) && !nombre.startsWith(u'.');
}

QByteArray CodificarBorrador(const Borrador& borrador)
{
    const QByteArray texto = borrador.texto.toUtf8();
    if (texto.size() > largoMaximoBorrador)
        throw ErrorEjecucion(Errores::Desbordamiento);
    return CabeceraBorrador(borrador, texto.size()) + texto;
}

QByteArray CabeceraBorrador(const Borrador& borrador, qint64 largoTexto)
{
    const QByteArray ruta = QFile::encodeName(ClaveBorrador(borrador.rutaTraduccion)).toPercentEncoding("/");
    const QByteArray escritor =
        borrador.escritor ? campoEscritor + borrador.escritor->texto() + '\n' : QByteArray();
    return (borrador.escritor ? primeraLineaConEscritor : primeraLinea) + '\n' + campoRuta + ruta + '\n' +
           campoFecha + borrador.fecha.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n' + escritor +
           campoLargo + QByteArray::number(largoTexto) + "\n\n";
}

std::optional<Borrador> DecodificarBorrador(const QByteArray& datos)
{
    const bool conEscritor = datos.startsWith(QByteArray(primeraLineaConEscritor + '\n'));
    if (!conEscritor && !datos.startsWith(QByteArray(primeraLinea + '\n')))
        return std::nullopt;
    qsizetype desde = primeraLinea.size() + 1;
    const std::optional<QByteArray> ruta = Campo(datos, desde, campoRuta);
    const std::optional<QByteArray> fecha = ruta ? Campo(datos, desde, campoFecha) : std::nullopt;
    std::optional<IdentidadProceso> escritor;
    if (fecha && conEscritor) {
        const std::optional<QByteArray> campo = Campo(datos, desde, campoEscritor);
        escritor = campo ? IdentidadProceso::DeTexto(*campo) : std::nullopt;
        if (!escritor)
            return std::nullopt;
    }
    const std::optional<QByteArray> largo = fecha ? Campo(datos, desde, campoLargo) : std::nullopt;
    if (!largo || desde >= datos.size() || datos[desde] != '\n')
        return std::nullopt;
    ++desde;

    bool numero = false;
    const qint64 bytes = largo->toLongLong(&numero);
    if (!numero || bytes < 0 || bytes > largoMaximoBorrador || bytes != datos.size() - desde)
        return std::nullopt;
    Borrador borrador;
    borrador.escritor = escritor;
    borrador.rutaTraduccion = QFile::decodeName(QByteArray::fromPercentEncoding(*ruta));
    if (!QDir::isAbsolutePath(borrador.rutaTraduccion))
        return std::nullopt;
    borrador.fecha = QDateTime::fromString(QString::fromLatin1(*fecha), Qt::ISODateWithMs);
    borrador.fecha = borrador.fecha.toUTC();
    // Only the years the header can write back.
    if (!borrador.fecha.isValid() || borrador.fecha.date().year() < 1 || borrador.fecha.date().year() > 9999)
        return std::nullopt;
    // A U+FEFF that opens the text is part of it, not a byte-order mark.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    borrador.texto = utf8(QByteArrayView(datos).sliced(desde));
    if (utf8.hasError())
        return std::nullopt;
    return borrador;
}
