// Always-on-top switch over the toolkit's stay-on-top window hint.
#include "ventana.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

void SiempreEncima(QWidget& ventana, bool activar)
{
    if (ventana.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == activar)
        return;
    const bool visible = ventana.isVisible();
    const bool activa = ventana.isActiveWindow();
    const QPoint lugar = ventana.pos();
    const QSize tamano = ventana.size();
    const QPointer<QWidget> foco = ventana.focusWidget();
    // Changing a window's flags recreates its native window, hidden; it comes back where it was.
    ventana.setWindowFlag(Qt::WindowStaysOnTopHint, activar);
    if (!visible)
        return;
    ventana.resize(tamano);
    ventana.move(lugar);
    ventana.show();
    if (activa) {
        ventana.activateWindow();
        // Where the platform kept the window focused through the round trip it reports no change, and
        // the widgets would stay without an active window.
        if (QGuiApplication::focusWindow() == ventana.windowHandle() &&
            QApplication::activeWindow() != &ventana)
            QApplication::setActiveWindow(&ventana);
    }
    if (foco)
        foco->setFocus(Qt::OtherFocusReason);
}
