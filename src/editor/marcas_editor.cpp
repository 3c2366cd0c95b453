// Lines over their limit, wired into the window.
#include "marcas_editor.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>

#include "caja_texto.h"
#include "resumen.h"
#include "ventana.h"

MarcasEditor::MarcasEditor(CajaTexto& caja, ListaSimple& lista, QLabel& lblLargoLinea, QWidget& ventana,
                           const QWidget& respaldo)
    : caja_(caja), lista_(lista), lblLargoLinea_(lblLargoLinea), ventana_(ventana), respaldo_(respaldo),
      marcas_(&caja, &lista), fondos_(&caja, marcas_),
      barra_(new MarcasBarra(caja.verticalScrollBar(), marcas_)),
      siguiente_(
          NuevaAccion(QStringLiteral("Ir a la siguiente línea demasiado larga"), QKeySequence(Qt::Key_F8))),
      anterior_(NuevaAccion(QStringLiteral("Ir a la anterior línea demasiado larga"),
                            QKeySequence(Qt::SHIFT | Qt::Key_F8))),
      resumen_(
          NuevaAccion(QStringLiteral("Líneas que superan el original…"), QKeySequence(Qt::CTRL | Qt::Key_L)))
{
    lista_.setFondoFilas([this](int fila) {
        return marcas_.marca(fila) == Marca::Larga
                   ? ColorFondo(Marca::Larga, lista_.palette().color(QPalette::Base))
                   : QColor();
    });
    Describir();
    connect(&marcas_, &MarcasLineas::cambio, this, [this](int desde, int hasta, bool movidas) {
        if (!movidas)
            return;
        fondos_.actualizar(desde, hasta);
        barra_->update();
        lista_.viewport()->update();
        Describir();
    });
    connect(siguiente_, &QAction::triggered, this, [this] { IrA(true); });
    connect(anterior_, &QAction::triggered, this, [this] { IrA(false); });
    connect(resumen_, &QAction::triggered, this, &MarcasEditor::Mostrar);
}

MarcasEditor::~MarcasEditor()
{
    // The list outlives this object and must not ask the marks for its rows' colours any more.
    lista_.setFondoFilas({});
}

QAction* MarcasEditor::NuevaAccion(const QString& texto, const QKeySequence& atajo)
{
    auto* accion = new QAction(texto, &caja_);
    accion->setShortcut(atajo);
    accion->setShortcutContext(Qt::WidgetShortcut);
    caja_.addAction(accion);
    return accion;
}

void MarcasEditor::AgregarMarcas(CapaFondos capa, CarrilBarra carril)
{
    fondos_.agregarCapa(std::move(capa));
    barra_->agregarCarril(std::move(carril));
}

void MarcasEditor::Repintar(int desde, int hasta)
{
    fondos_.actualizar(desde, hasta);
    barra_->update();
}

void MarcasEditor::AnadirAlMenu(QMenu& menu)
{
    menu.addAction(siguiente_);
    menu.addAction(anterior_);
    menu.addAction(resumen_);
}

// A tooltip the monitor does not read: setting it never wakes the monitor's timer.
void MarcasEditor::Describir()
{
    const QString texto = TextoMarcas(marcas_.largas(), marcas_.sobrantes(), QStringLiteral("; "));
    if (lblLargoLinea_.toolTip() != texto)
        lblLargoLinea_.setToolTip(texto);
}

void MarcasEditor::IrA(bool adelante)
{
    marcas_.vigilar();
    // From the caret's place: forward, the caret's own line counts while the caret stands before its end,
    // so that a marked first line is visited right after Ctrl+Home. Backward, its end is never before the
    // caret.
    const QTextCursor cursor = caja_.textCursor();
    const int linea = cursor.blockNumber();
    const int desde = adelante && !cursor.atBlockEnd() ? linea - 1 : linea;
    const int encontrada = marcas_.siguiente(desde, adelante);
    if (encontrada >= 0)
        IrAFinDeLinea(encontrada);
}

void MarcasEditor::IrAFinDeLinea(int linea)
{
    const QTextBlock bloque = caja_.document()->findBlockByNumber(linea);
    if (!bloque.isValid())
        return;
    QTextCursor cursor(bloque);
    cursor.movePosition(QTextCursor::EndOfBlock);
    caja_.setTextCursor(cursor);
}

void MarcasEditor::Mostrar()
{
    marcas_.vigilar();
    if (!resumenVentana_) {
        resumenVentana_ = std::make_unique<VentanaResumen>(marcas_, &ventana_);
        connect(resumenVentana_.get(), &VentanaResumen::elegida, this, [this](int linea) {
            IrAFinDeLinea(linea);
            ventana_.activateWindow();
            caja_.setFocus();
        });
    }
    // Beside the editor, never over the text being typed.
    if (!resumenVentana_->isVisible())
        ColocarAlLado(*resumenVentana_, ventana_, respaldo_);
    resumenVentana_->show();
    resumenVentana_->raise();
    resumenVentana_->activateWindow();
    resumenVentana_->irAFila(caja_.textCursor().blockNumber());
}
