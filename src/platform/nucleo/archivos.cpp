// File operations over POSIX calls, so that every failure has its errno and a test can inject one:
// reading, the record of what was read, deletion and folders. Writing is in escritura_archivos.cpp.
#include "archivos.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QStandardPaths>
#include <QStringBuilder>

#include "archivos_internos.h"
#include "errores.h"
#include "sistema_archivos.h"

namespace archivos {

QByteArray RutaLocal(const QString& ruta)
{
    return QFile::encodeName(ruta);
}

Descriptor::~Descriptor()
{
    if (fd_ >= 0)
        ::close(fd_);
}

Descriptor& Descriptor::operator=(Descriptor&& otro) noexcept
{
    if (this != &otro) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(otro.fd_, -1);
    }
    return *this;
}

ErrorEjecucion NoEsArchivoNormal(const QString& ruta)
{
    return ErrorEjecucion::ConAviso(
        Errores::ErrorAccesoRuta,
        QStringLiteral("No se puede abrir «%1»: no es un archivo normal.").arg(ruta));
}

ErrorEjecucion ErrorAlAbrir(int codigoErrno, const QString& ruta)
{
    if (codigoErrno == ELOOP)
        return NoEsArchivoNormal(ruta);
    if (codigoErrno == ENOENT)
        return ErrorDeSistema(ENOENT, !QFileInfo(QFileInfo(ruta).absolutePath()).isDir());
    return ErrorDeSistema(codigoErrno);
}

// The mode bits first, so that root, whom the system lets write anything, respects them too.
bool SoloLectura(const QByteArray& ruta, const struct stat& datos)
{
    return (datos.st_mode & 0222) == 0 || ::access(ruta.constData(), W_OK) != 0;
}

Descriptor AbrirNormal(const QByteArray& local, const QString& ruta, SistemaArchivos& sistema, int banderas,
                       struct stat& datos)
{
    // Non-blocking, so that a pipe or a device cannot hold the window before it is seen for what it is.
    Descriptor archivo(sistema.abrir(local.constData(), banderas | O_NONBLOCK | O_NOCTTY, 0));
    if (archivo.fd() < 0)
        throw ErrorAlAbrir(errno, ruta);
    if (::fstat(archivo.fd(), &datos) != 0)
        throw ErrorDeSistema(errno);
    if (S_ISDIR(datos.st_mode))
        throw ErrorEjecucion(Errores::ErrorAccesoRuta);
    if (!S_ISREG(datos.st_mode))
        throw NoEsArchivoNormal(ruta);
    return archivo;
}

