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

std::optional<LineasScript> LineasScript::Abrir(const QString& ruta, std::optional<Codificacion> eleccion,
                                                SistemaArchivos& sistema)
{
    std::optional<LectorLineas> lector = Leer(ruta, eleccion, sistema);
    if (!lector)
        return std::nullopt;
    return LineasScript(ruta, eleccion, sistema, std::move(*lector));
}

std::optional<LectorLineas> LineasScript::Leer(const QString& ruta, std::optional<Codificacion> eleccion,
                                               SistemaArchivos& sistema)
{
    try {
        const QByteArray datos = LeerArchivo(ruta, sistema);
        // A first pass refuses what a load refuses before any line is given out.
        LectorLineas prueba(datos, eleccion);
        while (!prueba.fin())
            if (prueba.siguiente().size() > maximoLinea)
                return std::nullopt;
        return LectorLineas(datos, eleccion);
    } catch (const ErrorEjecucion&) {
        return std::nullopt;
    }
}

std::optional<QString> LineasScript::siguiente()
{
    if (!lector_ && !terminado_) {
        lector_ = Leer(ruta_, eleccion_, *sistema_);
        for (qint64 n = 0; lector_ && n < dadas_ && !lector_->fin(); ++n)
            lector_->siguiente();
        terminado_ = !lector_;
    }
    if (terminado_ || lector_->fin())
        return std::nullopt;
    ++dadas_;
    return lector_->siguiente();
}
