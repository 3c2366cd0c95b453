// What the reading and the writing halves of the file layer share: descriptors, the errors a failed open
// raises, whole-file reads and writes over `SistemaArchivos`, and the record of a file.
#pragma once

#include <utility>

#include <sys/stat.h>

#include <QByteArray>
#include <QString>

#include "archivos.h"
#include "errores.h"

namespace archivos {

QByteArray RutaLocal(const QString& ruta);

// Closes a descriptor when it leaves scope, on every path.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor();
    Descriptor(Descriptor&& otro) noexcept : fd_(std::exchange(otro.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& otro) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// The error for a failed open: ENOENT names the file when its folder exists, the path otherwise; a loop
// of links is no regular file.
ErrorEjecucion ErrorAlAbrir(int codigoErrno, const QString& ruta);
ErrorEjecucion NoEsArchivoNormal(const QString& ruta);

// A file the editor must leave as it is: its mode gives nobody the right to write it, or this process may
// not write it.
bool SoloLectura(const QByteArray& ruta, const struct stat& datos);

// ComprobarReemplazable on a local path.
void ComprobarReemplazableEn(const QByteArray& local, qint64 maximo = maximoArchivo);

// Opens a regular file without blocking, whatever is at `local`; raises LeerArchivo's errors.
Descriptor AbrirNormal(const QByteArray& local, const QString& ruta, SistemaArchivos& sistema, int banderas,
                       struct stat& datos);
// Gives `bloque` what the descriptor reads from its position, a block at a time, until the end or until
// it returns false; more than `maximo` bytes is error 75 with a message of its own, a failed read its
// system error.
void RecorrerDescriptor(SistemaArchivos& sistema, int fd, qint64 maximo,
                        const std::function<bool(QByteArrayView)>& bloque);
// Everything from the descriptor's position to the end, at most `maximo` bytes; room for `reserva` is
// taken at once.
QByteArray LeerTodo(SistemaArchivos& sistema, int fd, qint64 maximo, qint64 reserva,
                    std::stop_token parar = {});
// False, with errno set, when a write fails.
bool EscribirTodo(SistemaArchivos& sistema, int fd, const char* datos, size_t cantidad);

// The digest of a file's bytes, fed a piece at a time: the same bytes give the same digest however they
// are cut, so a file written or read in stretches is told apart as one held whole would be.
class ResumenBytes final
{
public:
    void Anadir(QByteArrayView bytes);
    size_t valor() const;

private:
    static constexpr qsizetype bloque = qsizetype(1) << 16;
    QByteArray pendiente_;
    size_t valor_ = 0;
};

HuellaArchivo HuellaDe(const struct stat& datos, size_t resumen);
HuellaArchivo HuellaDe(const struct stat& datos, QByteArrayView contenido);

} // namespace archivos
