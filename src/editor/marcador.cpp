// The per-folder bookmark of a position in the file list.
#include "frmEditor.h"

#include "archivos.h"
#include "carpeta_scripts.h"
#include "errores.h"
#include "ini.h"
#include "numeros.h"

namespace {

const QString seccionMarcador = CarpetaScripts::seccionMarcador.toString();

using CarpetaScripts::RutaMarcador;

} // namespace

void frmEditor::cmdInsMarcador_Click()
{
    const QString archivo = RutaMarcador(Dir1->ruta());
    // A bookmark file that is read-only, not a regular file or far too large is left as it is, and said so.
    ComprobarReemplazable(archivo, maximoPerfil);
    EscribirIni(seccionMarcador, QStringLiteral("Indice"), QString::number(File1->indice()), archivo,
                archivos_);
}

void frmEditor::cmdLeerMarcador_Click()
{
    try {
        QString clave = QStringLiteral("Indice");
        const QString valor = LeerIni(seccionMarcador, clave, RutaMarcador(Dir1->ruta()), archivos_);
        // Selecting runs the load as a click would; -1 only clears the selection.
        File1->setIndice(AEntero16(NumeroInicial(valor)));
    } catch (const ErrorEjecucion&) {
        mensajes_.Mostrar(QStringLiteral("Error al cargar marcador"));
    }
}
