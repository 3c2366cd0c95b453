// The per-folder bookmark: the script, its place in the file list and the caret's line.
#include "frmEditor.h"

#include "archivos.h"
#include "carpeta_scripts.h"
#include "errores.h"
#include "ini.h"
#include "marcador.h"
#include "texto.h"

void frmEditor::cmdInsMarcador_Click()
{
    const QString carpeta = Dir1->ruta();
    // A bookmark file that is read-only, not a regular file or far too large is left as it is, and said so.
    ComprobarReemplazable(CarpetaScripts::RutaMarcador(carpeta), maximoPerfil);
    EscribirMarcador(carpeta, {File1->indice(), File1->nombreArchivo(), LineaActual(*txtTraducido) + 1},
                     archivos_);
}

void frmEditor::cmdLeerMarcador_Click()
{
    lineaMarcada_ = {};
    try {
        const QString carpeta = Dir1->ruta();
        const Marcador marcador = LeerMarcador(carpeta, archivos_);
        // The script by its name while it is listed: the list's places move as files come and go.
        const QList<QListWidgetItem*> porNombre = marcador.archivo.isEmpty()
                                                      ? QList<QListWidgetItem*>()
                                                      : File1->findItems(marcador.archivo, Qt::MatchExactly);
        if (porNombre.isEmpty()) {
            // Selecting runs the load as a click would; -1 only clears the selection.
            File1->setIndice(marcador.indice);
            return;
        }
        lineaMarcada_ = {CarpetaScripts::RutaOriginal(carpeta, marcador.archivo), marcador.linea};
        File1->setIndice(File1->row(porNombre.first()));
    } catch (const ErrorEjecucion&) {
        lineaMarcada_ = {};
        mensajes_.Mostrar(QStringLiteral("Error al cargar marcador"));
    }
}

// Once the bookmark's script is loaded, the caret goes to the line kept with it.
void frmEditor::IrALineaMarcada(const ParCargado& par)
{
    const LineaMarcada marcada = std::exchange(lineaMarcada_, {});
    if (marcada.linea > 0 && marcada.rutaOriginal == par.rutaOriginal)
        IrAInicioLinea(*txtTraducido, marcada.linea - 1);
}
