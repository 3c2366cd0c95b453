#include <QTest>

#include "principal.h"

class PruebaMonitor final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaMonitor)
#include "tst_monitor.moc"
