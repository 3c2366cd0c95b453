#include <QTest>

#include "principal.h"

class PruebaCarga final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaCarga)
#include "tst_carga.moc"
