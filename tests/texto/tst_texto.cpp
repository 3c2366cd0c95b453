#include <QTest>

#include "principal.h"

class PruebaTexto final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaTexto)
#include "tst_texto.moc"
