// The always-on-top check box.
#include "frmEditor.h"

void frmEditor::ck_Click()
{
}
