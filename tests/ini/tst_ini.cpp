#include <QTest>

#include "principal.h"

class PruebaIni final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaIni)
#include "tst_ini.moc"
