// The script checks, wired into the window.
#include "comprobaciones_editor.h"

#include <QAction>
#include <QEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolTip>

#include "ajustes.h"
#include "caja_texto.h"
#include "codigos_carpeta.h"
#include "dialogo_codigos.h"
#include "formato_guardado.h"
#include "lista_carpetas.h"
#include "marcas_editor.h"
#include "problemas_caja.h"
#include "proteger.h"
#include "ventana.h"
#include "ventana_comprobaciones.h"
#include "vida_par.h"

namespace {

const QString textoIgnorar = QStringLiteral("Ignorar este aviso en esta línea");

// A problem as a tooltip and the window say it.
QString TextoProblema(const Problema& problema)
{
    return problema.ignorado ? problema.texto + u" (ignorado)" : problema.texto;
}

} // namespace

ComprobacionesEditor::ComprobacionesEditor(ControlesComprobaciones controles, const ParCargado& par,
                                           TraduccionesCarpeta& traducidas, const VidaPar& vida,
                                           CajaMensajes& mensajes, const QString& carpetaDatos,
                                           const QString& archivoAjustes, bool comprobar)
    : c_(controles), par_(par), traducidas_(traducidas), mensajes_(mensajes), carpetaDatos_(carpetaDatos),
      archivoAjustes_(archivoAjustes),
      problemas_(comprobar ? std::make_unique<ProblemasCaja>(&c_.caja, &c_.lista) : nullptr),
      siguiente_(
          NuevaAccion(QStringLiteral("Ir a la siguiente línea con problemas"), QKeySequence(Qt::Key_F9))),
      anterior_(NuevaAccion(QStringLiteral("Ir a la anterior línea con problemas"),
                            QKeySequence(Qt::SHIFT | Qt::Key_F9))),
      resumen_(
          NuevaAccion(QStringLiteral("Comprobación de la traducción…"), QKeySequence(Qt::CTRL | Qt::Key_K)))
{
    if (!problemas_)
        return;
    ProblemasGuion& guion = problemas_->guion();
    // A load only notes its lines; they are checked while the window is idle, those on screen first.
    guion.ponerDiferido(true);
    guion.ponerComprobaciones(LeerComprobaciones(*AbrirAjustes(archivoAjustes_)));
    LeerPatron();

    c_.marcas.AgregarMarcas({.hayAlguno = [this] { return problemas_->guion().totalLineas() > 0; },
                             .color =
                                 [this](int linea, const QColor& base) {
                                     return problemas_->guion().tieneProblemas(linea) ? ColorFondoAviso(base)
                                                                                      : QColor();
                                 }},
                            [this](int alto) {
                                const ProblemasGuion& g = problemas_->guion();
                                return TrazosLineas(
                                    g.lineasTraduccion(), alto,
                                    [&g](int linea) { return g.enesima(g.orden(linea)); }, ColorTrazoAviso());
                            });
    connect(&guion, &ProblemasGuion::cambio, this,
            [this](int desde, int hasta) { c_.marcas.Repintar(desde, hasta); });
    c_.caja.viewport()->installEventFilter(this);

    connect(&vida, &VidaPar::saliendo, this, [this] {
        ProblemasGuion& guion = problemas_->guion();
        // A load yields to the event loop now and then; its lines wait for the loop's idle time after it.
        guion.pausar(true);
        // The next pair has warnings of its own. Putting a list checks every line again, so an empty one is
        // left alone.
        if (!guion.ignorados().vacio())
            guion.ponerIgnorados({});
    });
    connect(&vida, &VidaPar::traduccionLeida, this, &ComprobacionesEditor::Cargada);
    connect(&vida, &VidaPar::cargado, this, [this] { problemas_->guion().pausar(false); });
    connect(&vida, &VidaPar::guardado, this, [this] { PonerCodificacion(); });
    connect(&vida, &VidaPar::carpetaCambiada, this, [this] {
        LeerPatron();
        PonerCodificacion();
    });
    connect(siguiente_, &QAction::triggered, this, [this] { IrA(true); });
    connect(anterior_, &QAction::triggered, this, [this] { IrA(false); });
    connect(resumen_, &QAction::triggered, this, &ComprobacionesEditor::Mostrar);
}

ComprobacionesEditor::~ComprobacionesEditor()
{
    c_.caja.viewport()->removeEventFilter(this);
}

const ProblemasGuion* ComprobacionesEditor::guion() const
{
    return problemas_ ? &problemas_->guion() : nullptr;
}

