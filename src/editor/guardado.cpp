// Saving the translation into "Traducidos" and moving on to the next script.
#include "frmEditor.h"

void frmEditor::cmdGuardar_Click()
{
}

void frmEditor::txtTraducido_KeyUp(int codigo, int shift)
{
    Q_UNUSED(codigo);
    Q_UNUSED(shift);
}
