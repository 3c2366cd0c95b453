// The checks following a text box and a list.
#include "problemas_caja.h"

#include <QAbstractItemModel>
#include <QTextBlock>
#include <QTextDocument>

ProblemasCaja::ProblemasCaja(QPlainTextEdit* caja, QAbstractItemView* lista, QObject* padre)
    : QObject(padre), vigia_(caja, lista), guion_(*this)
{
    connect(&vigia_, &VigiaPar::traduccionCambiada, this,
            [this](int desde, int viejas, int nuevas) { guion_.cambioTraduccion(desde, viejas, nuevas); });
    connect(&vigia_, &VigiaPar::originalCambiado, this,
            [this](int desde, int viejas, int nuevas) { guion_.cambioOriginal(desde, viejas, nuevas); });
    const auto todo = [this] {
        guion_.releer();
    };
    connect(&vigia_, &VigiaPar::traduccionNueva, this, todo);
    connect(&vigia_, &VigiaPar::originalNuevo, this, todo);
    guion_.releer();
}

int ProblemasCaja::lineasOriginal() const
{
    return vigia_.lineasOriginal();
}

int ProblemasCaja::lineasTraduccion() const
{
    return vigia_.lineasTraduccion();
}

void ProblemasCaja::leerOriginal(int desde, int hasta, const Lector& leer) const
{
    for (int fila = std::max(desde, 0); fila < std::min(hasta, lineasOriginal()); ++fila)
        leer(fila, vigia_.textoOriginal(fila));
}

void ProblemasCaja::leerTraduccion(int desde, int hasta, const Lector& leer) const
{
    const QTextDocument* documento = vigia_.documento();
    if (!documento)
        return;
    int linea = std::max(desde, 0);
    for (QTextBlock bloque = documento->findBlockByNumber(linea); bloque.isValid() && linea < hasta;
         bloque = bloque.next(), ++linea)
        leer(linea, bloque.text());
}
