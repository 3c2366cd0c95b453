#include <QTest>

#include "principal.h"

class PruebaListas final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaListas)
#include "tst_listas.moc"
