#include <QTest>

#include "principal.h"

class PruebaEliminacion final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaEliminacion)
#include "tst_eliminacion.moc"
