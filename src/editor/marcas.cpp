// Lines over their limit, wired into the window: backgrounds in the box and the original list, ticks on
// the box's scroll bar, F8 / Shift+F8 to the next or previous marked line, Ctrl+L for the overview
// window, the context menu's entries and the "Largo de línea:" caption's tooltip.
#include "frmEditor.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>

#include "caja_texto.h"
#include "marcas.h"
#include "pintura.h"
#include "resumen.h"

struct EstadoMarcas
{
    EstadoMarcas(CajaTexto* caja, ListaSimple* lista)
        : marcas(caja, lista), fondos(caja, marcas),
          barra(new MarcasBarra(caja->verticalScrollBar(), marcas)), lista(lista)
    {
    }
    Q_DISABLE_COPY_MOVE(EstadoMarcas)
    ~EstadoMarcas()
    {
        delete barra;
        if (lista)
            lista->setFondoFilas({});
    }

    MarcasLineas marcas;
    FondosCaja fondos;
    QPointer<MarcasBarra> barra;
    QPointer<ListaSimple> lista;
    QAction* siguiente = nullptr;
    QAction* anterior = nullptr;
    QAction* resumen = nullptr;
    // Goes first, while the marks its rows read are still there.
    std::unique_ptr<VentanaResumen> ventana;
};

void frmEditor::ConectarMarcas()
{
    marcas_ = {new EstadoMarcas(txtTraducido, lstOriginal), [](EstadoMarcas* estado) {
                   delete estado;
               }};
    EstadoMarcas& estado = *marcas_;
    const MarcasLineas& marcas = estado.marcas;
    lstOriginal->setFondoFilas([this, &marcas](int fila) {
        return marcas.marca(fila) == Marca::Larga
                   ? ColorFondo(Marca::Larga, lstOriginal->palette().color(QPalette::Base))
                   : QColor();
    });

    // A tooltip the monitor does not read: setting it never wakes the monitor's timer.
    const auto describir = [this] {
        const MarcasLineas& m = marcas_->marcas;
        const QString texto = TextoMarcas(m.largas(), m.sobrantes(), QStringLiteral("; "));
        if (lblLargoLinea->toolTip() != texto)
            lblLargoLinea->setToolTip(texto);
    };
    describir();
    connect(&estado.marcas, &MarcasLineas::cambio, this,
            [this, describir](int desde, int hasta, bool movidas) {
                if (!movidas)
                    return;
                marcas_->fondos.actualizar(desde, hasta);
                if (marcas_->barra)
                    marcas_->barra->update();
                lstOriginal->viewport()->update();
                describir();
            });

    const auto accion = [this](const QString& texto, const QKeySequence& atajo, auto manejador) {
        auto* a = new QAction(texto, txtTraducido);
        a->setShortcut(atajo);
        a->setShortcutContext(Qt::WidgetShortcut);
        txtTraducido->addAction(a);
        connect(a, &QAction::triggered, this, manejador);
        return a;
    };
    estado.siguiente = accion(QStringLiteral("Ir a la siguiente línea demasiado larga"),
                              QKeySequence(Qt::Key_F8), [this] { IrAMarca(true); });
    estado.anterior = accion(QStringLiteral("Ir a la anterior línea demasiado larga"),
                             QKeySequence(Qt::SHIFT | Qt::Key_F8), [this] { IrAMarca(false); });
    estado.resumen = accion(QStringLiteral("Líneas que superan el original…"),
                            QKeySequence(Qt::CTRL | Qt::Key_L), [this] { MostrarMarcas(); });
    connect(txtTraducido, &CajaTexto::menuContextual, this, [this](QMenu* menu) {
        menu->addSeparator();
        menu->addAction(marcas_->siguiente);
        menu->addAction(marcas_->anterior);
        menu->addAction(marcas_->resumen);
    });
}

const MarcasLineas& frmEditor::marcas() const
{
    return marcas_->marcas;
}

void frmEditor::IrAMarca(bool adelante)
{
    if (!marcas_)
        return;
    marcas_->marcas.vigilar();
    const int linea = marcas_->marcas.siguiente(txtTraducido->textCursor().blockNumber(), adelante);
    if (linea >= 0)
        IrAFinDeLinea(linea);
}

void frmEditor::IrAFinDeLinea(int linea)
{
    const QTextBlock bloque = txtTraducido->document()->findBlockByNumber(linea);
    if (!bloque.isValid())
        return;
    QTextCursor cursor(bloque);
    cursor.movePosition(QTextCursor::EndOfBlock);
    txtTraducido->setTextCursor(cursor);
}

void frmEditor::MostrarMarcas()
{
    if (!marcas_)
        return;
    marcas_->marcas.vigilar();
    std::unique_ptr<VentanaResumen>& ventana = marcas_->ventana;
    if (!ventana) {
        ventana = std::make_unique<VentanaResumen>(marcas_->marcas, this);
        connect(ventana.get(), &VentanaResumen::elegida, this, [this](int linea) {
            IrAFinDeLinea(linea);
            activateWindow();
            txtTraducido->setFocus();
        });
    }
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
    ventana->irAFila(txtTraducido->textCursor().blockNumber());
}
