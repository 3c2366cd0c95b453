// The growable window: its switch, its remembered size and place, and the controls following its size.
#include "ventana_ampliable.h"

#include <algorithm>

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QWidget>

#include "ajustes.h"
#include "ventana.h"

namespace {

const QString claveActiva = QStringLiteral("ventana/ampliable");
const QString claveGeometria = QStringLiteral("ventana/geometria");

int Parte(VentanaAmpliable::Borde borde, int crecimiento)
{
    switch (borde) {
    case VentanaAmpliable::Borde::Mitad:
        return crecimiento / 2;
    case VentanaAmpliable::Borde::Entero:
        return crecimiento;
    case VentanaAmpliable::Borde::Fijo:
        break;
    }
    return 0;
}

} // namespace

VentanaAmpliable::VentanaAmpliable(QWidget& ventana, std::vector<Ancla> anclas, const QString& archivoAjustes)
    : ventana_(ventana), archivoAjustes_(archivoAjustes), anclas_(std::move(anclas)),
      ampliable_(new QAction(QStringLiteral("Ventana ampliable"), this))
{
    ampliable_->setCheckable(true);
    ampliable_->setChecked(AbrirAjustes(archivoAjustes_)->value(claveActiva, false).toBool());
    connect(ampliable_, &QAction::toggled, this, &VentanaAmpliable::Activar);
    // The buttons of the window's frame are decided before the window first appears: changing them later
    // makes it appear again.
    BotonMaximizar(ventana_, activa());
    ventana_.installEventFilter(this);
}

VentanaAmpliable::~VentanaAmpliable()
{
    Recordar();
}

bool VentanaAmpliable::activa() const
{
    return ampliable_->isChecked();
}

void VentanaAmpliable::AnadirAlMenu(QMenu& menu)
{
    menu.addAction(ampliable_);
}

void VentanaAmpliable::Activar(bool activa)
{
    ampliable_->setChecked(activa);
    AbrirAjustes(archivoAjustes_)->setValue(claveActiva, activa);
    if (fijo_.isEmpty())
        return;
    if (!activa)
        Recordar();
    Ampliable(ventana_, activa, fijo_);
    if (activa)
        ventana_.restoreGeometry(AbrirAjustes(archivoAjustes_)->value(claveGeometria).toByteArray());
    Colocar();
}

// Once the window has its controls in place and before it first appears.
void VentanaAmpliable::Empezar()
{
    fijo_ = ventana_.size();
    lugares_.clear();
    for (const Ancla& ancla : anclas_)
        lugares_.push_back(ancla.control->geometry());
    Ampliable(ventana_, activa(), fijo_);
    if (activa())
        ventana_.restoreGeometry(AbrirAjustes(archivoAjustes_)->value(claveGeometria).toByteArray());
    Colocar();
}

void VentanaAmpliable::Colocar()
{
    if (fijo_.isEmpty())
        return;
    const int ancho = std::max(0, ventana_.width() - fijo_.width());
    const int alto = std::max(0, ventana_.height() - fijo_.height());
    for (size_t i = 0; i < anclas_.size(); ++i) {
        const Ancla& ancla = anclas_[i];
        QRect lugar = lugares_[i];
        lugar.setLeft(lugar.left() + Parte(ancla.izquierda, ancho));
        lugar.setRight(lugar.right() + Parte(ancla.derecha, ancho));
        lugar.setTop(lugar.top() + Parte(ancla.arriba, alto));
        lugar.setBottom(lugar.bottom() + Parte(ancla.abajo, alto));
        ancla.control->setGeometry(lugar);
    }
}

void VentanaAmpliable::Recordar()
{
    if (activa() && !fijo_.isEmpty())
        AbrirAjustes(archivoAjustes_)->setValue(claveGeometria, ventana_.saveGeometry());
}

bool VentanaAmpliable::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto != &ventana_)
        return false;
    switch (evento->type()) {
    case QEvent::Polish:
        if (fijo_.isEmpty())
            Empezar();
        break;
    case QEvent::Resize:
        Colocar();
        break;
    case QEvent::Close:
        Recordar();
        break;
    default:
        break;
    }
    return false;
}
