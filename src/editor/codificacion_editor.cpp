// Code pages in the window: the submenus, the choice kept in the bookmark file, the captions' tooltips.
#include "codificacion_editor.h"

#include <functional>

#include <QActionGroup>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QTextBlock>
#include <QToolTip>

#include "caja_texto.h"
#include "errores.h"
#include "etiqueta_ajustada.h"
#include "formato_guardado.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"
#include "mensajes.h"
#include "par_cargado.h"
#include "proteger.h"
#include "texto.h"
#include "vida_par.h"

namespace {

// How many bytes a file of these lines takes, counted a stretch at a time.
qsizetype BytesTexto(const QList<QStringView>& lineas, const FormatoTexto& formato)
{
    CodificacionPorTramos tramos(lineas, formato);
    qsizetype bytes = 0;
    for (QByteArray tramo; tramos.Siguiente(tramo);)
        bytes += tramo.size();
    return bytes;
}

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
        const QString texto = AyudaConTextoCompleto(*control, texto_(control));
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

CodificacionEditor::CodificacionEditor(CajaTexto& caja, CaptionsCodificacion captions,
                                       const ListaCarpetas& carpetas, const ParCargado& par,
                                       TraduccionesCarpeta& traducidas, OriginalesCarpeta& originales,
                                       const VidaPar& vida, CajaMensajes& mensajes, SistemaArchivos& archivos)
    : caja_(caja), captions_(captions), carpetas_(carpetas), par_(par), traducidas_(traducidas),
      originales_(originales), mensajes_(mensajes), archivos_(archivos)
{
    auto* ayuda = new AyudaAlPedir([this](const QWidget* control) { return Ayuda(control); }, this);
    for (QLabel* control :
         {&captions_.lblLargoTotal, &captions_.lblLtlo, &captions_.lblLtl, &captions_.lblLl})
        control->installEventFilter(ayuda);
    // The files of a folder are looked at again after a visit elsewhere.
    connect(&vida, &VidaPar::carpetaCambiada, this, [this] {
        traducidas_.Olvidar();
        originales_.Olvidar();
    });
    // A pair whose translation shows no code page of its own would be saved in the one most of the
    // folder's translations show, or else most of its originals: both are learned in the background
    // meanwhile.
    connect(&vida, &VidaPar::cargado, this, [this](const ParCargado& cargado) {
        const QString carpeta = Carpeta();
        if ((cargado.hayTraducido && cargado.formatoTraduccion.evidencia) || carpeta.isEmpty())
            return;
        traducidas_.Preparar(carpeta);
        originales_.Preparar(carpeta, Eleccion().original,
                             [carpeta] { return ListaArchivos::ArchivosDe(carpeta); });
    });
    connect(&vida, &VidaPar::guardado, this, [this](const ParCargado& guardado) {
        traducidas_.Anotar(Carpeta(), QFileInfo(guardado.rutaTraduccion).fileName(),
                           guardado.formatoTraduccion);
    });
}

QString CodificacionEditor::Carpeta() const
{
    return carpetas_.ruta();
}

EleccionCarpeta CodificacionEditor::Eleccion() const
{
    const QString carpeta = Carpeta();
    return carpeta.isEmpty() ? EleccionCarpeta{} : LeerEleccion(carpeta);
}

void CodificacionEditor::AnadirAlMenu(QMenu& menu)
{
    const EleccionCarpeta eleccion = Eleccion();
    std::optional<Codificacion> original;
    std::optional<Codificacion> traduccion;
    if (par_.completo) {
        if (par_.formatoOriginal.evidencia || eleccion.original == par_.formatoOriginal.codificacion)
            original = par_.formatoOriginal.codificacion;
        const QString texto = TextoCaja(caja_);
        traduccion =
            FormatoGuardado(par_, Carpeta(), traducidas_, originales_, QStringView(texto).split(u'\n'))
                .codificacion;
    }
    AnadirSubmenu(menu, QStringLiteral("Codificación del original"), TipoArchivo::Original, eleccion.original,
                  original);
    AnadirSubmenu(menu, QStringLiteral("Codificación de la traducción"), TipoArchivo::Traduccion,
                  eleccion.traduccion, traduccion);
}

void CodificacionEditor::AnadirSubmenu(QMenu& menu, const QString& titulo, TipoArchivo tipo,
                                       std::optional<Codificacion> elegida, std::optional<Codificacion> enUso)
{
    QMenu* opciones = menu.addMenu(titulo);
    opciones->setEnabled(!Carpeta().isEmpty());
    QAction* automatica = opciones->addAction(QStringLiteral("Automática"));
    automatica->setCheckable(true);
    automatica->setChecked(!elegida);
    connect(automatica, &QAction::triggered, this, [this, tipo] { ElegirProtegida(tipo, std::nullopt); });
    opciones->addSeparator();
    auto* grupo = new QActionGroup(opciones);
    grupo->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const Codificacion codificacion : Codificacion::Todas()) {
        QAction* accion = opciones->addAction(codificacion.nombreLegible());
        accion->setCheckable(true);
        accion->setChecked(enUso == codificacion);
        grupo->addAction(accion);
        connect(accion, &QAction::triggered, this,
                [this, tipo, codificacion] { ElegirProtegida(tipo, codificacion); });
    }
}

