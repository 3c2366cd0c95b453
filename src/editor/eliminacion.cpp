// Deleting a script and its translation.
#include "frmEditor.h"

void frmEditor::cmdEliminar_Click()
{
}

void frmEditor::File1_KeyUp(int codigo, int shift)
{
    Q_UNUSED(codigo);
    Q_UNUSED(shift);
}
