#include <QTest>

#include "principal.h"

class PruebaInicio final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaInicio)
#include "tst_inicio.moc"