namespace {

ErrorEjecucion DemasiadoGrande(qint64 tamano, qint64 maximo)
{
    return ErrorEjecucion::ConAviso(
        Errores::ErrorAccesoRuta,
        QStringLiteral("El archivo es demasiado grande para abrirlo (%1; como máximo %2 MiB).")
            .arg(TamanoLegible(tamano), QString::number(maximo >> 20)));
}

qint64 Nanosegundos(const timespec& momento)
{
    return qint64(momento.tv_sec) * 1'000'000'000 + momento.tv_nsec;
}

qint64 Ahora()
{
    timespec ahora;
    ::clock_gettime(CLOCK_REALTIME, &ahora);
    return Nanosegundos(ahora);
}

// A change time this close to when the record was taken may share its clock tick with a later write
// of the same size: only the bytes can tell then.
constexpr qint64 nsMargenReloj = 2'000'000'000;

bool MismoArchivoSinCambios(const struct stat& datos, const HuellaArchivo& huella)
{
    return quint64(datos.st_dev) == huella.dispositivo && quint64(datos.st_ino) == huella.nodo &&
           Nanosegundos(datos.st_mtim) == huella.modificacion &&
           Nanosegundos(datos.st_ctim) == huella.cambio && huella.cambio + nsMargenReloj <= huella.tomada;
}

// What deletion refuses, to the trash or for good: a missing file (53), anything but a regular file or a
// link (53), a read-only file (75).
void ComprobarEliminable(const QString& ruta)
{
    struct stat datos;
    if (::lstat(RutaLocal(ruta).constData(), &datos) != 0)
        throw ErrorAlAbrir(errno, ruta);
    if (!S_ISREG(datos.st_mode) && !S_ISLNK(datos.st_mode))
        throw ErrorEjecucion(Errores::ArchivoNoEncontrado);
    ComprobarNoProtegido(ruta);
}

// Qt 6.4 moves a file into "files" of the current folder when it cannot make the user's trash, as on an
// account without ~/.local/share; so the trash is made first, as the desktop's rules ask, and without it
// nothing is moved.
bool PrepararPapelera()
{
    const QString papelera = PapeleraDelUsuario();
    if (papelera.isEmpty())
        return false;
    try {
        ::CrearCarpetaPrivada(papelera);
        return true;
    } catch (const ErrorEjecucion&) {
        return false;
    }
}

// Qt 6.4 tries one name after another for the trash's information file until one can be made, without end
// when none can: for a file whose name leaves no room for the information file's ending, or with an
// information folder this process cannot write. Such a file is not given to it.
bool PapeleraPuedeTomar(const QString& ruta)
{
    const QString info = QDir(PapeleraDelUsuario()).filePath(QStringLiteral("info"));
    if (QFileInfo(info).isDir() && ::access(RutaLocal(info).constData(), W_OK | X_OK) != 0)
        return false;
    // "name", else "name-0001" and on, and the information file adds ".trashinfo".
    constexpr qsizetype anadidos = sizeof("-0001.trashinfo") - 1;
    return QFile::encodeName(QFileInfo(ruta).fileName()).size() + anadidos <= NAME_MAX;
}

} // namespace

void ComprobarReemplazableEn(const QByteArray& local, qint64 maximo)
{
    struct stat datos;
    if (::stat(local.constData(), &datos) != 0) {
        if (errno == ELOOP)
            throw NoEsArchivoNormal(QFile::decodeName(local));
        return;
    }
    if (!S_ISREG(datos.st_mode) || SoloLectura(local, datos) || datos.st_size > maximo)
        throw ErrorEjecucion(Errores::ErrorAccesoRuta);
}

void RecorrerDescriptor(SistemaArchivos& sistema, int fd, qint64 maximo,
                        const std::function<bool(QByteArrayView)>& bloque)
{
    qint64 leidos = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = sistema.leer(fd, buffer, sizeof buffer);
        if (n < 0)
            throw ErrorDeSistema(errno);
        if (n == 0)
            return;
        // The file may grow while it is read: what is read stays within the bound all the same.
        if (leidos + n > maximo)
            throw DemasiadoGrande(leidos + n, maximo);
        leidos += n;
        if (!bloque(QByteArrayView(buffer, n)))
            return;
    }
}

QByteArray LeerTodo(SistemaArchivos& sistema, int fd, qint64 maximo, qint64 reserva, std::stop_token parar)
{
    QByteArray contenido;
    contenido.reserve(static_cast<qsizetype>(std::min(reserva, maximo)));
    if (parar.stop_requested())
        return contenido;
    RecorrerDescriptor(sistema, fd, maximo, [&](QByteArrayView bloque) {
        contenido.append(bloque);
        return !parar.stop_requested();
    });
    return contenido;
}

bool EscribirTodo(SistemaArchivos& sistema, int fd, const char* datos, size_t cantidad)
{
    while (cantidad > 0) {
        const ssize_t n = sistema.escribir(fd, datos, cantidad);
        if (n <= 0)
            return false;
        datos += n;
        cantidad -= static_cast<size_t>(n);
    }
    return true;
}

