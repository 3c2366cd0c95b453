// File operations over POSIX calls, so that every failure has its errno and a test can inject one.
#include "archivos.h"

#include <cerrno>
#include <csignal>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QStringBuilder>

#include "errores.h"
#include "sistema_archivos.h"

namespace {

// Temporaries are named ".velarto-PID-XXXXXX", so that a later write can tell whose they are.
constexpr QByteArrayView prefijoTemporal = ".velarto-";

QByteArray RutaLocal(const QString& ruta)
{
    return QFile::encodeName(ruta);
}

bool CarpetaDeExiste(const QString& ruta)
{
    return QFileInfo(QFileInfo(ruta).absolutePath()).isDir();
}

// The error for a failed open: ENOENT names the file when its folder exists, the path otherwise.
ErrorEjecucion ErrorAlAbrir(int codigoErrno, const QString& ruta)
{
    if (codigoErrno == ENOENT)
        return ErrorDeSistema(ENOENT, !CarpetaDeExiste(ruta));
    return ErrorDeSistema(codigoErrno);
}

ErrorEjecucion NoEsArchivoNormal(const QString& ruta)
{
    return ErrorEjecucion::ConAviso(
        Errores::ErrorAccesoRuta,
        QStringLiteral("No se puede abrir «%1»: no es un archivo normal.").arg(ruta));
}

ErrorEjecucion DemasiadoGrande(qint64 tamano, qint64 maximo)
{
    return ErrorEjecucion::ConAviso(
        Errores::ErrorAccesoRuta,
        QStringLiteral("El archivo es demasiado grande para abrirlo (%1; como máximo %2 MiB).")
            .arg(TamanoLegible(tamano), QString::number(maximo >> 20)));
}

// A file the editor must leave as it is: its mode gives nobody the right to write it, or this process may
// not write it. The mode bits first, so that root, whom the system lets write anything, respects them too.
bool SoloLectura(const QByteArray& ruta, const struct stat& datos)
{
    return (datos.st_mode & 0222) == 0 || ::access(ruta.constData(), W_OK) != 0;
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

// Closes a descriptor when it leaves scope, on every path.
class Descriptor
{
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// The mode a replacement file gets: the old file's, or the usual one for a new file.
mode_t ModoPara(const QByteArray& ruta)
{
    struct stat datos;
    if (::stat(ruta.constData(), &datos) == 0)
        return datos.st_mode & 07777;
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    return 0666 & ~mascara;
}

void SincronizarCarpeta(const QByteArray& carpeta)
{
    Descriptor fd(::open(carpeta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.fd() >= 0)
        ::fsync(fd.fd());
}

QByteArray NombreTemporal(const QByteArray& carpeta)
{
    return carpeta + '/' + prefijoTemporal.toByteArray() + QByteArray::number(::getpid()) + "-XXXXXX";
}

// Removes the temporaries that a killed editor left in `carpeta`: those whose process is gone.
void QuitarTemporalesHuerfanos(const QByteArray& carpeta)
{
    DIR* dir = ::opendir(carpeta.constData());
    if (!dir)
        return;
    while (const dirent* entrada = ::readdir(dir)) {
        const QByteArrayView nombre(entrada->d_name);
        if (!nombre.startsWith(prefijoTemporal))
            continue;
        const QByteArrayView resto = nombre.sliced(prefijoTemporal.size());
        bool numero = false;
        const qsizetype guion = resto.indexOf('-');
        const pid_t pid = pid_t(resto.first(guion < 0 ? 0 : guion).toInt(&numero));
        if (numero && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(dir), entrada->d_name, 0);
    }
    ::closedir(dir);
}

// Writes, syncs and names the temporary; false with errno set on failure, with nothing left behind.
bool EscribirTemporal(SistemaArchivos& sistema, const QByteArray& carpeta, mode_t modo,
                      const QByteArray& datos, QByteArray& temporal)
{
    temporal = NombreTemporal(carpeta);
    bool sinNombre = true;
    int fd = sistema.crearSinNombre(carpeta.constData(), modo);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        sinNombre = false;
        fd = sistema.crearTemporal(temporal.data());
    }
    if (fd < 0)
        return false;
    Descriptor archivo(fd);
    bool bien = ::fchmod(fd, modo) == 0 &&
                EscribirTodo(sistema, fd, datos.constData(), size_t(datos.size())) &&
                sistema.sincronizar(fd) == 0;
    if (bien && sinNombre) {
        // A name of its own only now, complete: a kill before this leaves nothing behind.
        do {
            temporal = NombreTemporal(carpeta);
            const int unico = ::mkstemp(temporal.data());
            if (unico < 0) {
                bien = false;
                break;
            }
            ::close(unico);
            ::unlink(temporal.constData());
            bien = sistema.enlazar(fd, temporal.constData()) == 0;
        } while (!bien && errno == EEXIST);
    }
    if (!bien && !sinNombre) {
        const int codigo = errno;
        ::unlink(temporal.constData());
        errno = codigo;
    }
    return bien;
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

// Makes a folder and the missing ones above it, each readable by its owner only.
bool CrearCarpetaPrivada(const QString& ruta)
{
    if (QFileInfo(ruta).isDir())
        return true;
    const QString padre = QFileInfo(ruta).path();
    if (padre == ruta || !CrearCarpetaPrivada(padre))
        return false;
    return ::mkdir(RutaLocal(ruta).constData(), 0700) == 0 || QFileInfo(ruta).isDir();
}

// Qt 6.4 moves a file into "files" of the current folder when it cannot make the user's trash, as on an
// account without ~/.local/share; so the trash is made first, as the desktop's rules ask, and without it
// nothing is moved.
bool PrepararPapelera()
{
    const QString papelera = PapeleraDelUsuario();
    return !papelera.isEmpty() && CrearCarpetaPrivada(papelera);
}

} // namespace

QByteArray LeerArchivo(const QString& ruta, SistemaArchivos& sistema, qint64 maximo)
{
    QByteArray contenido;
    RecorrerArchivo(
        ruta, [&](qint64 tamano) { contenido.reserve(static_cast<qsizetype>(tamano)); },
        [&](QByteArrayView bloque) {
            contenido.append(bloque);
            return true;
        },
        sistema, maximo);
    return contenido;
}

void RecorrerArchivo(const QString& ruta, const std::function<void(qint64)>& alAbrir,
                     const std::function<bool(QByteArrayView)>& bloque, SistemaArchivos& sistema,
                     qint64 maximo)
{
    const QByteArray local = RutaLocal(ruta);
    // Non-blocking, so that a pipe or a device cannot hold the window before it is seen for what it is.
    Descriptor archivo(sistema.abrir(local.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY, 0));
    if (archivo.fd() < 0)
        throw ErrorAlAbrir(errno, ruta);
    struct stat datos;
    if (::fstat(archivo.fd(), &datos) != 0)
        throw ErrorDeSistema(errno);
    if (S_ISDIR(datos.st_mode))
        throw ErrorEjecucion(Errores::ErrorAccesoRuta);
    if (!S_ISREG(datos.st_mode))
        throw NoEsArchivoNormal(ruta);
    if (datos.st_size > maximo)
        throw DemasiadoGrande(datos.st_size, maximo);
    if (alAbrir)
        alAbrir(datos.st_size);
    qint64 leidos = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = sistema.leer(archivo.fd(), buffer, sizeof buffer);
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

void ComprobarReemplazable(const QString& ruta, qint64 maximo)
{
    struct stat datos;
    if (::stat(RutaLocal(ruta).constData(), &datos) != 0)
        return;
    if (!S_ISREG(datos.st_mode) || SoloLectura(RutaLocal(ruta), datos) || datos.st_size > maximo)
        throw ErrorEjecucion(Errores::ErrorAccesoRuta);
}

void EscribirArchivoAtomico(const QString& ruta, const QByteArray& datos, SistemaArchivos& sistema)
{
    const QByteArray destino = RutaLocal(ruta);
    ComprobarReemplazable(ruta);
    const QByteArray carpeta = RutaLocal(QFileInfo(ruta).absolutePath());
    QuitarTemporalesHuerfanos(carpeta);
    QByteArray temporal;
    if (!EscribirTemporal(sistema, carpeta, ModoPara(destino), datos, temporal))
        throw ErrorAlAbrir(errno, ruta);
    if (sistema.renombrar(temporal.constData(), destino.constData()) != 0) {
        const int codigo = errno;
        ::unlink(temporal.constData());
        throw ErrorDeSistema(codigo);
    }
    SincronizarCarpeta(carpeta);
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
    if (!PrepararPapelera())
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
