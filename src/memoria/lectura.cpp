// Reading the folder's scripts for the memory.
#include "lectura.h"

#include <sys/stat.h>

#include <QFile>

#include "archivos.h"
#include "errores.h"

namespace {

// The longest line a load shows; a script holding a longer one is refused, and the memory leaves it out.
constexpr qsizetype maximoLinea = qsizetype(1) << 20;

} // namespace

Huella HuellaDe(const QString& ruta)
{
    struct stat datos;
    if (::stat(QFile::encodeName(ruta).constData(), &datos) != 0 || !S_ISREG(datos.st_mode))
        return {};
    return {qint64(datos.st_size), qint64(datos.st_mtim.tv_sec) * 1000000000 + datos.st_mtim.tv_nsec};
}

std::optional<QStringList> LeerScript(const QString& ruta, std::optional<Codificacion> eleccion,
                                      SistemaArchivos& sistema)
{
    try {
        LectorLineas lector(LeerArchivo(ruta, sistema), eleccion);
        QStringList lineas;
        while (!lector.fin()) {
            lineas.append(lector.siguiente());
            if (lineas.last().size() > maximoLinea)
                return std::nullopt;
        }
        return lineas;
    } catch (const ErrorEjecucion&) {
        return std::nullopt;
    }
}
