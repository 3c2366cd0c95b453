#include <QTest>

#include "principal.h"

class PruebaGuardado final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaGuardado)
#include "tst_guardado.moc"
