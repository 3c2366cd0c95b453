// The format a save writes.
#include "formato_guardado.h"

#include <QFileInfo>

#include "lista_archivos.h"

namespace {

// What the folder's choice, the pair's own files and the folder's other translations say.
EvidenciaTraduccion Evidencia(const ParCargado& par, const QString& carpeta, TraduccionesCarpeta& traducidas,
                              const EleccionCarpeta& eleccion)
{
    EvidenciaTraduccion evidencia{.eleccion = eleccion.traduccion,
                                  .hayTraducido = par.hayTraducido,
                                  .traduccion = par.formatoTraduccion,
                                  .original = par.formatoOriginal};
    const bool propia = evidencia.hayTraducido && evidencia.traduccion.evidencia;
    // The folder's other translations are looked at only when nothing closer decides.
    if (!evidencia.eleccion && !propia && !carpeta.isEmpty())
        evidencia.otras = traducidas.MasComun(carpeta, QFileInfo(par.rutaTraduccion).fileName());
    return evidencia;
}

EleccionCarpeta Eleccion(const QString& carpeta)
{
    return carpeta.isEmpty() ? EleccionCarpeta{} : LeerEleccion(carpeta);
}

} // namespace

FormatoTexto FormatoGuardado(const ParCargado& par, const QString& carpeta, TraduccionesCarpeta& traducidas,
                             OriginalesCarpeta& originales, const QList<QStringView>& lineas)
{
    const EleccionCarpeta eleccion = Eleccion(carpeta);
    EvidenciaTraduccion evidencia = Evidencia(par, carpeta, traducidas, eleccion);
    // Then the folder's originals, when its translations said nothing either.
    const bool propia = evidencia.hayTraducido && evidencia.traduccion.evidencia;
    if (!evidencia.eleccion && !propia && !evidencia.otras && !carpeta.isEmpty())
        evidencia.originales = originales.MasComun(carpeta, eleccion.original,
                                                   [carpeta] { return ListaArchivos::ArchivosDe(carpeta); });
    return FormatoTraduccion(evidencia, lineas);
}

std::optional<Codificacion> CodificacionFija(const ParCargado& par, const QString& carpeta,
                                             TraduccionesCarpeta& traducidas)
{
    // The first three rules of FormatoTraduccion, which never look at the text; the originals' code page
    // is taken only when the text fits it, so it fixes nothing.
    const EvidenciaTraduccion evidencia = Evidencia(par, carpeta, traducidas, Eleccion(carpeta));
    if (evidencia.eleccion)
        return evidencia.eleccion;
    if (evidencia.hayTraducido && evidencia.traduccion.evidencia)
        return evidencia.traduccion.codificacion;
    return evidencia.otras;
}
