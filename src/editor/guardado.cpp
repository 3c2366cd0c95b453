// Saving the translation into "Traducidos" and moving on to the next script.
#include "frmEditor.h"

#include <algorithm>
#include <future>

#include <QFileInfo>

#include "archivos.h"
#include "carpeta_scripts.h"
#include "errores.h"
#include "formato_guardado.h"
#include "teclas.h"
#include "texto.h"

namespace {

// Creates "Traducidos" in the script folder; false when it is already there, the usual case once one
// script of the folder has been saved.
bool CrearTraducidos(const QString& carpeta)
{
    try {
        CrearCarpeta(CarpetaScripts::RutaTraducidos(carpeta));
        return true;
    } catch (const ErrorEjecucion& error) {
        if (error.numero() != Errores::ErrorAccesoRuta)
            throw;
        return false;
    }
}

// "«ñ» (U+00F1)": the character as it shows and by its number, for the invisible ones. Where no single
// character is to blame (-1), the line's first.
QString NombrarCaracter(QStringView linea, qsizetype indice)
{
    indice = std::max<qsizetype>(indice, 0);
    const QString caracter = linea.sliced(indice, linea[indice].isHighSurrogate() ? 2 : 1).toString();
    const QList<uint> puntos = caracter.toUcs4();
    return u"«" + caracter + u"» (U+" +
           QString::number(puntos.value(0), 16).toUpper().rightJustified(4, u'0') + u')';
}

// Whether a save would replace what the editor never read: the translation is there and is not the file
// the load or the last save left. One that is gone since holds nobody's work. Asked on a thread of its
// own, since a file changed in the last moments is told apart by its bytes, a long one's read whole.
std::future<bool> ReemplazariaAjena(const ParCargado& par, SistemaArchivos& archivos)
{
    return std::async(std::launch::async,
                      [ruta = par.rutaTraduccion, huella = par.huellaTraduccion, &archivos] {
                          return QFileInfo::exists(ruta) && HaCambiado(ruta, huella, archivos);
                      });
}

// Asks before a save replaces a translation that someone else changed since it was read; No unless the
// translator says Yes.
bool ReemplazarCambiada(CajaMensajes& mensajes, const QString& ruta)
{
    return mensajes.Mostrar(
               QStringLiteral("La traducción de «%1» ha cambiado en el disco desde que se cargó. "
                              "¿Desea reemplazarla con el texto del editor?")
                   .arg(QFileInfo(ruta).fileName()),
               Botones::SiNo, Icono::Exclamacion) == Respuesta::Si;
}

// The text a translation holds now, its lines joined by '\n', read in the folder's code page as a load
// reads it.
QString TextoEnDisco(const QString& ruta, const QString& carpeta, SistemaArchivos& archivos)
{
    LectorLineas lector(LeerArchivo(ruta, archivos), LeerEleccion(carpeta).traduccion);
    QStringList lineas;
    while (!lector.fin())
        lineas.append(lector.siguiente());
    return lineas.join(u'\n');
}

} // namespace

