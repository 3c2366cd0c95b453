#include "seleccion.h"

#include <QListWidget>

#include "errores.h"

int FilaSeleccionada(const QListWidget& lista)
{
    const QListWidgetItem* actual = lista.currentItem();
    return actual && actual->isSelected() ? lista.currentRow() : -1;
}

void SeleccionarFila(QListWidget& lista, int fila)
{
    if (fila < -1 || fila >= lista.count())
        throw ErrorEjecucion(Errores::ValorPropiedadNoValido);
    lista.setCurrentRow(fila);
    if (fila < 0)
        lista.clearSelection();
}
