// The format a save writes.
#include "formato_guardado.h"

#include <QFileInfo>

FormatoTexto FormatoGuardado(const ParCargado& par, const QString& carpeta, TraduccionesCarpeta& traducidas,
                             const QStringList& lineas)
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
    return FormatoTraduccion(evidencia, lineas);
}
