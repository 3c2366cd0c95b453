#include <QTest>

#include "principal.h"

class PruebaNavegacion final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaNavegacion)
#include "tst_navegacion.moc"
