// Window placement over the toolkit's window hints and the screen's free area.
#include "ventana.h"

#include <algorithm>

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// Changing a window's flags recreates its native window, hidden; it comes back where it was, with the
// focus where it was.
void CambiarBanderas(QWidget& ventana, Qt::WindowFlags banderas)
{
    if (ventana.windowFlags() == banderas)
        return;
    const bool visible = ventana.isVisible();
    const bool activa = ventana.isActiveWindow();
    const QPoint lugar = ventana.pos();
    const QSize tamano = ventana.size();
    const QPointer<QWidget> foco = ventana.focusWidget();
    ventana.setWindowFlags(banderas);
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

// `zona` moved the least to lie inside `libre`, as far as it fits.
QRect Dentro(QRect zona, QRect libre)
{
    zona.moveLeft(std::max(libre.left(), std::min(zona.left(), libre.right() - zona.width() + 1)));
    zona.moveTop(std::max(libre.top(), std::min(zona.top(), libre.bottom() - zona.height() + 1)));
    return zona;
}

} // namespace

void SiempreEncima(QWidget& ventana, bool activar)
{
    Qt::WindowFlags banderas = ventana.windowFlags();
    banderas.setFlag(Qt::WindowStaysOnTopHint, activar);
    CambiarBanderas(ventana, banderas);
}

void BotonMaximizar(QWidget& ventana, bool mostrar)
{
    // The buttons are then the ones listed, the frame's others kept.
    Qt::WindowFlags banderas = ventana.windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint;
    banderas.setFlag(Qt::WindowMaximizeButtonHint, mostrar);
    CambiarBanderas(ventana, banderas);
}

void Ampliable(QWidget& ventana, bool ampliable, QSize minimo)
{
    if (!ampliable && ventana.isMaximized())
        ventana.showNormal();
    ventana.setMinimumSize(minimo);
    ventana.setMaximumSize(ampliable ? QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : minimo);
    BotonMaximizar(ventana, ampliable);
}

QRect LugarAlLado(QRect libre, QRect editor, QSize pequena, int anchoMinimo, QRect respaldo)
{
    const int derecha = libre.right() - editor.right();
    const int izquierda = editor.left() - libre.left();
    const int ancho = std::min(pequena.width(), std::max(derecha, izquierda));
    if (ancho >= anchoMinimo) {
        QRect lugar(QPoint(0, editor.top()), QSize(ancho, pequena.height()));
        if (derecha >= ancho)
            lugar.moveLeft(editor.right() + 1);
        else
            lugar.moveRight(editor.left() - 1);
        return Dentro(lugar, libre);
    }
    QRect lugar(QPoint(), pequena.boundedTo(respaldo.size()));
    lugar.moveTopRight(respaldo.topRight());
    return Dentro(lugar, libre);
}

void ColocarAlLado(QWidget& pequena, const QWidget& editor, const QWidget& respaldo)
{
    const QScreen* pantalla = editor.screen();
    if (!pantalla)
        return;
    // Before it is shown a window knows nothing of its frame: it will have the editor's.
    const QSize marco = editor.frameGeometry().size() - editor.size();
    const int anchoMinimo = std::max(pequena.minimumSizeHint().width(), pequena.width() / 3) + marco.width();
    const QRect lugar =
        LugarAlLado(pantalla->availableGeometry(), editor.frameGeometry(), pequena.size() + marco,
                    anchoMinimo, QRect(respaldo.mapToGlobal(QPoint()), respaldo.size()));
    pequena.resize(lugar.size() - marco);
    pequena.move(lugar.topLeft());
}
