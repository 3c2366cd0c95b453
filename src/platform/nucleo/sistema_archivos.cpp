// The real operating-system calls of the file layer.
#include "sistema_archivos.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QStringBuilder>

namespace {

template <typename Llamada> auto Reintentar(Llamada llamada)
{
    auto resultado = llamada();
    while (resultado < 0 && errno == EINTR)
        resultado = llamada();
    return resultado;
}

} // namespace

int SistemaArchivos::abrir(const char* ruta, int banderas, mode_t modo)
{
    return Reintentar([&] { return ::open(ruta, banderas | O_CLOEXEC, modo); });
}

int SistemaArchivos::crearSinNombre(const char* carpeta, mode_t modo)
{
    return Reintentar([&] { return ::open(carpeta, O_TMPFILE | O_WRONLY | O_CLOEXEC, modo); });
}

int SistemaArchivos::enlazar(int fd, const char* ruta)
{
    // Through /proc, which needs no privilege, unlike AT_EMPTY_PATH.
    const QByteArray propio = QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(fd);
    return ::linkat(AT_FDCWD, propio.constData(), AT_FDCWD, ruta, AT_SYMLINK_FOLLOW);
}

int SistemaArchivos::crearTemporal(char* plantilla)
{
    return ::mkostemp(plantilla, O_CLOEXEC);
}

ssize_t SistemaArchivos::leer(int fd, char* destino, size_t cantidad)
{
    return Reintentar([&] { return ::read(fd, destino, cantidad); });
}

ssize_t SistemaArchivos::escribir(int fd, const char* datos, size_t cantidad)
{
    return Reintentar([&] { return ::write(fd, datos, cantidad); });
}

int SistemaArchivos::sincronizar(int fd)
{
    return ::fsync(fd);
}

int SistemaArchivos::renombrar(const char* desde, const char* hacia)
{
    return ::rename(desde, hacia);
}

int SistemaArchivos::moverAPapelera(const QString& ruta)
{
    // Qt keeps only the failure's text; the errno of the call that failed is still there.
    errno = 0;
    if (QFile::moveToTrash(ruta))
        return 0;
    if (errno == 0)
        errno = EIO;
    return -1;
}

SistemaArchivos& SistemaReal()
{
    static SistemaArchivos real;
    return real;
}
