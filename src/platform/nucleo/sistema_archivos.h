// The operating-system calls the file layer makes, behind an interface: the editor runs on the real
// calls, and a test passes in a fake that makes a chosen call fail.
#pragma once

#include <sys/types.h>

class QString;

class SistemaArchivos
{
public:
    SistemaArchivos() = default;
    virtual ~SistemaArchivos() = default;
    SistemaArchivos(const SistemaArchivos&) = delete;
    SistemaArchivos& operator=(const SistemaArchivos&) = delete;

    // Each is the POSIX call of the same meaning, restarted on EINTR: -1 and errno on failure.
    virtual int abrir(const char* ruta, int banderas, mode_t modo);
    // A new file without a name in `carpeta` (O_TMPFILE), open for writing; -1 where the file system
    // cannot make one.
    virtual int crearSinNombre(const char* carpeta, mode_t modo);
    // Gives a file made by `crearSinNombre` the name `ruta`, which must not exist.
    virtual int enlazar(int fd, const char* ruta);
    // A new temporary file from a mkstemp template, opened for writing; the template gets its name.
    virtual int crearTemporal(char* plantilla);
    virtual ssize_t leer(int fd, char* destino, size_t cantidad);
    virtual ssize_t escribir(int fd, const char* datos, size_t cantidad);
    virtual int sincronizar(int fd);
    virtual int renombrar(const char* desde, const char* hacia);
    // Moves a file or a link to the desktop's trash through Qt's moveToTrash, which chooses the trash;
    // -1 and errno on failure, EXDEV where the only trash it finds is on another file system.
    virtual int moverAPapelera(const QString& ruta);
};

// The real calls. Stateless, so one serves every caller.
SistemaArchivos& SistemaReal();
