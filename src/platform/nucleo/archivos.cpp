// File operations over POSIX calls, so that every failure has its errno and a test can inject one.
#include "archivos.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>

#include "errores.h"
#include "sistema_archivos.h"

namespace {

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

void SincronizarCarpeta(const QString& ruta)
{
    Descriptor carpeta(::open(RutaLocal(QFileInfo(ruta).absolutePath()).constData(), O_RDONLY | O_DIRECTORY));
    if (carpeta.fd() >= 0)
        ::fsync(carpeta.fd());
}

} // namespace

QByteArray LeerArchivo(const QString& ruta, SistemaArchivos& sistema)
{
    const QByteArray local = RutaLocal(ruta);
    Descriptor archivo(sistema.abrir(local.constData(), O_RDONLY, 0));
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
        const ssize_t n = sistema.leer(archivo.fd(), bloque, sizeof bloque);
        if (n < 0)
            throw ErrorDeSistema(errno);
        if (n == 0)
            return contenido;
        contenido.append(bloque, n);
    }
}

void EscribirArchivoAtomico(const QString& ruta, const QByteArray& datos, SistemaArchivos& sistema)
{
    const QByteArray destino = RutaLocal(ruta);
    const QFileInfo info(ruta);
    if (info.isDir())
        throw ErrorEjecucion(Errores::ErrorAccesoRuta);
    const mode_t modo = ModoPara(destino);
    // A name of its own, not derived from the target's: a target whose name is already as long as the
    // file system allows must still be writable.
    QByteArray temporal = RutaLocal(info.absolutePath() + u"/.velarto-XXXXXX");
    const int fd = sistema.crearTemporal(temporal.data());
    if (fd < 0)
        throw ErrorAlAbrir(errno, ruta);
    Descriptor archivo(fd);
    const bool escrito =
        ::fchmod(fd, modo) == 0 && EscribirTodo(sistema, fd, datos.constData(), size_t(datos.size())) &&
        sistema.sincronizar(fd) == 0 && sistema.renombrar(temporal.constData(), destino.constData()) == 0;
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
