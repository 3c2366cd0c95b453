// Deleting a script and its translation, to the desktop's trash.
#include "frmEditor.h"

#include "archivos.h"
#include "carpeta_scripts.h"
#include "errores.h"
#include "proteger.h"
#include "teclas.h"

namespace {

// To the desktop's trash, from which a file manager restores it; deleted for good only where no trash
// can take it.
void Desechar(const QString& ruta, SistemaArchivos& sistema)
{
    if (MoverAPapelera(ruta, sistema) == ResultadoPapelera::SinPapelera)
        EliminarArchivo(ruta);
}

} // namespace

void frmEditor::cmdEliminar_Click()
{
    const QString nombre = File1->nombreArchivo();
    Q_EMIT vida_.enRiesgo();
    const Respuesta respuesta =
        mensajes_.Mostrar(u"¿Desea eliminar el script: " + nombre + u'?', Botones::SiNoCancelarNo,
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
        Desechar(CarpetaScripts::RutaOriginal(Dir1->ruta(), nombre), archivos_);
        if (par_.hayTraducido) {
            Desechar(par_.rutaTraduccion, archivos_);
            par_.hayTraducido = false;
        }
        Q_EMIT vida_.eliminado(CarpetaScripts::RutaTraduccion(Dir1->ruta(), nombre));
        txtTraducido->vaciar();
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
