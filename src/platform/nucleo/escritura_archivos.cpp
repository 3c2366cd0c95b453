// Writing files: the atomic replacement through a temporary file, the write in place, the target a link
// leads to, the owner and mode kept, and the temporaries that killed editors left behind.
#include "archivos.h"

#include <cerrno>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QList>

#include "archivos_internos.h"
#include "errores.h"
#include "proceso.h"
#include "sistema_archivos.h"

using namespace archivos;

namespace {

// Temporaries are named ".velarto-<identity of the process>-XXXXXX", so that a later write can tell
// whose they are and whether that editor is gone. Earlier versions wrote ".velarto-<pid>-XXXXXX".
constexpr QByteArrayView prefijoTemporal = ".velarto-";
// How long a temporary of another boot or machine may still belong to a write under way.
constexpr qint64 segundosTemporalAjeno = 24 * 3600;
// As many links as the system itself follows before it gives up with ELOOP.
constexpr int maximoSaltos = 40;

QByteArray CarpetaDe(const QByteArray& ruta)
{
    const qsizetype barra = ruta.lastIndexOf('/');
    if (barra < 0)
        return QByteArrayLiteral(".");
    return barra == 0 ? QByteArrayLiteral("/") : ruta.left(barra);
}

// The file a write to `ruta` replaces: the end of its chain of symbolic links (which need not exist
// yet). A loop of links is no regular file.
QByteArray DestinoReal(const QString& ruta)
{
    QByteArray destino = RutaLocal(QFileInfo(ruta).absoluteFilePath());
    for (int saltos = 0;; ++saltos) {
        struct stat datos;
        if (::lstat(destino.constData(), &datos) != 0) {
            if (errno == ENOENT)
                return destino;
            throw ErrorAlAbrir(errno, ruta);
        }
        if (!S_ISLNK(datos.st_mode))
            return destino;
        if (saltos == maximoSaltos)
            throw NoEsArchivoNormal(ruta);
        QByteArray enlace(qsizetype(datos.st_size > 0 ? datos.st_size : 4095) + 1, Qt::Uninitialized);
        const ssize_t largo = ::readlink(destino.constData(), enlace.data(), size_t(enlace.size()));
        if (largo < 0)
            throw ErrorAlAbrir(errno, ruta);
        enlace.truncate(largo);
        destino = enlace.startsWith('/') ? enlace : CarpetaDe(destino) + '/' + enlace;
    }
}

// The mode a new file gets: the usual one for a file this process creates.
mode_t ModoNuevo()
{
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    return 0666 & ~mascara;
}

bool EnMisGrupos(gid_t grupo)
{
    if (grupo == ::getegid())
        return true;
    const int cuantos = ::getgroups(0, nullptr);
    QList<gid_t> grupos(cuantos > 0 ? cuantos : 0);
    return cuantos > 0 && ::getgroups(cuantos, grupos.data()) == cuantos && grupos.contains(grupo);
}

// Whether a file this process creates can be given the owner and group of `datos`.
bool PuedeConservarDueno(const struct stat& datos)
{
    return ::geteuid() == 0 || (datos.st_uid == ::geteuid() && EnMisGrupos(datos.st_gid));
}

// Gives the new file the replaced one's owner and group as far as the system allows, then its mode:
// a change of owner takes the set-user and set-group bits away.
bool ConservarDuenoYModo(int fd, const struct stat* anterior)
{
    if (!anterior)
        return ::fchmod(fd, ModoNuevo()) == 0;
    // Where the owner cannot be given, the group at least; otherwise the file stays this process's.
    [[maybe_unused]] const bool dado = ::fchown(fd, anterior->st_uid, anterior->st_gid) == 0 ||
                                       ::fchown(fd, uid_t(-1), anterior->st_gid) == 0;
    return ::fchmod(fd, anterior->st_mode & 07777) == 0;
}

void SincronizarCarpeta(const QByteArray& carpeta)
{
    const Descriptor fd(::open(carpeta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.fd() >= 0)
        ::fsync(fd.fd());
}

QByteArray NombreTemporal(const QByteArray& carpeta)
{
    return carpeta + '/' + prefijoTemporal.toByteArray() + EsteProceso().texto() + "-XXXXXX";
}

// The six characters mkstemp puts at the end of a name.
bool EsSufijoTemporal(QByteArrayView sufijo)
{
    if (sufijo.size() != 6)
        return false;
    for (const char c : sufijo) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

bool EsTemporalAbandonado(int carpeta, const char* nombre)
{
    const QByteArrayView completo(nombre);
    if (!completo.startsWith(prefijoTemporal))
        return false;
    const QByteArrayView resto = completo.sliced(prefijoTemporal.size());
    const qsizetype guion = resto.lastIndexOf('-');
    if (guion < 0 || !EsSufijoTemporal(resto.sliced(guion + 1)))
        return false;
    struct stat datos;
    if (::fstatat(carpeta, nombre, &datos, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(datos.st_mode))
        return false;
    const QByteArrayView dueno = resto.first(guion);
    if (const std::optional<IdentidadProceso> escritor = IdentidadProceso::DeTexto(dueno)) {
        switch (EstadoDe(*escritor)) {
        case EstadoProceso::Vivo:
            return false;
        case EstadoProceso::Terminado:
            return true;
        case EstadoProceso::Desconocido:
            return datos.st_mtim.tv_sec + segundosTemporalAjeno < ::time(nullptr);
        }
    }
    // The name of an earlier version: the number alone, whose process may have been any.
    bool numero = false;
    const qint64 pid = dueno.toLongLong(&numero);
    return numero && pid > 0 && !dueno.startsWith('0') && datos.st_size == 0 && !IdentidadDe(pid);
}

// Writes what `producir` gives, a stretch at a time; false with errno set when a write fails.
bool EscribirProducido(SistemaArchivos& sistema, int fd, const ProductorBytes& producir)
{
    QByteArray tramo;
    while (producir(tramo)) {
        if (!EscribirTodo(sistema, fd, tramo.constData(), size_t(tramo.size())))
            return false;
    }
    return true;
}

// Writes and syncs the temporary, with the replaced file's owner and mode, and names it; the open
// descriptor on success, -1 with errno set on failure, with nothing left behind.
Descriptor EscribirTemporal(SistemaArchivos& sistema, const QByteArray& carpeta, const struct stat* anterior,
                            const ProductorBytes& producir, QByteArray& temporal)
{
    temporal = NombreTemporal(carpeta);
    bool sinNombre = true;
    const mode_t modoInicial = 0600;
    Descriptor archivo(sistema.crearSinNombre(carpeta.constData(), modoInicial));
    if (archivo.fd() < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        sinNombre = false;
        archivo = Descriptor(sistema.crearTemporal(temporal.data()));
    }
    if (archivo.fd() < 0)
        return archivo;
    const int fd = archivo.fd();
    bool bien = ConservarDuenoYModo(fd, anterior) && EscribirProducido(sistema, fd, producir) &&
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
    if (!bien) {
        const int codigo = errno;
        if (!sinNombre)
            ::unlink(temporal.constData());
        errno = codigo;
        return Descriptor();
    }
    return archivo;
}

// Puts `datos` in place of the file's bytes and syncs; false with errno set on failure.
bool Sobrescribir(SistemaArchivos& sistema, int fd, const QByteArray& datos)
{
    return ::lseek(fd, 0, SEEK_SET) == 0 &&
           EscribirTodo(sistema, fd, datos.constData(), size_t(datos.size())) &&
           ::ftruncate(fd, datos.size()) == 0 && sistema.sincronizar(fd) == 0;
}

void QuitarTemporalesEn(const QByteArray& carpeta)
{
    DIR* dir = ::opendir(carpeta.constData());
    if (!dir)
        return;
    while (const dirent* entrada = ::readdir(dir)) {
        if (EsTemporalAbandonado(::dirfd(dir), entrada->d_name))
            ::unlinkat(::dirfd(dir), entrada->d_name, 0);
    }
    ::closedir(dir);
}

// EscribirArchivoAtomico's replacement; the descriptor of the file written.
Descriptor ReemplazarAtomico(const QString& ruta, const ProductorBytes& producir, SistemaArchivos& sistema)
{
    const QByteArray destino = DestinoReal(ruta);
    ComprobarReemplazableEn(destino);
    struct stat anterior;
    const bool existe = ::stat(destino.constData(), &anterior) == 0;
    const QByteArray carpeta = CarpetaDe(destino);
    QuitarTemporalesEn(carpeta);
    QByteArray temporal;
    Descriptor archivo = EscribirTemporal(sistema, carpeta, existe ? &anterior : nullptr, producir, temporal);
    if (archivo.fd() < 0)
        throw ErrorAlAbrir(errno, QFile::decodeName(destino));
    if (sistema.renombrar(temporal.constData(), destino.constData()) != 0) {
        const int codigo = errno;
        ::unlink(temporal.constData());
        throw ErrorDeSistema(codigo);
    }
    SincronizarCarpeta(carpeta);
    return archivo;
}

} // namespace

void QuitarTemporalesAbandonados(const QString& carpeta)
{
    QuitarTemporalesEn(RutaLocal(carpeta));
}

Reemplazo ReemplazoPara(const QString& ruta)
{
    struct stat datos;
    try {
        if (::stat(DestinoReal(ruta).constData(), &datos) != 0 || !S_ISREG(datos.st_mode))
            return Reemplazo::Atomico;
    } catch (const ErrorEjecucion&) {
        return Reemplazo::Atomico; // the write reports it
    }
    return datos.st_nlink > 1 || !PuedeConservarDueno(datos) ? Reemplazo::EnSitio : Reemplazo::Atomico;
}

HuellaArchivo EscribirArchivoAtomico(const QString& ruta, const QByteArray& datos, SistemaArchivos& sistema)
{
    bool dados = false;
    return EscribirArchivoAtomicoPorTramos(
        ruta,
        [&](QByteArray& tramo) {
            tramo = datos;
            return !std::exchange(dados, true);
        },
        sistema);
}

HuellaArchivo EscribirArchivoAtomicoPorTramos(const QString& ruta, const ProductorBytes& producir,
                                              SistemaArchivos& sistema)
{
    ResumenBytes resumen;
    const Descriptor archivo = ReemplazarAtomico(
        ruta,
        [&](QByteArray& tramo) {
            if (!producir(tramo))
                return false;
            resumen.Anadir(tramo);
            return true;
        },
        sistema);
    struct stat escrito;
    if (::fstat(archivo.fd(), &escrito) != 0)
        return {};
    return HuellaDe(escrito, resumen.valor());
}

HuellaArchivo EscribirArchivoEnSitio(const QString& ruta, const QByteArray& datos, SistemaArchivos& sistema)
{
    const QByteArray destino = DestinoReal(ruta);
    struct stat antes;
    if (::stat(destino.constData(), &antes) != 0 && errno == ENOENT)
        return EscribirArchivoAtomico(ruta, datos, sistema);
    ComprobarReemplazableEn(destino);
    struct stat datosArchivo;
    const Descriptor archivo = AbrirNormal(destino, ruta, sistema, O_RDWR, datosArchivo);
    const int fd = archivo.fd();
    const QByteArray anterior = LeerTodo(sistema, fd, maximoArchivo, datosArchivo.st_size);
    // Room first, while the old bytes are still whole: a full disk is found before anything is lost.
    if (datos.size() > anterior.size() && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, datos.size()) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL)
        throw ErrorDeSistema(errno);
    if (!Sobrescribir(sistema, fd, datos)) {
        const int codigo = errno;
        Sobrescribir(sistema, fd, anterior);
        throw ErrorDeSistema(codigo);
    }
    struct stat escrito;
    if (::fstat(fd, &escrito) != 0)
        return {};
    return HuellaDe(escrito, datos);
}
