#include "seleccion.h"

#include <QAbstractItemView>

#include "errores.h"

int FilaSeleccionada(const QAbstractItemView& lista)
{
    const QModelIndex actual = lista.currentIndex();
    return actual.isValid() && lista.selectionModel()->isSelected(actual) ? actual.row() : -1;
}

void SeleccionarFila(QAbstractItemView& lista, int fila)
{
    if (fila < -1 || fila >= lista.model()->rowCount())
        throw ErrorEjecucion(Errores::ValorPropiedadNoValido);
    lista.selectionModel()->setCurrentIndex(lista.model()->index(fila, 0),
                                            QItemSelectionModel::ClearAndSelect);
    if (fila < 0)
        lista.clearSelection();
}
