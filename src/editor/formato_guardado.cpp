// The format a save writes.
#include "formato_guardado.h"

#include <QFileInfo>

namespace {

EvidenciaTraduccion Evidencia(const ParCargado& par, const QString& carpeta, TraduccionesCarpeta& traducidas)
{
    EvidenciaTraduccion evidencia{.eleccion =
                                      carpeta.isEmpty() ? std::nullopt : LeerEleccion(carpeta).traduccion,
                                  .hayTraducido = par.hayTraducido,
                                  .traduccion = par.formatoTraduccion,
                                  .original = par.formatoOriginal};
    const bool propia = evidencia.hayTraducido && evidencia.traduccion.evidencia;
    // The folder's other translations are looked at only when nothing closer decides.
    if (!evidencia.eleccion && !propia)
        evidencia.otras = traducidas.MasComun(carpeta, QFileInfo(par.rutaTraduccion).fileName());
    return evidencia;
}

} // namespace

FormatoTexto FormatoGuardado(const ParCargado& par, const QString& carpeta, TraduccionesCarpeta& traducidas,
                             const QStringList& lineas)
{
    return FormatoTraduccion(Evidencia(par, carpeta, traducidas), lineas);
}

std::optional<Codificacion> CodificacionFija(const ParCargado& par, const QString& carpeta,
                                             TraduccionesCarpeta& traducidas)
{
    // The first three rules of FormatoTraduccion, which never look at the text.
    const EvidenciaTraduccion evidencia = Evidencia(par, carpeta, traducidas);
    if (evidencia.eleccion)
        return evidencia.eleccion;
    if (evidencia.hayTraducido && evidencia.traduccion.evidencia)
        return evidencia.traduccion.codificacion;
    return evidencia.otras;
}
