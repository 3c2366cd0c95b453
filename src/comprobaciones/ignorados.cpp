// The ignored warnings' file, version 1:
//
//   velarto-ignorados 1
//   ruta /home/ana/juego/Traducidos/intro.txt    (percent-encoded bytes of the local path)
//   9f86d081884c7d65                             (one key a line, 16 hex digits, in order)
//
// Every line ends with '\n'. A reader that meets anything else ignores the whole file.
#include "ignorados.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include "archivos.h"
#include "errores.h"

namespace {

const QByteArray primeraLinea = QByteArrayLiteral("velarto-ignorados 1");
const QByteArray campoRuta = QByteArrayLiteral("ruta ");
const QString carpetaIgnorados = QStringLiteral("ignorados");
const QString extension = QStringLiteral(".ignorados");
// Far more keys than any translator sets; a larger file is not read.
constexpr qint64 maximoIgnorados = qint64(16) << 20;
constexpr qsizetype largoHash = 16;
constexpr qsizetype largoRaiz = 40;

QString RutaLimpia(const QString& ruta)
{
    return QDir::cleanPath(QFileInfo(ruta).absoluteFilePath());
}

quint64 Mezclar(quint64 huella, quint64 valor)
{
    for (int i = 0; i < 8; ++i) {
        huella ^= (valor >> (8 * i)) & 0xFF;
        huella *= 1099511628211ull;
    }
    return huella;
}

} // namespace

quint64 ClaveAviso(quint64 huellaOriginal, quint64 huellaTraduccion, const QString& texto)
{
    quint64 clave = Mezclar(Mezclar(14695981039346656037ull, huellaOriginal), huellaTraduccion);
    for (const QChar c : texto) {
        clave ^= c.unicode();
        clave *= 1099511628211ull;
    }
    return clave;
}

QString AvisosIgnorados::NombreArchivo(const QString& rutaTraduccion)
{
    const QString ruta = RutaLimpia(rutaTraduccion);
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(ruta), QCryptographicHash::Sha256).toHex();
    // Only plain characters from the script's name, so that the name is safe in any shell or listing.
    QString raiz;
    for (const QChar c : QFileInfo(ruta).completeBaseName().left(largoRaiz)) {
        const bool simple = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                            (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        raiz.append(simple ? c : u'_');
    }
    return raiz + u'.' + QString::fromLatin1(hash.left(largoHash)) + extension;
}

AvisosIgnorados AvisosIgnorados::Leer(const QString& carpetaDatos, const QString& rutaTraduccion,
                                      SistemaArchivos& sistema)
{
    AvisosIgnorados avisos;
    avisos.rutaTraduccion_ = RutaLimpia(rutaTraduccion);
    avisos.archivo_ = QDir(carpetaDatos).filePath(carpetaIgnorados + u'/' + NombreArchivo(rutaTraduccion));
    QByteArray datos;
    try {
        datos = LeerArchivo(avisos.archivo_, sistema, maximoIgnorados);
    } catch (const ErrorEjecucion&) {
        return avisos;
    }
    const QList<QByteArray> lineas = datos.split('\n');
    const QByteArray ruta = campoRuta + QFile::encodeName(avisos.rutaTraduccion_).toPercentEncoding("/");
    // The last element is what follows the final line end: nothing, in a whole file.
    if (lineas.size() < 3 || lineas[0] != primeraLinea || lineas[1] != ruta || !lineas.back().isEmpty())
        return avisos;
    QSet<quint64> claves;
    for (qsizetype i = 2; i + 1 < lineas.size(); ++i) {
        bool valida = false;
        const quint64 clave = lineas[i].toULongLong(&valida, 16);
        if (!valida || lineas[i].size() != 16)
            return avisos;
        claves.insert(clave);
    }
    avisos.claves_ = std::move(claves);
    return avisos;
}

void AvisosIgnorados::guardar(SistemaArchivos& sistema) const
{
    if (archivo_.isEmpty())
        return;
    const QString carpeta = QFileInfo(archivo_).path();
    if (!QFileInfo(carpeta).isDir()) {
        if (!QDir().mkpath(carpeta))
            throw ErrorEjecucion(Errores::RutaNoEncontrada);
        QFile::setPermissions(carpeta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QList<quint64> ordenadas(claves_.cbegin(), claves_.cend());
    std::sort(ordenadas.begin(), ordenadas.end());
    QByteArray datos =
        primeraLinea + '\n' + campoRuta + QFile::encodeName(rutaTraduccion_).toPercentEncoding("/") + '\n';
    for (const quint64 clave : ordenadas)
        datos += QByteArray::number(clave, 16).rightJustified(16, '0') + '\n';
    EscribirArchivoAtomico(archivo_, datos, sistema);
}
