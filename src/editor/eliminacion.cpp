// Deleting a script and its translation.
#include "frmEditor.h"

#include "archivos.h"
#include "carpeta_scripts.h"
#include "errores.h"
#include "proteger.h"
#include "teclas.h"

void frmEditor::cmdEliminar_Click()
{
    const QString nombre = File1->nombreArchivo();
    Q_EMIT vida_.enRiesgo();
    const Respuesta respuesta =
        mensajes_.Mostrar(u"¿Desea eliminar el script: " + nombre + u'?', Botones::SiNoCancelar,
                          Icono::Exclamacion, QStringLiteral("Advertencia"));
    if (respuesta != Respuesta::Si)
        return;
    try {
        const int indice = File1->indice();
        // With no file selected the path would name the folder itself; nothing but a script is removed.
        if (nombre.isEmpty())
            throw ErrorEjecucion(Errores::ArchivoNoEncontrado);
        // A translation protected against deletion keeps its original too.
        if (par_.hayTraducido)
            ComprobarNoProtegido(par_.rutaTraduccion);
        EliminarArchivo(CarpetaScripts::RutaOriginal(Dir1->ruta(), nombre));
        if (par_.hayTraducido) {
            EliminarArchivo(par_.rutaTraduccion);
            par_.hayTraducido = false;
        }
        Q_EMIT vida_.eliminado(CarpetaScripts::RutaTraduccion(Dir1->ruta(), nombre));
        txtTraducido->clear();
        File1->refrescar();
        if (indice < File1->cantidad()) {
            // The deleted file's place now holds the one that followed it.
            File1->setIndice(indice);
        } else {
            // No script follows: nothing of the deleted one may stay on screen as if it were loaded.
            Vaciar();
        }
        File1->setFocus();
    } catch (const ErrorEjecucion& error) {
        MostrarError(mensajes_, error);
    }
}

void frmEditor::File1_KeyUp(int codigo, int shift)
{
    Q_UNUSED(shift);
    if (codigo == Teclas::Supr)
        cmdEliminar_Click();
}
