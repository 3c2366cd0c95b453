#include <QTest>

#include "principal.h"

class PruebaNumeros final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaNumeros)
#include "tst_numeros.moc"
