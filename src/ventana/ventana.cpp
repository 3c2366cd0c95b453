// Always-on-top switch.
#include "ventana.h"

#include <QWidget>

void SiempreEncima(QWidget& ventana, bool activar)
{
    Q_UNUSED(ventana);
    Q_UNUSED(activar);
}
