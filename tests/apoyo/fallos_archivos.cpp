#include "fallos_archivos.h"

#include <cerrno>
#include <utility>

void FallosArchivos::programar(OperacionArchivo operacion, int enesima, int codigoErrno)
{
    programados_[size_t(operacion)] = {enesima, codigoErrno};
}

bool FallosArchivos::falla(OperacionArchivo operacion)
{
    Programado& p = programados_[size_t(operacion)];
    if (p.restantes == 0 || --p.restantes > 0)
        return false;
    errno = p.codigoErrno;
    return true;
}

int FallosArchivos::abrir(const char* ruta, int banderas, mode_t modo)
{
    return falla(OperacionArchivo::Abrir) ? -1 : SistemaArchivos::abrir(ruta, banderas, modo);
}

int FallosArchivos::crearSinNombre(const char* carpeta, mode_t modo)
{
    return falla(OperacionArchivo::Abrir) ? -1 : SistemaArchivos::crearSinNombre(carpeta, modo);
}

int FallosArchivos::crearTemporal(char* plantilla)
{
    return falla(OperacionArchivo::Abrir) ? -1 : SistemaArchivos::crearTemporal(plantilla);
}

ssize_t FallosArchivos::leer(int fd, char* destino, size_t cantidad)
{
    return falla(OperacionArchivo::Leer) ? -1 : SistemaArchivos::leer(fd, destino, cantidad);
}

ssize_t FallosArchivos::escribir(int fd, const char* datos, size_t cantidad)
{
    if (falla(OperacionArchivo::Escribir))
        return -1;
    if (!aMitadDeEscribir || cantidad < minimo || cantidad < 2)
        return SistemaArchivos::escribir(fd, datos, cantidad);
    // A short write of the first half: the caller writes the rest after the hook has run.
    const ssize_t n = SistemaArchivos::escribir(fd, datos, cantidad / 2);
    if (n > 0)
        std::exchange(aMitadDeEscribir, {})();
    return n;
}

int FallosArchivos::sincronizar(int fd)
{
    return falla(OperacionArchivo::Sincronizar) ? -1 : SistemaArchivos::sincronizar(fd);
}

int FallosArchivos::renombrar(const char* desde, const char* hacia)
{
    return falla(OperacionArchivo::Renombrar) ? -1 : SistemaArchivos::renombrar(desde, hacia);
}

int FallosArchivos::moverAPapelera(const QString& ruta)
{
    return falla(OperacionArchivo::Papelera) ? -1 : SistemaArchivos::moverAPapelera(ruta);
}