void frmEditor::cmdGuardar_Click()
{
    // With nothing loaded the box holds no translation of the selected script: saving it would replace
    // a translation that was never read.
    if (!par_.completo || File1->indice() < 0)
        return;
    if (txtTraducido->document()->isEmpty()) {
        mensajes_.Mostrar(QStringLiteral("No se guardarán archivos vacíos."));
        return;
    }
    if (!par_.traduccionIlegible.isEmpty()) {
        mensajes_.Mostrar(
            QStringLiteral("No se ha guardado el archivo: la traducción que ya existe no se pudo "
                           "leer (%1).")
                .arg(par_.traduccionIlegible),
            Botones::Aceptar, Icono::Exclamacion);
        return;
    }
    // The disk is asked while the box's text is taken.
    std::future<bool> ajena = ReemplazariaAjena(par_, archivos_);
    // One copy of the box's text, whose lines are looked at and written where they stand.
    const QString texto = TextoCaja(*txtTraducido);
    const QList<QStringView> lineas = QStringView(texto).split(u'\n');
    const FormatoTexto formato = FormatoGuardado(par_, Dir1->ruta(), traducidas_, originales_, lineas);
    if (const qsizetype linea = LineaNoCodificable(lineas, formato); linea >= 0) {
        mensajes_.Mostrar(
            QStringLiteral("No se ha guardado el archivo: el carácter %1 de la línea %2 no cabe en "
                           "la codificación de la traducción (%3).")
                .arg(NombrarCaracter(lineas[linea], CaracterNoCodificable(lineas, linea, formato)),
                     QString::number(linea + 1), formato.codificacion.nombreLegible()),
            Botones::Aceptar, Icono::Exclamacion);
        return;
    }
    if (ajena.get()) {
        Q_EMIT vida_.enRiesgo();
        if (!ReemplazarCambiada(mensajes_, par_.rutaTraduccion)) {
            Q_EMIT vida_.guardadoRehusado(par_);
            return;
        }
    }

    try {
        if (CrearTraducidos(Dir1->ruta()))
            mensajes_.Mostrar(QStringLiteral(
                "Se ha creado la carpeta Traducidos\r\nEn ella se guardarán los scripts traducidos"));
        EscribirTraduccion(texto, lineas, formato);
    } catch (const ErrorEjecucion& error) {
        mensajes_.Mostrar(error.textoSinSeparador());
    }
}

// Writes the translation, confirms and moves on. The file is replaced whole or not at all, so a failure
// leaves the earlier translation as it was; a file written in place instead has its old text kept first.
void frmEditor::EscribirTraduccion(const QString& texto, const QList<QStringView>& lineas,
                                   FormatoTexto formato)
{
    // The fingerprint a load of this file would take is worked out while the disk writes it.
    std::future<HuellaTexto> huella =
        std::async(std::launch::async, [&lineas] { return HuellaTexto(lineas); });
    bool byteAlto = false;
    if (ReemplazoPara(par_.rutaTraduccion) == Reemplazo::EnSitio) {
        bool conservado = false;
        Q_EMIT vida_.escrituraEnSitio(par_.rutaTraduccion,
                                      TextoEnDisco(par_.rutaTraduccion, Dir1->ruta(), archivos_), conservado);
        if (!conservado) {
            mensajes_.Mostrar(
                QStringLiteral("No se ha guardado el archivo: su texto anterior no se pudo poner "
                               "a salvo antes de escribir sobre él."),
                Botones::Aceptar, Icono::Exclamacion);
            return;
        }
        const QByteArray bytes = CodificarLineas(lineas, formato);
        byteAlto = TieneByteAlto(bytes);
        par_.huellaTraduccion = EscribirArchivoEnSitio(par_.rutaTraduccion, bytes, archivos_);
    } else {
        // Encoded a stretch at a time as the disk takes it: a long translation's bytes, fresh memory
        // page by page, are never all held at once.
        CodificacionPorTramos tramos(lineas, formato);
        par_.huellaTraduccion = EscribirArchivoAtomicoPorTramos(
            par_.rutaTraduccion, [&tramos](QByteArray& tramo) { return tramos.Siguiente(tramo); }, archivos_);
        byteAlto = tramos.byteAlto();
    }
    // The file on disk is now this pair's translation, in the format just written.
    formato.evidencia = formato.bom || byteAlto;
    par_.formatoTraduccion = formato;
    par_.hayTraducido = true;
    par_.traduccionLeida = huella.get();
    Q_EMIT vida_.guardado(par_, texto);
    mensajes_.Mostrar(QStringLiteral("¡Archivo guardado!"));
    const int indice = File1->indice();
    if (indice < File1->cantidad() - 1)
        File1->setIndice(indice + 1);
    txtTraducido->setFocus();
}

void frmEditor::txtTraducido_KeyUp(int codigo, int shift)
{
    Q_UNUSED(shift);
    if (codigo == Teclas::F12 && File1->cantidad() > 0)
        cmdGuardar_Click();
}