void ResumenBytes::Anadir(QByteArrayView bytes)
{
    if (!pendiente_.isEmpty()) {
        const qsizetype faltan = std::min(bloque - pendiente_.size(), bytes.size());
        pendiente_.append(bytes.first(faltan));
        bytes = bytes.sliced(faltan);
        if (pendiente_.size() < bloque)
            return;
        valor_ = qHashBits(pendiente_.constData(), size_t(bloque), valor_);
        pendiente_.resize(0);
    }
    for (; bytes.size() >= bloque; bytes = bytes.sliced(bloque))
        valor_ = qHashBits(bytes.constData(), size_t(bloque), valor_);
    pendiente_.append(bytes);
}

size_t ResumenBytes::valor() const
{
    return qHashBits(pendiente_.constData(), size_t(pendiente_.size()), valor_);
}

HuellaArchivo HuellaDe(const struct stat& datos, QByteArrayView contenido)
{
    ResumenBytes resumen;
    resumen.Anadir(contenido);
    return HuellaDe(datos, resumen.valor());
}

HuellaArchivo HuellaDe(const struct stat& datos, size_t resumen)
{
    HuellaArchivo huella;
    huella.existe = true;
    huella.dispositivo = quint64(datos.st_dev);
    huella.nodo = quint64(datos.st_ino);
    huella.tamano = datos.st_size;
    huella.modificacion = Nanosegundos(datos.st_mtim);
    huella.cambio = Nanosegundos(datos.st_ctim);
    huella.tomada = Ahora();
    huella.resumen = resumen;
    return huella;
}

} // namespace archivos

using namespace archivos;

QByteArray LeerArchivo(const QString& ruta, SistemaArchivos& sistema, qint64 maximo, HuellaArchivo* huella,
                       std::stop_token parar)
{
    if (huella)
        *huella = {};
    struct stat datos;
    const Descriptor archivo = AbrirNormal(RutaLocal(ruta), ruta, sistema, O_RDONLY, datos);
    if (datos.st_size > maximo)
        throw DemasiadoGrande(datos.st_size, maximo);
    const QByteArray contenido = LeerTodo(sistema, archivo.fd(), maximo, datos.st_size, std::move(parar));
    // The state before the read: a write during it leaves a record that no longer matches the file.
    if (huella)
        *huella = HuellaDe(datos, contenido);
    return contenido;
}

void RecorrerArchivo(const QString& ruta, const std::function<void(qint64)>& alAbrir,
                     const std::function<bool(QByteArrayView)>& bloque, SistemaArchivos& sistema,
                     qint64 maximo)
{
    struct stat datos;
    const Descriptor archivo = AbrirNormal(RutaLocal(ruta), ruta, sistema, O_RDONLY, datos);
    if (datos.st_size > maximo)
        throw DemasiadoGrande(datos.st_size, maximo);
    if (alAbrir)
        alAbrir(datos.st_size);
    RecorrerDescriptor(sistema, archivo.fd(), maximo, bloque);
}

bool HaCambiado(const QString& ruta, const HuellaArchivo& huella, SistemaArchivos& sistema)
{
    struct stat datos;
    Descriptor archivo;
    try {
        archivo = AbrirNormal(RutaLocal(ruta), ruta, sistema, O_RDONLY, datos);
    } catch (const ErrorEjecucion& error) {
        const bool falta =
            error.numero() == Errores::ArchivoNoEncontrado || error.numero() == Errores::RutaNoEncontrada;
        return !(falta && !huella.existe);
    }
    if (!huella.existe || datos.st_size != huella.tamano)
        return true;
    if (MismoArchivoSinCambios(datos, huella))
        return false;
    // Read a block at a time: a long translation saved moments ago is not held whole once more. A file
    // that grew meanwhile, or cannot be read, has changed.
    ResumenBytes resumen;
    qint64 leidos = 0;
    try {
        RecorrerDescriptor(sistema, archivo.fd(), huella.tamano, [&](QByteArrayView bloque) {
            resumen.Anadir(bloque);
            leidos += bloque.size();
            return true;
        });
    } catch (const ErrorEjecucion&) {
        return true;
    }
    return leidos != huella.tamano || resumen.valor() != huella.resumen;
}

