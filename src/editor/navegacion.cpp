// Moving the script browser between drives and folders.
#include "frmEditor.h"

#include <QScopedValueRollback>

#include "errores.h"
#include "proteger.h"

void frmEditor::Drive1_Change()
{
    try {
        Dir1->setRuta(Drive1->unidad());
        unidadActual = Drive1->unidad();
        Q_EMIT vida_.saliendo();
        Vaciar();
    } catch (const ErrorEjecucion& error) {
        // A drive that fails while being restored is reported like any other error, by the caller's
        // trap; handling it here again would restore it again, without end.
        if (restaurandoUnidad_)
            throw;
        if (error.numero() != Errores::DispositivoNoDisponible) {
            MostrarError(mensajes_, error);
            return;
        }
        mensajes_.Mostrar(QStringLiteral("El dispositivo aún no está preparado."), Botones::Aceptar,
                          Icono::Critico, QStringLiteral("No hay disco en la unidad"));
        const QScopedValueRollback<bool> restaurando(restaurandoUnidad_, true);
        Drive1->setUnidad(unidadActual);
    }
}

void frmEditor::Dir1_Change()
{
    File1->setCarpeta(Dir1->ruta());
    File1->setFocus();
    // The first script is only highlighted: loading it would be undone at once by emptying the editor.
    if (File1->cantidad() > 0)
        File1->resaltar(0);
    Q_EMIT vida_.saliendo();
    Vaciar();
    Q_EMIT vida_.carpetaCambiada(Dir1->ruta());
}
