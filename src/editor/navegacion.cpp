// Moving the script browser between drives and folders.
#include "frmEditor.h"

void frmEditor::Drive1_Change()
{
}

void frmEditor::Dir1_Change()
{
}
