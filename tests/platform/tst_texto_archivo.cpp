#include <QTest>

#include "principal.h"

class PruebaTexto_archivo final : public QObject
{
    Q_OBJECT
};

VELARTO_PRUEBA(PruebaTexto_archivo)
#include "tst_texto_archivo.moc"
