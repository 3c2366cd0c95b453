// Picture button: image on top, caption wrapped below it.
#include "boton_imagen.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int ladoImagen = 32;
constexpr int margen = 3;
} // namespace

BotonImagen::BotonImagen(const QString& texto, const QIcon& imagen, QWidget* padre)
    : QPushButton(texto, padre)
{
    setIcon(imagen);
    setIconSize(QSize(ladoImagen, ladoImagen));
}

void BotonImagen::paintEvent(QPaintEvent*)
{
    QStylePainter pintor(this);
    QStyleOptionButton opcion;
    initStyleOption(&opcion);
    // The bevel alone; image and caption are laid out here, one above the other.
    opcion.text.clear();
    opcion.icon = QIcon();
    pintor.drawControl(QStyle::CE_PushButton, opcion);

    const bool activo = isEnabled();
    const QRect zonaImagen((width() - ladoImagen) / 2, margen + 1, ladoImagen, ladoImagen);
    icon().paint(&pintor, zonaImagen, Qt::AlignCenter, activo ? QIcon::Normal : QIcon::Disabled);

    const QRect zonaTexto(margen, zonaImagen.bottom() + 2, width() - 2 * margen,
                          height() - zonaImagen.bottom() - 2 - margen);
    pintor.setPen(palette().color(activo ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    pintor.drawText(zonaTexto, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic,
                    text());
    if (hasFocus()) {
        QStyleOptionFocusRect foco;
        foco.initFrom(this);
        foco.rect = rect().adjusted(margen, margen, -margen, -margen);
        pintor.drawPrimitive(QStyle::PE_FrameFocusRect, foco);
    }
}