QAction* ComprobacionesEditor::NuevaAccion(const QString& texto, const QKeySequence& atajo)
{
    auto* accion = new QAction(texto, &c_.caja);
    accion->setShortcut(atajo);
    accion->setShortcutContext(Qt::WidgetShortcut);
    c_.caja.addAction(accion);
    return accion;
}

// The translation is in the box, which may hold another document after a re-read.
void ComprobacionesEditor::Cargada(const ParCargado& par)
{
    problemas_->vigilar();
    problemas_->guion().ponerIgnorados(AvisosIgnorados::Leer(carpetaDatos_, par.rutaTraduccion));
    PonerCodificacion();
}

void ComprobacionesEditor::LeerPatron()
{
    const QString carpeta = c_.carpetas.ruta();
    problemas_->guion().ponerPatron(
        PatronCodigos(carpeta.isEmpty() ? QString() : LeerCodigosCarpeta(carpeta)));
}

// Only a code page a save cannot leave makes a character a problem: otherwise the save picks one that
// holds it.
void ComprobacionesEditor::PonerCodificacion()
{
    const bool cargado = !par_.rutaTraduccion.isEmpty();
    problemas_->guion().ponerCodificacion(cargado ? CodificacionFija(par_, c_.carpetas.ruta(), traducidas_)
                                                  : std::nullopt);
}

void ComprobacionesEditor::Completar()
{
    problemas_->vigilar();
    ProblemasGuion& guion = problemas_->guion();
    while (guion.comprobarPendientes())
        ;
}

// The lines on screen, reckoned from the scroll bar as in a box that never wraps.
void ComprobacionesEditor::VerLineas()
{
    problemas_->vigilar();
    const int primera = c_.caja.verticalScrollBar()->value();
    const int lineas = c_.caja.viewport()->height() / std::max(1, c_.caja.fontMetrics().lineSpacing());
    problemas_->guion().comprobarAhora(primera, primera + lineas + 2);
}

bool ComprobacionesEditor::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto != c_.caja.viewport())
        return false;
    // Before the backgrounds are painted, the lines on screen are checked if they still wait.
    if (evento->type() == QEvent::Paint)
        VerLineas();
    else if (evento->type() == QEvent::ToolTip) {
        const auto* ayuda = static_cast<QHelpEvent*>(evento);
        return MostrarAyuda(ayuda->pos(), ayuda->globalPos());
    }
    return false;
}

// Answers only over a line with problems: elsewhere the box's own tooltip, which the length monitor
// keeps, shows as before.
bool ComprobacionesEditor::MostrarAyuda(QPoint posicion, QPoint global)
{
    const QTextBlock bloque = c_.caja.cursorForPosition(posicion).block();
    const QRect lugar = c_.caja.cursorRect(QTextCursor(bloque));
    if (!bloque.isValid() || posicion.y() < lugar.top() || posicion.y() > lugar.bottom())
        return false;
    const QList<Problema> problemas = problemas_->guion().problemas(bloque.blockNumber());
    if (problemas.isEmpty())
        return false;
    QStringList textos;
    for (const Problema& problema : problemas)
        textos.append(TextoProblema(problema));
    QToolTip::showText(global, textos.join(u'\n'), c_.caja.viewport(),
                       QRect(0, lugar.top(), c_.caja.viewport()->width(), lugar.height()));
    return true;
}

void ComprobacionesEditor::AnadirAlMenu(QMenu& menu, QPoint posicion)
{
    if (!problemas_)
        return;
    AnadirElegibles(menu);
    AnadirIgnorar(menu, c_.caja.cursorForPosition(posicion).blockNumber());
    ProblemasGuion& guion = problemas_->guion();
    QAction* mostrar = menu.addAction(QStringLiteral("Mostrar avisos ignorados"));
    mostrar->setCheckable(true);
    mostrar->setChecked(guion.muestraIgnorados());
    connect(mostrar, &QAction::toggled, this,
            [this](bool mostrar) { problemas_->guion().mostrarIgnorados(mostrar); });
    QAction* codigos = menu.addAction(QStringLiteral("Códigos de control de la carpeta…"));
    codigos->setEnabled(!c_.carpetas.ruta().isEmpty());
    connect(codigos, &QAction::triggered, this, &ComprobacionesEditor::EditarCodigos);
    menu.addAction(siguiente_);
    menu.addAction(anterior_);
    menu.addAction(resumen_);
    // A code-page choice made in this menu applies to the next save, and so to the characters checked.
    connect(&menu, &QMenu::triggered, this, [this] { PonerCodificacion(); });
}

