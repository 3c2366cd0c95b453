// Code pages in the window: two submenus of the translation box's context menu keep the folder's choice
// and read the files again in it, and the tooltips of the length captions tell the code page in use.
#include "frmEditor.h"

#include <functional>

#include <QActionGroup>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QTextBlock>
#include <QToolTip>

#include "archivos.h"
#include "boton_imagen.h"
#include "caja_texto.h"
#include "errores.h"
#include "lista_carpetas.h"
#include "texto.h"

namespace {

// Answers a caption's tooltip only when it is asked for: nothing is worked out while the translator
// types, and the live length monitor never sees these tooltips change.
class AyudaAlPedir final : public QObject
{
public:
    AyudaAlPedir(std::function<QString(const QWidget*)> texto, QObject* padre)
        : QObject(padre), texto_(std::move(texto))
    {
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() != QEvent::ToolTip || !objeto->isWidgetType())
            return false;
        auto* control = static_cast<QWidget*>(objeto);
        const QString texto = texto_(control);
        if (texto.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(evento)->globalPos(), texto, control);
        return true;
    }

private:
    std::function<QString(const QWidget*)> texto_;
};

QString NombreEnUso(const FormatoTexto& formato, bool elegida)
{
    if (!formato.evidencia && !elegida)
        return QStringLiteral("solo ASCII");
    return formato.codificacion.nombreLegible();
}

} // namespace

void frmEditor::ConectarCodificacion()
{
    auto* ayuda =
        new AyudaAlPedir([this](const QWidget* control) { return AyudaCodificacion(control); }, this);
    for (QLabel* control : {lblLargoTotal, lblLtlo, lblLtl, lblLl})
        control->installEventFilter(ayuda);

    // The translations of a folder are looked at again after a visit elsewhere.
    connect(Dir1, &ListaCarpetas::cambio, this, [this] { traducidas_.reset(); });

    connect(txtTraducido, &CajaTexto::menuContextual, this, [this](QMenu* menu) {
        const EleccionCarpeta eleccion = EleccionCodificacion();
        std::optional<Codificacion> original;
        std::optional<Codificacion> traduccion;
        if (par_.completo) {
            if (par_.formatoOriginal.evidencia || eleccion.original == par_.formatoOriginal.codificacion)
                original = par_.formatoOriginal.codificacion;
            traduccion = FormatoGuardado(txtTraducido->lineas()).codificacion;
        }
        const auto submenu = [&](const QString& titulo, TipoArchivo tipo, std::optional<Codificacion> elegida,
                                 std::optional<Codificacion> enUso) {
            QMenu* opciones = menu->addMenu(titulo);
            opciones->setEnabled(!carpetaScripts().isEmpty());
            QAction* automatica = opciones->addAction(QStringLiteral("Automática"));
            automatica->setCheckable(true);
            automatica->setChecked(!elegida);
            connect(automatica, &QAction::triggered, this,
                    [this, tipo] { ElegirCodificacionProtegida(tipo, std::nullopt); });
            opciones->addSeparator();
            auto* grupo = new QActionGroup(opciones);
            grupo->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
            for (const Codificacion codificacion : Codificacion::Todas()) {
                QAction* accion = opciones->addAction(codificacion.nombreLegible());
                accion->setCheckable(true);
                accion->setChecked(enUso == codificacion);
                grupo->addAction(accion);
                connect(accion, &QAction::triggered, this,
                        [this, tipo, codificacion] { ElegirCodificacionProtegida(tipo, codificacion); });
            }
        };
        menu->addSeparator();
        submenu(QStringLiteral("Codificación del original"), TipoArchivo::Original, eleccion.original,
                original);
        submenu(QStringLiteral("Codificación de la traducción"), TipoArchivo::Traduccion, eleccion.traduccion,
                traduccion);
    });
}

EleccionCarpeta frmEditor::EleccionCodificacion() const
{
    const QString carpeta = carpetaScripts();
    return carpeta.isEmpty() ? EleccionCarpeta{} : LeerEleccion(carpeta);
}

