// File operations over POSIX calls, so that every failure has its errno and a test can inject one.
#include "archivos.h"

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>

#include "errores.h"

namespace {

struct FalloProgramado
{
    int restantes = 0; // calls still to pass before the failing one; 0 means none scheduled
    int codigoErrno = 0;
};

std::array<FalloProgramado, 5> fallos;

// Returns the errno to fail with, or 0 to run the operation.
int FalloPara(OperacionArchivo operacion)
{
    FalloProgramado& f = fallos[static_cast<size_t>(operacion)];
    if (f.restantes == 0 || --f.restantes > 0)
        return 0;
    return f.codigoErrno;
}

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

int Abrir(const QByteArray& ruta, int banderas, mode_t modo = 0)
{
    if (int e = FalloPara(OperacionArchivo::Abrir)) {
        errno = e;
        return -1;
    }
    int fd;
    do
        fd = ::open(ruta.constData(), banderas | O_CLOEXEC, modo);
    while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t Leer(int fd, char* destino, size_t cantidad)
{
    if (int e = FalloPara(OperacionArchivo::Leer)) {
        errno = e;
        return -1;
    }
    ssize_t n;
    do
        n = ::read(fd, destino, cantidad);
    while (n < 0 && errno == EINTR);
    return n;
}

bool EscribirTodo(int fd, const char* datos, size_t cantidad)
{
    while (cantidad > 0) {
        if (int e = FalloPara(OperacionArchivo::Escribir)) {
            errno = e;
            return false;
        }
        const ssize_t n = ::write(fd, datos, cantidad);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        datos += n;
        cantidad -= static_cast<size_t>(n);
    }
    return true;
}

bool Vaciar(int fd)
{
    if (int e = FalloPara(OperacionArchivo::Vaciar)) {
        errno = e;
        return false;
    }
    return ::fsync(fd) == 0;
}

bool Renombrar(const QByteArray& desde, const QByteArray& hacia)
{
    if (int e = FalloPara(OperacionArchivo::Renombrar)) {
        errno = e;
        return false;
    }
    return ::rename(desde.constData(), hacia.constData()) == 0;
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

void SincronizarCarpeta(const QString& ruta)
{
    Descriptor carpeta(::open(RutaLocal(QFileInfo(ruta).absolutePath()).constData(), O_RDONLY | O_DIRECTORY));
    if (carpeta.fd() >= 0)
        ::fsync(carpeta.fd());
}

} // namespace

QByteArray LeerArchivo(const QString& ruta)
{
    const QByteArray local = RutaLocal(ruta);
    Descriptor archivo(Abrir(local, O_RDONLY));
    if (archivo.fd() < 0)
        throw ErrorAlAbrir(errno, ruta);
    struct stat datos;
    if (::fstat(archivo.fd(), &datos) != 0)
        throw ErrorDeSistema(errno);
    if (S_ISDIR(datos.st_mode))
        throw ErrorEjecucion(Errores::ErrorAccesoRuta);
    QByteArray contenido;
    contenido.reserve(static_cast<qsizetype>(datos.st_size));
    char bloque[1 << 16];
    for (;;) {
        const ssize_t n = Leer(archivo.fd(), bloque, sizeof bloque);
        if (n < 0)
            throw ErrorDeSistema(errno);
        if (n == 0)
            return contenido;
        contenido.append(bloque, n);
    }
}

void EscribirArchivoAtomico(const QString& ruta, const QByteArray& datos)
{
    const QByteArray destino = RutaLocal(ruta);
    const QFileInfo info(ruta);
    if (info.isDir())
        throw ErrorEjecucion(Errores::ErrorAccesoRuta);
    const mode_t modo = ModoPara(destino);
    // A name of its own, not derived from the target's: a target whose name is already as long as the
    // file system allows must still be writable.
    QByteArray temporal = RutaLocal(info.absolutePath() + u"/.velarto-XXXXXX");
    int fd;
    if (int e = FalloPara(OperacionArchivo::Abrir)) {
        errno = e;
        fd = -1;
    } else {
        fd = ::mkostemp(temporal.data(), O_CLOEXEC);
    }
    if (fd < 0)
        throw ErrorAlAbrir(errno, ruta);
    Descriptor archivo(fd);
    const bool escrito = ::fchmod(fd, modo) == 0 &&
                         EscribirTodo(fd, datos.constData(), size_t(datos.size())) && Vaciar(fd) &&
                         Renombrar(temporal, destino);
    if (!escrito) {
        const int codigo = errno;
        ::unlink(temporal.constData());
        throw ErrorDeSistema(codigo);
    }
    SincronizarCarpeta(ruta);
}

void EliminarArchivo(const QString& ruta)
{
    const QByteArray local = RutaLocal(ruta);
    struct stat datos;
    if (::lstat(local.constData(), &datos) != 0)
        throw ErrorAlAbrir(errno, ruta);
    if (!S_ISREG(datos.st_mode) && !S_ISLNK(datos.st_mode))
        throw ErrorEjecucion(Errores::ArchivoNoEncontrado);
    if (::unlink(local.constData()) != 0)
        throw ErrorDeSistema(errno);
}

void CrearCarpeta(const QString& ruta)
{
    if (::mkdir(RutaLocal(ruta).constData(), 0777) != 0)
        throw ErrorDeSistema(errno, true);
}

void ProgramarFallo(OperacionArchivo operacion, int enesima, int codigoErrno)
{
    fallos[static_cast<size_t>(operacion)] = {enesima, codigoErrno};
}

void QuitarFallos()
{
    fallos.fill({});
}