void ComprobacionesEditor::AnadirElegibles(QMenu& menu)
{
    QMenu* elegibles = menu.addMenu(QStringLiteral("Comprobaciones"));
    const Comprobaciones activas = problemas_->guion().comprobaciones();
    for (const Comprobacion comprobacion : ComprobacionesElegibles()) {
        QAction* accion = elegibles->addAction(NombreComprobacion(comprobacion));
        accion->setCheckable(true);
        accion->setChecked(activas.testFlag(comprobacion));
        connect(accion, &QAction::toggled, this,
                [this, comprobacion](bool activa) { Elegir(comprobacion, activa); });
    }
}

// One entry per problem of the line, checked while it is ignored (shown only while the ignored are).
void ComprobacionesEditor::AnadirIgnorar(QMenu& menu, int linea)
{
    const QList<Problema> problemas = problemas_->guion().problemas(linea);
    if (problemas.isEmpty())
        return;
    QMenu* ignorar = menu.addMenu(textoIgnorar);
    for (int indice = 0; indice < problemas.size(); ++indice) {
        QAction* accion = ignorar->addAction(problemas[indice].texto);
        accion->setCheckable(true);
        accion->setChecked(problemas[indice].ignorado);
        connect(accion, &QAction::toggled, this,
                [this, linea, indice](bool ignorado) { Ignorar(linea, indice, ignorado); });
    }
}

void ComprobacionesEditor::Elegir(Comprobacion comprobacion, bool activa)
{
    ProblemasGuion& guion = problemas_->guion();
    Comprobaciones comprobaciones = guion.comprobaciones();
    comprobaciones.setFlag(comprobacion, activa);
    guion.ponerComprobaciones(comprobaciones);
    EscribirComprobaciones(*AbrirAjustes(archivoAjustes_), comprobaciones);
}

// The line's problems are asked again: the menu was composed before any edit since.
void ComprobacionesEditor::Ignorar(int linea, int indice, bool ignorar)
{
    ProblemasGuion& guion = problemas_->guion();
    const QList<Problema> problemas = guion.problemas(linea);
    if (indice >= problemas.size())
        return;
    if (ignorar)
        guion.ignorar(linea, problemas[indice]);
    else
        guion.dejarDeIgnorar(linea, problemas[indice]);
    Proteger(mensajes_, [&] { guion.ignorados().guardar(); });
}

void ComprobacionesEditor::EditarCodigos()
{
    const QString carpeta = c_.carpetas.ruta();
    if (carpeta.isEmpty())
        return;
    const int linea = c_.caja.textCursor().blockNumber();
    const QString original = linea < c_.lista.count() ? c_.lista.texto(linea) : QString();
    auto* dialogo = new DialogoCodigos(LeerCodigosCarpeta(carpeta), original, &c_.ventana);
    dialogo->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialogo, &QDialog::accepted, this, [this, dialogo, carpeta] {
        EscribirCodigosCarpeta(carpeta, dialogo->expresion());
        if (c_.carpetas.ruta() == carpeta)
            LeerPatron();
    });
    dialogo->open();
}

void ComprobacionesEditor::IrA(bool adelante)
{
    Completar();
    const QTextCursor cursor = c_.caja.textCursor();
    const int linea = problemas_->guion().siguiente(cursor.blockNumber(), cursor.positionInBlock(), adelante);
    if (linea >= 0)
        IrAFinDeLinea(linea);
}

// The row of the missing lines leads to the translation's end.
void ComprobacionesEditor::IrAFinDeLinea(int linea)
{
    QTextBlock bloque = c_.caja.document()->findBlockByNumber(linea);
    if (!bloque.isValid())
        bloque = c_.caja.document()->lastBlock();
    QTextCursor cursor(bloque);
    cursor.movePosition(QTextCursor::EndOfBlock);
    c_.caja.setTextCursor(cursor);
}

void ComprobacionesEditor::Mostrar()
{
    Completar();
    if (!ventanaProblemas_) {
        ventanaProblemas_ =
            std::make_unique<VentanaComprobaciones>(problemas_->guion(), *problemas_, &c_.ventana);
        connect(ventanaProblemas_.get(), &VentanaComprobaciones::elegida, this, [this](int linea) {
            IrAFinDeLinea(linea);
            c_.ventana.activateWindow();
            c_.caja.setFocus();
        });
    }
    // Beside the editor, never over the text being typed.
    if (!ventanaProblemas_->isVisible())
        ColocarAlLado(*ventanaProblemas_, c_.ventana, c_.respaldo);
    ventanaProblemas_->show();
    ventanaProblemas_->raise();
    ventanaProblemas_->activateWindow();
    ventanaProblemas_->irAFila(c_.caja.textCursor().blockNumber());
}
