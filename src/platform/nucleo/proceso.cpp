// Process identities from /proc: the start time is field 22 of /proc/<pid>/stat, the boot's id is in
// /proc/sys/kernel/random/boot_id.
#include "proceso.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QList>

namespace {

constexpr QByteArrayView arranqueDesconocido = "00000000";

// A small file of /proc, whole; empty when it cannot be read.
QByteArray LeerProc(const QByteArray& ruta)
{
    const int fd = ::open(ruta.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray datos;
    char bloque[1024];
    ssize_t n;
    while ((n = ::read(fd, bloque, sizeof bloque)) > 0)
        datos.append(bloque, n);
    ::close(fd);
    return datos;
}

bool SoloDigitos(QByteArrayView texto, qsizetype maximo)
{
    if (texto.isEmpty() || texto.size() > maximo)
        return false;
    for (const char c : texto) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool SoloHexMinuscula(QByteArrayView texto)
{
    for (const char c : texto) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

QByteArray ArranqueActual()
{
    const QByteArray id = LeerProc("/proc/sys/kernel/random/boot_id").left(8).toLower();
    return id.size() == 8 && SoloHexMinuscula(id) ? id : arranqueDesconocido.toByteArray();
}

// The start time in /proc/<pid>/stat, after the command name, which may hold spaces and parentheses.
std::optional<quint64> InicioDe(qint64 pid)
{
    const QByteArray stat = LeerProc("/proc/" + QByteArray::number(pid) + "/stat");
    const qsizetype cierre = stat.lastIndexOf(')');
    if (cierre < 0)
        return std::nullopt;
    const QList<QByteArray> campos = stat.sliced(cierre + 1).simplified().split(' ');
    // The first field after the name is the state, field 3; the start time is field 22.
    bool numero = false;
    const quint64 inicio = campos.value(19).toULongLong(&numero);
    return numero ? std::optional(inicio) : std::nullopt;
}

} // namespace

QByteArray IdentidadProceso::texto() const
{
    return QByteArray::number(pid) + '-' + QByteArray::number(inicio) + '-' + arranque;
}

std::optional<IdentidadProceso> IdentidadProceso::DeTexto(QByteArrayView texto)
{
    const QList<QByteArray> partes = texto.toByteArray().split('-');
    if (partes.size() != 3 || !SoloDigitos(partes[0], 10) || partes[0].startsWith('0') ||
        !SoloDigitos(partes[1], 20) || partes[2].size() != 8 || !SoloHexMinuscula(partes[2]))
        return std::nullopt;
    bool numero = false;
    IdentidadProceso identidad{partes[0].toLongLong(), partes[1].toULongLong(&numero), partes[2]};
    if (!numero || identidad.texto() != texto)
        return std::nullopt;
    return identidad;
}

const IdentidadProceso& EsteProceso()
{
    static const IdentidadProceso propia = [] {
        const qint64 pid = ::getpid();
        return IdentidadProceso{pid, InicioDe(pid).value_or(0), ArranqueActual()};
    }();
    return propia;
}

std::optional<IdentidadProceso> IdentidadDe(qint64 pid)
{
    if (pid <= 0)
        return std::nullopt;
    if (const std::optional<quint64> inicio = InicioDe(pid))
        return IdentidadProceso{pid, *inicio, EsteProceso().arranque};
    if (EsteProceso().inicio != 0)
        return std::nullopt; // /proc works, and has no such process
    // Without /proc, the number is all there is to go by.
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return std::nullopt;
    return IdentidadProceso{pid, 0, EsteProceso().arranque};
}

EstadoProceso EstadoDe(const IdentidadProceso& identidad)
{
    if (identidad == EsteProceso())
        return EstadoProceso::Vivo;
    if (identidad.arranque != EsteProceso().arranque)
        return EstadoProceso::Desconocido;
    const std::optional<IdentidadProceso> actual = IdentidadDe(identidad.pid);
    return actual && actual->inicio == identidad.inicio ? EstadoProceso::Vivo : EstadoProceso::Terminado;
}

void UsarPaginasGrandes(char* argv[])
{
#if defined(__GLIBC__)
    constexpr std::string_view ajuste = "glibc.malloc.hugetlb";
    const char* actuales = std::getenv("GLIBC_TUNABLES");
    if (actuales && std::strstr(actuales, ajuste.data()))
        return;
    std::string nuevos = actuales && *actuales ? std::string(actuales) + ':' : std::string();
    nuevos.append(ajuste).append("=1");
    if (::setenv("GLIBC_TUNABLES", nuevos.c_str(), 1) == 0)
        ::execv("/proc/self/exe", argv);
#else
    Q_UNUSED(argv);
#endif
}

void PriorizarHilo(int amabilidad)
{
    ::setpriority(PRIO_PROCESS, id_t(::gettid()), amabilidad);
}
