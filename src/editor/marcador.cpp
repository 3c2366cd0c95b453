// The per-folder bookmark of a position in the file list.
#include "frmEditor.h"

void frmEditor::cmdInsMarcador_Click()
{
}

void frmEditor::cmdLeerMarcador_Click()
{
}
