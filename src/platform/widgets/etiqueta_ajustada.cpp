// A label that shrinks its text's font to fit its width.
#include "etiqueta_ajustada.h"

#include <algorithm>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace {

// Below this the digits are no longer readable anyway; a text that does not fit even so is drawn at it.
constexpr qreal puntosMinimos = 2;

bool Cabe(const QFont& fuente, const QString& texto, qreal ancho)
{
    return QFontMetricsF(fuente).horizontalAdvance(texto) <= ancho;
}

} // namespace

EtiquetaAjustada::EtiquetaAjustada(QWidget* padre) : QLabel(padre) {}

QFont EtiquetaAjustada::fuenteVisible() const
{
    QFont fuente = font();
    const QString texto = text();
    const qreal ancho = contentsRect().width() - 2 * margin();
    if (texto.isEmpty() || Cabe(fuente, texto, ancho))
        return fuente;
    // Widths do not shrink exactly with the size (hinting, whole pixels): from the proportional size
    // down in small steps until the text fits.
    qreal puntos = fuente.pointSizeF() > 0 ? fuente.pointSizeF() : QFontInfo(fuente).pointSizeF();
    puntos *= ancho / QFontMetricsF(fuente).horizontalAdvance(texto);
    for (;; puntos -= 0.25) {
        fuente.setPointSizeF(std::max(puntos, puntosMinimos));
        if (puntos <= puntosMinimos || Cabe(fuente, texto, ancho))
            return fuente;
    }
}

bool EtiquetaAjustada::reducida() const
{
    return fuenteVisible() != font();
}

bool EtiquetaAjustada::event(QEvent* evento)
{
    if (evento->type() == QEvent::ToolTip && reducida()) {
        QToolTip::showText(static_cast<QHelpEvent*>(evento)->globalPos(),
                           AyudaConTextoCompleto(*this, toolTip()), this);
        return true;
    }
    return QLabel::event(evento);
}

void EtiquetaAjustada::paintEvent(QPaintEvent* evento)
{
    const QFont fuente = fuenteVisible();
    if (fuente == font())
        return QLabel::paintEvent(evento);
    QPainter pintor(this);
    drawFrame(&pintor);
    pintor.setFont(fuente);
    const QRect zona = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&pintor, zona, int(QStyle::visualAlignment(layoutDirection(), alignment())),
                          palette(), isEnabled(), text(), foregroundRole());
}

QString AyudaConTextoCompleto(const QWidget& control, const QString& ayuda)
{
    const auto* etiqueta = qobject_cast<const EtiquetaAjustada*>(&control);
    if (!etiqueta || !etiqueta->reducida())
        return ayuda;
    return ayuda.isEmpty() ? etiqueta->text() : etiqueta->text() + u'\n' + ayuda;
}