void frmEditor::ElegirCodificacion(TipoArchivo tipo, std::optional<Codificacion> codificacion)
{
    if (carpetaScripts().isEmpty())
        return;
    EscribirEleccion(carpetaScripts(), tipo, codificacion, archivos_);
    // The profile store fails silently; a choice that did not reach the file would be lost at the next
    // load, so nothing is read in it.
    const EleccionCarpeta guardada = EleccionCodificacion();
    if ((tipo == TipoArchivo::Original ? guardada.original : guardada.traduccion) != codificacion) {
        mensajes_->Mostrar(QStringLiteral("No se ha podido guardar la codificación en el archivo de marcador "
                                          "(Velarto.vrk) de la carpeta."),
                           Botones::Aceptar, Icono::Exclamacion);
        return;
    }
    // A load under way reads its files in whatever choice it found; the next one reads in this one.
    if (!par_.completo)
        return;
    if (tipo == TipoArchivo::Original)
        ReleerOriginal();
    else if (par_.hayTraducido && txtTraducido->lineas() == par_.traduccionLeida)
        ReleerTraduccion();
    // A box with unsaved changes keeps them; the choice applies to the next save.
}

void frmEditor::ElegirCodificacionProtegida(TipoArchivo tipo, std::optional<Codificacion> codificacion)
{
    try {
        ElegirCodificacion(tipo, codificacion);
    } catch (const ErrorEjecucion& error) {
        MostrarError(error);
    }
}

void frmEditor::ReleerOriginal()
{
    const quint64 carga = ++cargaActual_;
    ParCargado par = par_;
    // While the list fills again, the pair is not whole: nothing may be saved or deleted by it.
    par_.completo = false;
    HabilitarAcciones(false);
    lstOriginal->clear();
    ListarOriginal(par, carga);
}

void frmEditor::ReleerTraduccion()
{
    try {
        LectorLineas lector(LeerArchivo(par_.rutaTraduccion, archivos_), EleccionCodificacion().traduccion);
        QStringList lineas;
        while (!lector.fin())
            lineas.append(lector.siguiente());
        par_.formatoTraduccion = lector.formato();
        par_.traduccionLeida = lineas;
        txtTraducido->setLineas(lineas);
        // What the box now holds is what is on disk: drafts start from it.
        EmpezarBorrador();
    } catch (const ErrorEjecucion&) {
        // The translation is gone or unreadable: the box keeps what it shows, and a save writes it.
    }
}

FormatoTexto frmEditor::FormatoGuardado(const QStringList& lineas)
{
    EvidenciaTraduccion evidencia{.eleccion = EleccionCodificacion().traduccion,
                                  .hayTraducido = par_.hayTraducido,
                                  .traduccion = par_.formatoTraduccion,
                                  .original = par_.formatoOriginal};
    const bool propia = evidencia.hayTraducido && evidencia.traduccion.evidencia;
    if (!evidencia.eleccion && !propia) {
        if (!traducidas_ || carpetaTraducidas_ != carpetaScripts()) {
            carpetaTraducidas_ = carpetaScripts();
            traducidas_ = CodificacionesTraducidas(carpetaTraducidas_);
        }
        evidencia.otras = MasComun(*traducidas_, QFileInfo(par_.rutaTraduccion).fileName());
    }
    return FormatoTraduccion(evidencia, lineas);
}

void frmEditor::AnotarTraducida(const FormatoTexto& formato)
{
    if (!traducidas_ || carpetaTraducidas_ != carpetaScripts())
        return;
    const QString nombre = QFileInfo(par_.rutaTraduccion).fileName();
    if (formato.evidencia)
        traducidas_->insert(nombre, formato.codificacion);
    else
        traducidas_->remove(nombre);
}

QString frmEditor::AyudaCodificacion(const QWidget* control)
{
    if (!par_.completo)
        return QString();
    if (control == lblLargoTotal || control == lblLtlo) {
        const FormatoTexto& formato = par_.formatoOriginal;
        const bool elegida = EleccionCodificacion().original == formato.codificacion;
        return u"Original: " + NombreEnUso(formato, elegida) + u", " + NombreFinLinea(formato.finLinea);
    }
    if (control != lblLtl && control != lblLl)
        return QString();
    const QStringList lineas = txtTraducido->lineas();
    const FormatoTexto formato = FormatoGuardado(lineas);
    QString ayuda = u"Traducción: " + formato.codificacion.nombreLegible() + u", " +
                    NombreFinLinea(formato.finLinea) + u"; ";
    if (const qsizetype linea = LineaNoCodificable(lineas, formato); linea >= 0)
        return ayuda + QStringLiteral("la línea %1 no cabe en ella").arg(linea + 1);
    if (control == lblLtl)
        return ayuda + QString::number(CodificarLineas(lineas, formato).size()) + u" bytes";
    const QString actual = txtTraducido->textCursor().block().text();
    return ayuda + u"esta línea: " + QString::number(BytesLinea(actual, formato)) + u" bytes";
}
