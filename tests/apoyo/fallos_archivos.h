// A file system for tests: the real calls, except that the n-th call of a chosen kind fails with a
// chosen errno, and a hook runs once a write has put part of its bytes on disk.
#pragma once

#include <array>
#include <functional>

#include "sistema_archivos.h"

enum class OperacionArchivo { Abrir, Leer, Escribir, Sincronizar, Renombrar, Papelera };

class FallosArchivos final : public SistemaArchivos
{
public:
    // Makes the n-th call (counting from 1, from now on) of `operacion` fail with `codigoErrno`.
    void programar(OperacionArchivo operacion, int enesima, int codigoErrno);

    // Runs after the first half of a write of at least `minimo` bytes has reached the file, before the rest.
    std::function<void()> aMitadDeEscribir;
    size_t minimo = 0;

    int abrir(const char* ruta, int banderas, mode_t modo) override;
    int crearSinNombre(const char* carpeta, mode_t modo) override;
    int crearTemporal(char* plantilla) override;
    ssize_t leer(int fd, char* destino, size_t cantidad) override;
    ssize_t escribir(int fd, const char* datos, size_t cantidad) override;
    int sincronizar(int fd) override;
    int renombrar(const char* desde, const char* hacia) override;
    int moverAPapelera(const QString& ruta) override;

private:
    // True, with errno set, when this call is the one to fail.
    bool falla(OperacionArchivo operacion);

    struct Programado
    {
        int restantes = 0; // calls still to pass before the failing one; 0: none scheduled
        int codigoErrno = 0;
    };
    std::array<Programado, 6> programados_{};
};
