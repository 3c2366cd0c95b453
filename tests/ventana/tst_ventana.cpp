#include <QTest>

#include "principal.h"

class PruebaVentana final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaVentana)
#include "tst_ventana.moc"
