// The real operating-system calls of the file layer.
#include "sistema_archivos.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

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

SistemaArchivos& SistemaReal()
{
    static SistemaArchivos real;
    return real;
}
