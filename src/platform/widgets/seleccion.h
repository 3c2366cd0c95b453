// The selected row of the single-selection lists the window uses.
#pragma once

class QAbstractItemView;

// The selected row, -1 when none: a row that is only current is not selected.
int FilaSeleccionada(const QAbstractItemView& lista);
// Selects a row, or clears the selection with -1; error 380 outside -1 ... count - 1, with nothing changed.
void SeleccionarFila(QAbstractItemView& lista, int fila);
