// The always-on-top check box.
#include "frmEditor.h"

#include <QCheckBox>

#include "ventana.h"

void frmEditor::ck_Click()
{
    // Only the checked state keeps the window above; unchecked and grayed release it.
    SiempreEncima(*this, ck->checkState() == Qt::Checked);
}