void CodificacionEditor::Elegir(TipoArchivo tipo, std::optional<Codificacion> codificacion)
{
    const QString carpeta = Carpeta();
    if (carpeta.isEmpty())
        return;
    EscribirEleccion(carpeta, tipo, codificacion, archivos_);
    // The profile store fails silently; a choice that did not reach the file would be lost at the next
    // load, so nothing is read in it.
    const EleccionCarpeta guardada = Eleccion();
    if ((tipo == TipoArchivo::Original ? guardada.original : guardada.traduccion) != codificacion) {
        mensajes_.Mostrar(QStringLiteral("No se ha podido guardar la codificación en el archivo de marcador "
                                         "(Velarto.vrk) de la carpeta."),
                          Botones::Aceptar, Icono::Exclamacion);
        return;
    }
    // A load under way reads its files in whatever choice it found; the next one reads in this one.
    if (!par_.completo)
        return;
    // A box with unsaved changes keeps them; the choice applies to the next save.
    if (tipo == TipoArchivo::Original || (par_.hayTraducido && SinCambios()))
        Q_EMIT releer(tipo);
}

bool CodificacionEditor::SinCambios() const
{
    const QString texto = TextoCaja(caja_);
    return HuellaTexto(QStringView(texto).split(u'\n')) == par_.traduccionLeida;
}

void CodificacionEditor::ElegirProtegida(TipoArchivo tipo, std::optional<Codificacion> codificacion)
{
    Proteger(mensajes_, [&] { Elegir(tipo, codificacion); });
}

QString CodificacionEditor::Ayuda(const QWidget* control) const
{
    if (!par_.completo)
        return QString();
    if (control == &captions_.lblLargoTotal || control == &captions_.lblLtlo) {
        const FormatoTexto& formato = par_.formatoOriginal;
        const bool elegida = Eleccion().original == formato.codificacion;
        return u"Original: " + NombreEnUso(formato, elegida) + u", " + NombreFinLinea(formato.finLinea);
    }
    if (control != &captions_.lblLtl && control != &captions_.lblLl)
        return QString();
    const QString texto = TextoCaja(caja_);
    const QList<QStringView> lineas = QStringView(texto).split(u'\n');
    const FormatoTexto formato = FormatoGuardado(par_, Carpeta(), traducidas_, originales_, lineas);
    QString ayuda = u"Traducción: " + formato.codificacion.nombreLegible() + u", " +
                    NombreFinLinea(formato.finLinea) + u"; ";
    if (const qsizetype linea = LineaNoCodificable(lineas, formato); linea >= 0)
        return ayuda + QStringLiteral("la línea %1 no cabe en ella").arg(linea + 1);
    if (control == &captions_.lblLtl)
        return ayuda + QString::number(BytesTexto(lineas, formato)) + u" bytes";
    const QString actual = caja_.textCursor().block().text();
    return ayuda + u"esta línea: " + QString::number(BytesLinea(actual, formato)) + u" bytes";
}