void ComprobarCarpetaLegible(const QString& carpeta, SistemaArchivos& sistema)
{
    const Descriptor fd(
        sistema.abrir(RutaLocal(carpeta).constData(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC, 0));
    if (fd.fd() < 0)
        throw ErrorDeSistema(errno, true);
}

void ComprobarReemplazable(const QString& ruta, qint64 maximo)
{
    ComprobarReemplazableEn(RutaLocal(ruta), maximo);
}

void EliminarArchivo(const QString& ruta)
{
    ComprobarEliminable(ruta);
    if (::unlink(RutaLocal(ruta).constData()) != 0)
        throw ErrorDeSistema(errno);
}

QString PapeleraDelUsuario()
{
    const QString datos = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return datos.isEmpty() ? QString() : QDir(datos).filePath(QStringLiteral("Trash"));
}

ResultadoPapelera MoverAPapelera(const QString& ruta, SistemaArchivos& sistema)
{
    ComprobarEliminable(ruta);
    if (!PrepararPapelera() || !PapeleraPuedeTomar(ruta))
        return ResultadoPapelera::SinPapelera;
    if (sistema.moverAPapelera(ruta) == 0)
        return ResultadoPapelera::EnPapelera;
    if (errno == EXDEV)
        return ResultadoPapelera::SinPapelera;
    throw ErrorAlAbrir(errno, ruta);
}

void ComprobarNoProtegido(const QString& ruta)
{
    const QByteArray local = RutaLocal(ruta);
    struct stat datos;
    if (::lstat(local.constData(), &datos) == 0 && S_ISREG(datos.st_mode) && SoloLectura(local, datos))
        throw ErrorEjecucion(Errores::ErrorAccesoRuta);
}

void CrearCarpeta(const QString& ruta)
{
    if (::mkdir(RutaLocal(ruta).constData(), 0777) != 0)
        throw ErrorDeSistema(errno, true);
}

QString TamanoLegible(qint64 bytes)
{
    const QLocale espanol(QLocale::Spanish, QLocale::Spain);
    if (bytes >= (qint64(1) << 30))
        return espanol.toString(double(bytes) / double(qint64(1) << 30), 'f', 1) + u" GiB";
    if (bytes >= (qint64(1) << 20))
        return espanol.toString(double(bytes) / double(qint64(1) << 20), 'f', 1) + u" MiB";
    return espanol.toString(bytes) + u" bytes";
}

void CrearCarpetaPrivada(const QString& carpeta)
{
    const QString limpia = QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath());
    struct stat datos;
    if (::stat(QFile::encodeName(limpia).constData(), &datos) == 0 && S_ISDIR(datos.st_mode)) {
        if ((datos.st_mode & 077) != 0 && datos.st_uid == ::geteuid())
            ::chmod(QFile::encodeName(limpia).constData(), 0700);
        return;
    }
    qsizetype desde = 1;
    for (;;) {
        const qsizetype barra = limpia.indexOf(u'/', desde);
        const QString tramo = barra < 0 ? limpia : limpia.left(barra);
        const QByteArray local = QFile::encodeName(tramo);
        if (::mkdir(local.constData(), 0700) != 0) {
            const int codigo = errno;
            if (codigo != EEXIST || ::stat(local.constData(), &datos) != 0 || !S_ISDIR(datos.st_mode))
                throw ErrorDeSistema(codigo == EEXIST ? ENOTDIR : codigo, true);
        }
        if (barra < 0)
            return;
        desde = barra + 1;
    }
}

QStringList ArchivosScript(const QString& carpeta)
{
    QDir dir(carpeta);
    dir.setNameFilters({QStringLiteral("*.txt")});
    // Name filters match ignoring case; hidden files are left out unless asked for.
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::NoSort);
    QStringList nombres = dir.entryList();
    // Links are listed only when they lead to a regular file: a pipe or a device is no script.
    nombres.removeIf([&](const QString& nombre) { return !QFileInfo(dir.filePath(nombre)).isFile(); });
    std::sort(nombres.begin(), nombres.end(), [&](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return nombres;
}
