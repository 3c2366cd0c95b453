// The format a save writes.
#include "formato_guardado.h"

#include <QFileInfo>

#include "lista_archivos.h"

FormatoTexto FormatoGuardado(const ParCargado& par, const QString& carpeta, TraduccionesCarpeta& traducidas,
                             OriginalesCarpeta& originales, const QStringList& lineas)
{
    const EleccionCarpeta eleccion = carpeta.isEmpty() ? EleccionCarpeta{} : LeerEleccion(carpeta);
    EvidenciaTraduccion evidencia{.eleccion = eleccion.traduccion,
                                  .hayTraducido = par.hayTraducido,
                                  .traduccion = par.formatoTraduccion,
                                  .original = par.formatoOriginal};
    const bool propia = evidencia.hayTraducido && evidencia.traduccion.evidencia;
    // The folder's other files are looked at only when nothing closer decides: its translations first,
    // then its originals.
    if (!evidencia.eleccion && !propia && !carpeta.isEmpty()) {
        evidencia.otras = traducidas.MasComun(carpeta, QFileInfo(par.rutaTraduccion).fileName());
        if (!evidencia.otras)
            evidencia.originales = originales.MasComun(carpeta, eleccion.original,
                                                       [&] { return ListaArchivos::ArchivosDe(carpeta); });
    }
    return FormatoTraduccion(evidencia, lineas);
}
