// Zoom of the translation box and the original list.
#include "zoom_editor.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QAction>
#include <QEvent>
#include <QWheelEvent>
#include <QWidget>

#include "ajustes.h"
#include "caja_texto.h"

namespace {

const QString clavePasos = QStringLiteral("zoom/pasos");
// The text stays readable and a line of the box still fits its width at either end.
constexpr qreal puntosMinimos = 6;
constexpr qreal puntosMaximos = 36;
// One notch of a mouse wheel.
constexpr int giroPorPaso = 120;

} // namespace

ZoomEditor::ZoomEditor(CajaTexto& caja, ListaSimple& lista, QWidget& ventana, const QString& archivoAjustes)
    : caja_(caja), lista_(lista), ventana_(ventana), archivoAjustes_(archivoAjustes),
      pasos_(AbrirAjustes(archivoAjustes)->value(clavePasos, 0).toInt())
{
    // Ctrl+= too: on keyboards where "+" takes Shift, it is the same key.
    NuevaAccion({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, 1);
    NuevaAccion({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, -1);
    NuevaAccion({QKeySequence(Qt::CTRL | Qt::Key_0)}, 0);
    ventana.installEventFilter(this);
    caja_.viewport()->installEventFilter(this);
    lista_.viewport()->installEventFilter(this);
}

void ZoomEditor::NuevaAccion(QList<QKeySequence> atajos, int cambio)
{
    auto* accion = new QAction(&ventana_);
    accion->setShortcuts(atajos);
    accion->setShortcutContext(Qt::WindowShortcut);
    ventana_.addAction(accion);
    connect(accion, &QAction::triggered, this, [this, cambio] { Cambiar(cambio == 0 ? -pasos_ : cambio); });
}

int ZoomEditor::Limitar(int pasos) const
{
    const qreal propio = base_.pointSizeF();
    return std::clamp(pasos, int(std::ceil(puntosMinimos - propio)), int(std::floor(puntosMaximos - propio)));
}

void ZoomEditor::Cambiar(int pasos)
{
    const int nuevos = Limitar(pasos_ + pasos);
    if (nuevos == pasos_)
        return;
    pasos_ = nuevos;
    AbrirAjustes(archivoAjustes_)->setValue(clavePasos, pasos_);
    Aplicar();
}

void ZoomEditor::Aplicar()
{
    QFont fuente = base_;
    fuente.setPointSizeF(base_.pointSizeF() + pasos_);
    caja_.setFont(fuente);
    lista_.setFont(fuente);
}

bool ZoomEditor::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == &ventana_) {
        if (evento->type() == QEvent::Polish && !std::exchange(pulida_, true)) {
            base_ = caja_.font();
            // A remembered size beyond the limits (another machine's font) is brought within them.
            pasos_ = Limitar(pasos_);
            Aplicar();
        }
        return false;
    }
    if (evento->type() != QEvent::Wheel)
        return false;
    auto* rueda = static_cast<QWheelEvent*>(evento);
    if (!(rueda->modifiers() & Qt::ControlModifier))
        return false;
    giro_ += rueda->angleDelta().y();
    if (const int pasos = giro_ / giroPorPaso; pasos != 0) {
        giro_ -= pasos * giroPorPaso;
        Cambiar(pasos);
    }
    return true;
}
