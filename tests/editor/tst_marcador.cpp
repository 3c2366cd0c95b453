#include <QTest>

#include "principal.h"

class PruebaMarcador final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaMarcador)
#include "tst_marcador.moc"
